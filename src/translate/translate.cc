#include "translate/translate.h"

#include <cstring>
#include <limits>

#include "platform/console.h"

namespace quillaret {
namespace {

constexpr Tag kNAME = make_tag("NAME");
constexpr Tag kFNAM = make_tag("FNAM");
constexpr Tag kDNAM = make_tag("DNAM");

// The treatment that a record kind gives its subrecords.
enum class Handler { none, name, npc, path_grid, cell, faction, topic, info, script };

Handler handler_for(Tag tag) {
  switch (tag) {
    case make_tag("ARMO"): case make_tag("BSGN"): case make_tag("CLAS"):
    case make_tag("CLOT"): case make_tag("CONT"): case make_tag("CREA"):
    case make_tag("DOOR"): case make_tag("INGR"): case make_tag("LIGH"):
    case make_tag("MISC"): case make_tag("RACE"): case make_tag("REGN"):
    case make_tag("SPEL"): case make_tag("WEAP"):
      return Handler::name;
    case make_tag("NPC_"): return Handler::npc;
    case make_tag("PGRD"): return Handler::path_grid;
    case make_tag("CELL"): return Handler::cell;
    case make_tag("FACT"): return Handler::faction;
    case make_tag("DIAL"): return Handler::topic;
    case make_tag("INFO"): return Handler::info;
    case make_tag("SCPT"): return Handler::script;
    default: return Handler::none;
  }
}

constexpr Tag kANAM = make_tag("ANAM");
constexpr Tag kBNAM = make_tag("BNAM");
constexpr Tag kRNAM = make_tag("RNAM");
constexpr Tag kSCTX = make_tag("SCTX");
constexpr Tag kSCVR = make_tag("SCVR");

// Whether `handler` translates a subrecord of this kind. Only a cell's
// first NAME names it, and a DNAM before it means it has none:
// `first_name_pending` tells whether neither came yet.
bool handles(Handler handler, Tag tag, bool first_name_pending) {
  switch (handler) {
    case Handler::name: return tag == kFNAM;
    case Handler::npc: return tag == kFNAM || tag == kDNAM;
    case Handler::path_grid: return tag == kNAME;
    case Handler::cell: return tag == kDNAM || (tag == kNAME && first_name_pending);
    case Handler::faction: return tag == kFNAM || tag == kRNAM;
    case Handler::topic: return tag == kNAME;
    case Handler::info: return tag == kANAM || tag == kNAME || tag == kBNAM || tag == kSCVR;
    case Handler::script: return tag == kSCTX;
    case Handler::none: return false;
  }
  return false;
}

// Applies `handler` to one subrecord.
int translate_subrecord(Translation& t, Handler handler, int32_t index,
                        bool& first_name_pending) {
  const Lexicons& lex = t.lexicons;
  const Tag tag = t.tree.nodes[static_cast<size_t>(index)].tag;
  if (!handles(handler, tag, first_name_pending)) return 0;
  switch (handler) {
    case Handler::cell:
      first_name_pending = false;
      return translate_whole_string(t, index, lex.names, true);
    case Handler::name:
    case Handler::npc:
    case Handler::path_grid:
      return translate_whole_string(t, index, lex.names, true);
    case Handler::faction:
      return translate_whole_string(t, index, lex.factions, true);
    case Handler::topic: {
      const int result = translate_whole_string(t, index, lex.topics, false);
      if (result != 0) return result;
      return translate_whole_string(t, index, lex.names, true);
    }
    case Handler::info:
      switch (tag) {
        case kANAM: return translate_whole_string(t, index, lex.names, true);
        case kNAME: return translate_response_text(t, index);
        case kBNAM: return rewrite_script_text(t, index);
        default: return translate_condition_name(t, index);
      }
    case Handler::script:
      return rewrite_script_text(t, index);
    case Handler::none:
      return 0;
  }
  return 0;
}

// The records with a handler, and in them the subrecords it translates. In
// a cell only NAME and DNAM are kept, so that a NAME is its first while
// none was kept before it.
class TranslatedEntries final : public NodeFilter {
 public:
  bool keeps_top_level(Tag tag) const override { return handler_for(tag) != Handler::none; }
  bool keeps_child(Tag record, Tag tag, int32_t kept_before) const override {
    return handles(handler_for(record), tag, kept_before == 0);
  }
  ChildTags child_tags(Tag record) const override {
    switch (handler_for(record)) {
      case Handler::name: return {{kFNAM}};
      case Handler::npc: return {{kFNAM, kDNAM}};
      case Handler::path_grid: return {{kNAME}};
      case Handler::cell: return {{kDNAM, kNAME}};
      case Handler::faction: return {{kFNAM, kRNAM}};
      case Handler::topic: return {{kNAME}};
      case Handler::info: return {{kANAM, kNAME, kBNAM, kSCVR}};
      case Handler::script: return {{kSCTX}};
      case Handler::none: return {};
    }
    return {};
  }
};

}  // namespace

const NodeFilter& translated_entries() {
  static const TranslatedEntries filter;
  return filter;
}

std::string_view payload_text(const Translation& t, const RecordNode& node) {
  const size_t length = node.size - (node.has_prefix ? 5u : 0u);
  std::string_view payload = t.input.substr(static_cast<size_t>(node.data_offset), length);
  const void* nul = std::memchr(payload.data(), '\0', payload.size());
  if (nul != nullptr) payload = payload.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - payload.data()));
  return payload;
}

std::optional<Rewrite> start_rewrite(Translation& t, const RecordNode& node) {
  if (node.size >= kMaxPayloadSize) {
    const char* what = node.tag == make_tag("SCTX") ? "Bad SCPT SCTX record size! "
                                                    : "Bad INFO NAME/BNAM record size! ";
    t.console.print(what + std::to_string(node.size) + "\n");
    return std::nullopt;
  }
  t.build.clear();
  return Rewrite{payload_text(t, node), t.build};
}

int replace_payload(Translation& t, int32_t index, const char* new_text, uint32_t new_size) {
  RecordNode& node = t.tree.nodes[static_cast<size_t>(index)];
  RecordNode& parent = t.tree.nodes[static_cast<size_t>(node.parent)];
  const uint64_t parent_size = uint64_t{parent.size} - node.size + new_size;
  // A record that claims fewer bytes than its subrecords hold keeps its
  // shortfall, but not below 8 bytes: a smaller record has no subrecords and
  // owns the bytes after its header, so the output would not read back.
  // (Below zero the sum wraps and is caught by the first test.)
  if (parent_size > std::numeric_limits<uint32_t>::max() || parent_size < 8) {
    t.console.print("Bad record size!\n");
    return -1;
  }
  parent.size = static_cast<uint32_t>(parent_size);
  node.size = new_size;
  node.replaced = true;
  node.text = new_text;
  return 0;
}

int translate_whole_string(Translation& t, int32_t index, const Lexicon& lexicon,
                           bool log_untranslated) {
  const RecordNode& node = t.tree.nodes[static_cast<size_t>(index)];
  if (node.size >= kMaxPayloadSize) {
    t.console.print("Bad record size!\n");
    return -1;
  }
  if (node.size <= 1) return 1;  // an empty name: nothing to translate or log
  const std::string_view name = payload_text(t, node);
  if (const LexiconEntry* entry = lexicon.find_exact(name)) {
    // The target's NUL, which follows it in the lexicon, is written too.
    const auto size = static_cast<uint32_t>(entry->target.size() + 1);
    return replace_payload(t, index, entry->target.data(), size) == 0 ? 1 : -1;
  }
  if (log_untranslated && t.trace_log != nullptr) {
    *t.trace_log += "  ";
    *t.trace_log += name;
    *t.trace_log += '\n';
  }
  return 0;
}

int translate_range(Translation& t, int32_t first, int32_t end) {
  std::vector<RecordNode>& nodes = t.tree.nodes;
  for (int32_t record = first; record >= 0 && record != end;
       record = nodes[static_cast<size_t>(record)].next) {
    const RecordNode& node = nodes[static_cast<size_t>(record)];
    const Handler handler = handler_for(node.tag);
    if (handler == Handler::none) continue;
    if (t.trace_log != nullptr) {
      *t.trace_log += tag_text(node.tag);
      *t.trace_log += '\n';
    }
    bool first_name_pending = true;
    for (int32_t child = node.first_child; child >= 0;
         child = nodes[static_cast<size_t>(child)].next) {
      if (translate_subrecord(t, handler, child, first_name_pending) < 0) return -1;
    }
  }
  return 0;
}

int translate_records(Translation& t) {
  if (translate_range(t, t.tree.nodes.empty() ? -1 : 0, -1) != 0) return -1;
  t.console.print("done!\n");
  return 0;
}

}  // namespace quillaret
