// The kinds of tag a plug-in may hold: 43 record tags, 95 subrecord tags
// and SCVR, the condition subrecord. Every other tag makes the input
// unreadable.
#pragma once

#include <array>
#include <cstddef>

#include "plugin/record_tree.h"

namespace quillaret {

enum class TagKind { unknown, record, subrecord, condition };

// Every entry of the input is classified, so the tags are held in one
// open-addressing hash table built at compile time: a lookup is one
// multiplication and, at this load, one or two probes, inline in the
// reader's loop.
struct TagSlot {
  Tag tag;  // 0 marks an empty slot (no valid tag is 0)
  TagKind kind;
};
inline constexpr size_t kTagSlotBits = 9;
inline constexpr size_t kTagSlots = size_t{1} << kTagSlotBits;
extern const std::array<TagSlot, kTagSlots> kTagTable;

constexpr size_t first_tag_slot(Tag tag) { return (tag * 0x9E3779B1u) >> (32 - kTagSlotBits); }

inline TagKind classify_tag(Tag tag) {
  if (tag == 0) return TagKind::unknown;
  for (size_t slot = first_tag_slot(tag);; slot = (slot + 1) % kTagSlots) {
    if (kTagTable[slot].tag == tag) return kTagTable[slot].kind;
    if (kTagTable[slot].tag == 0) return TagKind::unknown;
  }
}

}  // namespace quillaret
