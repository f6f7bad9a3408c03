// What a plug-in offers for building lexicons: each text that the translator
// replaces by exact lookup, and what pairs its records with those of a
// translation (IDs, cell grids and references, the topic of each INFO).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.h"
#include "plugin/plugin_view.h"

namespace quillaret::lexicon_builder {

// The record kinds that pairing treats apart.
inline constexpr Tag kCELL = make_tag("CELL");
inline constexpr Tag kDIAL = make_tag("DIAL");
inline constexpr Tag kINFO = make_tag("INFO");
inline constexpr Tag kPGRD = make_tag("PGRD");

// One text of a record. Two records' texts pair when their tag, index and
// reference agree.
struct TextField {
  Tag tag = 0;         // its subrecord's
  uint32_t index = 0;  // among the record's texts of this tag (within its reference)
  // A cell's door destination belongs to the reference before it: the
  // reference number and object ID of its FRMR and NAME.
  bool in_reference = false;
  CellReference reference;
  uint8_t lexicon = kNames;
  std::string_view text;  // up to its first NUL
};

struct TextRecord {
  Tag tag = 0;
  std::string_view id;                        // as PluginView gives it: a cell's or path grid's is its name
  uint32_t fields_begin = 0, fields_end = 0;  // into PluginTexts::fields
  bool topic = false;                         // a DIAL of type topic
  int32_t dial = -1;                          // an INFO's DIAL: the last one before it, in `records`
  bool interior = false;                      // a CELL with flag bit 0
  bool has_grid = false;                      // an exterior CELL, or a PGRD with its DATA
  int32_t x = 0, y = 0;
  uint32_t refs_begin = 0, refs_end = 0;  // an interior's, into PluginTexts::references
};

struct PluginTexts {
  // Every DIAL, INFO, CELL and PGRD, and every other record with a text,
  // in file order.
  std::vector<TextRecord> records;
  std::vector<TextField> fields;
  std::vector<CellReference> references;  // as translation leaves them
  // A hash of the kind and ID of every record that has an ID, sorted, without
  // repeats: whether two plug-ins share records at all.
  std::vector<uint64_t> id_hashes;
};

// Reads every record of an open view. The views in the result point into
// the view's bytes.
PluginTexts extract_texts(const PluginView& view);

}  // namespace quillaret::lexicon_builder
