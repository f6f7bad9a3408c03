// What the translation replaces: for each record kind it handles, the
// subrecords it looks at and how it finds their French text. One table,
// read by the pass, by the filter that tells the reader which nodes to keep,
// and by the tools that reason about translated names.
#pragma once

#include <cstdint>
#include <span>

#include "plugin/record_tree.h"

namespace quillaret {

enum class Lookup : uint8_t {
  name,       // the whole text in the name lexicon; logged when missing
  faction,    // the whole text in the faction lexicon; logged when missing
  topic,      // the whole text in the topic lexicon, else in the name lexicon (logged)
  response,   // topic and name phrases at word starts (a dialogue response)
  script,     // AddTopic arguments and quoted names (a script text)
  condition,  // the name of a "BLX" condition, whole, in the name lexicon
};

struct TranslatedField {
  Tag record;
  Tag subrecord;
  Lookup lookup;
  // Only while no earlier subrecord of the record was translated: a cell's
  // name is its first NAME, and a DNAM before it means it has none.
  bool first_only = false;
};

// The fields of one record kind, in no particular order; empty for a kind
// that passes through unchanged. A kind has at most four.
std::span<const TranslatedField> translated_fields(Tag record);

// The field of `record` for subrecords of kind `subrecord`, or null.
const TranslatedField* translated_field(Tag record, Tag subrecord);

}  // namespace quillaret
