#include "translate/translate.h"

#include <cstring>
#include <limits>

#include "translate/fields.h"
#include "translate/pass.h"

namespace quillaret {
namespace {

int translate_field(Translation& t, const TranslatedField& field, int32_t index) {
  const Lexicons& lex = t.lexicons;
  switch (field.lookup) {
    case Lookup::name: return translate_whole_string(t, index, lex.names, true);
    case Lookup::faction: return translate_whole_string(t, index, lex.factions, true);
    case Lookup::topic: {
      const int result = translate_whole_string(t, index, lex.topics, false);
      if (result != 0) return result;
      return translate_whole_string(t, index, lex.names, true);
    }
    case Lookup::response: return translate_response_text(t, index);
    case Lookup::script: return rewrite_script_text(t, index);
    case Lookup::condition: return translate_condition_name(t, index);
  }
  return 0;
}

// The field that translates a subrecord of `tag` in `record`, given whether
// an earlier one of the record was translated; null when none does.
const TranslatedField* field_for(Tag record, Tag tag, bool translated_before) {
  const TranslatedField* field = translated_field(record, tag);
  return field != nullptr && !(field->first_only && translated_before) ? field : nullptr;
}

class TranslatedEntries final : public NodeFilter {
 public:
  bool keeps_top_level(Tag tag) const override { return !translated_fields(tag).empty(); }
  // Only translated fields are kept, so the ones kept before are those
  // translated before.
  bool keeps_child(Tag record, Tag tag, int32_t kept_before) const override {
    return field_for(record, tag, kept_before > 0) != nullptr;
  }
  ChildTags child_tags(Tag record) const override {
    ChildTags kinds;
    size_t i = 0;
    for (const TranslatedField& field : translated_fields(record)) kinds.tags[i++] = field.subrecord;
    return kinds;
  }
};

}  // namespace

const NodeFilter& translated_entries() {
  static const TranslatedEntries filter;
  return filter;
}

std::string_view payload_text(const Translation& t, const RecordNode& node) {
  const size_t length = node.size - (node.has_prefix ? 5u : 0u);
  const std::string_view payload = t.input.substr(static_cast<size_t>(node.data_offset), length);
  return payload.substr(0, payload.find('\0'));
}

bool refuse_large_payload(Translation& t, const RecordNode& node) {
  if (node.size < kMaxPayloadSize) return false;
  const Tag record = t.tree.nodes[static_cast<size_t>(node.parent)].tag;
  if (node.tag == make_tag("SCTX")) {
    *t.messages += "Bad SCPT SCTX record size! " + std::to_string(node.size) + "\n";
  } else if (record == make_tag("INFO") && (node.tag == make_tag("NAME") || node.tag == make_tag("BNAM"))) {
    *t.messages += "Bad INFO NAME/BNAM record size! " + std::to_string(node.size) + "\n";
  } else {
    *t.messages += "Bad record size!\n";
  }
  return true;
}

std::optional<Rewrite> start_rewrite(Translation& t, const RecordNode& node) {
  if (refuse_large_payload(t, node)) return std::nullopt;
  t.build.clear();
  return Rewrite{payload_text(t, node), t.build};
}

int replace_payload(Translation& t, int32_t index, const char* new_text, uint64_t new_size) {
  RecordNode& node = t.tree.nodes[static_cast<size_t>(index)];
  RecordNode& parent = t.tree.nodes[static_cast<size_t>(node.parent)];
  const uint64_t parent_size = uint64_t{parent.size} - node.size + new_size;
  // A record that claims fewer bytes than its subrecords hold keeps its
  // shortfall, but not below 8 bytes: a smaller record has no subrecords and
  // owns the bytes after its header, so the output would not read back.
  // (Below zero the sum wraps and is caught by the first test.)
  constexpr uint64_t kMax = std::numeric_limits<uint32_t>::max();
  if (new_size > kMax || parent_size > kMax || parent_size < 8) {
    *t.messages += "Bad record size!\n";
    return -1;
  }
  parent.size = static_cast<uint32_t>(parent_size);
  node.size = static_cast<uint32_t>(new_size);
  node.replaced = true;
  node.text = new_text;
  return 0;
}

int translate_whole_string(Translation& t, int32_t index, const Lexicon& lexicon,
                           bool log_untranslated) {
  const RecordNode& node = t.tree.nodes[static_cast<size_t>(index)];
  if (refuse_large_payload(t, node)) return -1;
  if (node.size <= 1) return 1;  // an empty name: nothing to translate or log
  const std::string_view name = payload_text(t, node);
  if (const LexiconEntry* entry = lexicon.find_exact(name)) {
    // The target's NUL, which follows it in the lexicon, is written too.
    return replace_payload(t, index, entry->target.data(), entry->target.size() + 1) == 0 ? 1 : -1;
  }
  if (log_untranslated && t.log != nullptr) {
    *t.log += "  ";
    *t.log += name;
    *t.log += '\n';
  }
  return 0;
}

int translate_records(Translation& t) {
  std::vector<RecordNode>& nodes = t.tree.nodes;
  for (int32_t record = nodes.empty() ? -1 : 0; record >= 0;
       record = nodes[static_cast<size_t>(record)].next) {
    const Tag kind = nodes[static_cast<size_t>(record)].tag;
    if (translated_fields(kind).empty()) continue;
    if (t.log != nullptr) {
      *t.log += tag_text(kind);
      *t.log += '\n';
    }
    bool translated_before = false;
    for (int32_t child = nodes[static_cast<size_t>(record)].first_child; child >= 0;
         child = nodes[static_cast<size_t>(child)].next) {
      const TranslatedField* field =
          field_for(kind, nodes[static_cast<size_t>(child)].tag, translated_before);
      if (field == nullptr) continue;
      translated_before = true;
      if (translate_field(t, *field, child) < 0) return -1;
    }
  }
  return 0;
}

}  // namespace quillaret
