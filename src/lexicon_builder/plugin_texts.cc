#include "lexicon_builder/plugin_texts.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "plugin/little_endian.h"
#include "plugin/names.h"
#include "translate/fields.h"

namespace quillaret::lexicon_builder {
namespace {

constexpr Tag kDATA = make_tag("DATA");
constexpr Tag kDNAM = make_tag("DNAM");
constexpr Tag kFNAM = make_tag("FNAM");
constexpr Tag kNAME = make_tag("NAME");
constexpr Tag kSCVR = make_tag("SCVR");

// Kinds whose names the translator copies unchanged: responses and scripts
// mention them, so their pairs still serve.
constexpr Tag kCopiedNamedKinds[] = {make_tag("ACTI"), make_tag("ALCH"), make_tag("APPA"), make_tag("BOOK"),
                                     make_tag("LOCK"), make_tag("PROB"), make_tag("REPA")};


// The lexicon in which the translator looks up this field whole, or -1.
// Topic names pair through their responses, not here.
int exact_lexicon(Tag record, Tag subrecord, const TranslatedField* field) {
  if (field != nullptr) {
    switch (field->lookup) {
      case Lookup::name:
      case Lookup::condition:
        return kNames;
      case Lookup::faction:
        return kFactions;
      default:
        return -1;
    }
  }
  const bool copied = std::find(std::begin(kCopiedNamedKinds), std::end(kCopiedNamedKinds), record) !=
                      std::end(kCopiedNamedKinds);
  return copied && subrecord == kFNAM ? kNames : -1;
}

// The texts of one record, with the translator's rule for a cell's name:
// its first NAME, unless a translated field came before it.
void add_fields(const Record& r, TextRecord* t, PluginTexts* out) {
  bool translated_before = false;
  std::vector<std::pair<Tag, uint32_t>> counts;  // texts met so far, per tag
  ReferenceWalk references;
  for (const Subrecord& s : r.subrecords) {
    const ReferenceWalk::Step step = r.tag == kCELL ? references.next(s) : ReferenceWalk::other;
    if (step == ReferenceWalk::started) counts.clear();
    if (step == ReferenceWalk::named && t->interior) out->references.push_back(references.current());
    const TranslatedField* field = translated_field(r.tag, s.tag);
    if (field != nullptr && field->first_only && translated_before) field = nullptr;
    if (field != nullptr) translated_before = true;
    const int lexicon = exact_lexicon(r.tag, s.tag, field);
    if (lexicon < 0) continue;

    auto count = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == s.tag; });
    if (count == counts.end()) count = counts.insert(counts.end(), {s.tag, 0});
    TextField text;
    text.tag = s.tag;
    text.index = count->second++;
    text.lexicon = static_cast<uint8_t>(lexicon);
    if (s.tag == kSCVR) {
      // Only a Not Cell condition names something.
      const std::optional<std::string_view> name = not_cell_name(s.payload);
      if (!name) continue;
      text.text = *name;
    } else {
      text.text = s.text();
    }
    if (r.tag == kCELL && s.tag == kDNAM && references.inside()) {
      text.in_reference = true;
      text.reference = references.current();
    }
    out->fields.push_back(text);
  }
  t->fields_end = static_cast<uint32_t>(out->fields.size());
  t->refs_end = static_cast<uint32_t>(out->references.size());
}

}  // namespace

PluginTexts extract_texts(const PluginView& view) {
  PluginTexts out;
  int32_t dial = -1;
  for (RecordCursor it = view.records(); it.valid(); it.next()) {
    const Record& r = it.record();
    if (!r.id.empty()) out.id_hashes.push_back(name_hash(r.id, r.tag));
    TextRecord t;
    t.tag = r.tag;
    t.id = r.id;
    t.fields_begin = static_cast<uint32_t>(out.fields.size());
    t.refs_begin = static_cast<uint32_t>(out.references.size());
    const Subrecord* data = r.find(kDATA);
    const std::string_view bytes = data == nullptr ? std::string_view() : data->payload;
    if (r.tag == kDIAL) {
      t.topic = dialogue_type(r) == 0;
      dial = static_cast<int32_t>(out.records.size());
    } else if (r.tag == kINFO) {
      t.dial = dial;
    } else if (r.tag == kCELL) {
      const CellData cell = cell_data(r);
      t.interior = cell.interior;
      t.has_grid = cell.has_grid;
      t.x = cell.x;
      t.y = cell.y;
    } else if (r.tag == kPGRD && bytes.size() >= 8) {
      t.has_grid = true;
      t.x = read_i32(bytes.data());
      t.y = read_i32(bytes.data() + 4);
    }
    add_fields(r, &t, &out);
    const bool structural = r.tag == kDIAL || r.tag == kINFO || r.tag == kCELL || r.tag == kPGRD;
    if (structural || t.fields_end > t.fields_begin) out.records.push_back(t);
  }
  std::sort(out.id_hashes.begin(), out.id_hashes.end());
  out.id_hashes.erase(std::unique(out.id_hashes.begin(), out.id_hashes.end()), out.id_hashes.end());
  return out;
}

}  // namespace quillaret::lexicon_builder
