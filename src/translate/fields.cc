#include "translate/fields.h"

#include <array>
#include <iterator>

namespace quillaret {
namespace {

constexpr Tag kFNAM = make_tag("FNAM");

// Rows of one record kind lie together.
constexpr TranslatedField kFields[] = {
    {make_tag("ARMO"), kFNAM, Lookup::name},
    {make_tag("BSGN"), kFNAM, Lookup::name},
    {make_tag("CLAS"), kFNAM, Lookup::name},
    {make_tag("CLOT"), kFNAM, Lookup::name},
    {make_tag("CONT"), kFNAM, Lookup::name},
    {make_tag("CREA"), kFNAM, Lookup::name},
    {make_tag("DOOR"), kFNAM, Lookup::name},
    {make_tag("INGR"), kFNAM, Lookup::name},
    {make_tag("LIGH"), kFNAM, Lookup::name},
    {make_tag("MISC"), kFNAM, Lookup::name},
    {make_tag("RACE"), kFNAM, Lookup::name},
    {make_tag("REGN"), kFNAM, Lookup::name},
    {make_tag("SPEL"), kFNAM, Lookup::name},
    {make_tag("WEAP"), kFNAM, Lookup::name},
    {make_tag("NPC_"), kFNAM, Lookup::name},
    {make_tag("NPC_"), make_tag("DNAM"), Lookup::name},  // travel destinations
    {make_tag("PGRD"), make_tag("NAME"), Lookup::name},  // the cell of the grid
    {make_tag("CELL"), make_tag("NAME"), Lookup::name, true},
    {make_tag("CELL"), make_tag("DNAM"), Lookup::name},  // door destinations
    {make_tag("FACT"), kFNAM, Lookup::faction},
    {make_tag("FACT"), make_tag("RNAM"), Lookup::faction},  // ranks
    {make_tag("DIAL"), make_tag("NAME"), Lookup::topic},
    {make_tag("INFO"), make_tag("ANAM"), Lookup::name},  // the cell filter
    {make_tag("INFO"), make_tag("NAME"), Lookup::response},
    {make_tag("INFO"), make_tag("BNAM"), Lookup::script},
    {make_tag("INFO"), make_tag("SCVR"), Lookup::condition},
    {make_tag("SCPT"), make_tag("SCTX"), Lookup::script},
};

// The reader asks about every top-level record of the input: the rows of
// each kind are found by one hash probe or two, in a table built at compile
// time.
struct KindSlot {
  Tag record = 0;  // 0: empty
  uint8_t first = 0, count = 0;
};
constexpr size_t kKindSlotBits = 6;
constexpr size_t kKindSlots = size_t{1} << kKindSlotBits;
constexpr size_t first_kind_slot(Tag tag) { return (tag * 0x9E3779B1u) >> (32 - kKindSlotBits); }

constexpr std::array<KindSlot, kKindSlots> kKinds = [] {
  std::array<KindSlot, kKindSlots> table{};
  for (size_t row = 0; row < std::size(kFields);) {
    size_t end = row;
    while (end < std::size(kFields) && kFields[end].record == kFields[row].record) ++end;
    size_t slot = first_kind_slot(kFields[row].record);
    while (table[slot].record != 0) slot = (slot + 1) % kKindSlots;
    table[slot] = {kFields[row].record, static_cast<uint8_t>(row), static_cast<uint8_t>(end - row)};
    row = end;
  }
  return table;
}();

}  // namespace

std::span<const TranslatedField> translated_fields(Tag record) {
  for (size_t slot = first_kind_slot(record);; slot = (slot + 1) % kKindSlots) {
    const KindSlot& kind = kKinds[slot];
    if (kind.record == record && record != 0) return {kFields + kind.first, kind.count};
    if (kind.record == 0) return {};
  }
}

const TranslatedField* translated_field(Tag record, Tag subrecord) {
  for (const TranslatedField& field : translated_fields(record)) {
    if (field.subrecord == subrecord) return &field;
  }
  return nullptr;
}

}  // namespace quillaret
