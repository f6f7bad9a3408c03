#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/console.h"
#include "platform/platform.h"
#include "plugin/little_endian.h"
#include "plugin/record_tree.h"

namespace quillaret {
namespace {

// One level of nesting: the top level or the inside of one record.
struct Level {
  int64_t remaining;  // bytes this level is still expected to hold
  int32_t parent;     // the enclosing record, -1 at top level
  int32_t previous;   // the last node created at this level, -1 for none
};

// Typical plug-ins average well over 32 bytes per record and subrecord, so
// this reservation avoids regrowing the table; it is only address space
// until nodes are written into it. For a large master the table is tens of
// megabytes, filled once: large pages spare most of its page faults.
constexpr size_t kReserveBytesPerNode = 32;

}  // namespace

int parse_records(std::string_view input, RecordTree* tree, Console& console) {
  std::vector<RecordNode>& nodes = tree->nodes;
  nodes.clear();
  nodes.reserve(input.size() / kReserveBytesPerNode + 1);
  platform::advise_large_pages(nodes.data(), nodes.capacity() * sizeof(RecordNode));

  const uint64_t end = input.size();
  uint64_t pos = 0;
  std::vector<Level> levels{{static_cast<int64_t>(input.size()), -1, -1}};

  while (true) {
    Level& level = levels.back();
    const bool top = levels.size() == 1;
    // Inside a record, entries are read while at least one more header fits
    // in what its size announces; records do not always fill their size
    // exactly, and the next entry is then read from where the last ended.
    if (!top && level.remaining < 8) {
      levels.pop_back();
      continue;
    }
    if (end - pos < 4) {
      // Fewer than 4 bytes left: the normal end of the file at top level
      // (stray bytes are ignored), a truncated record anywhere deeper.
      return top ? 0 : -1;
    }
    if (end - pos < 8) return -1;  // the file ends inside a size field
    if (nodes.size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return -1;

    const int32_t index = static_cast<int32_t>(nodes.size());
    RecordNode& node = nodes.emplace_back();
    node.tag = read_u32(input.data() + pos);
    node.size = read_u32(input.data() + pos + 4);
    node.parent = level.parent;
    node.prev = level.previous;
    if (level.previous >= 0) nodes[static_cast<size_t>(level.previous)].next = index;
    pos += 8;
    node.data_offset = static_cast<int64_t>(pos);
    level.remaining -= static_cast<int64_t>(node.size) + 8;
    level.previous = index;

    switch (classify_tag(node.tag)) {
      case TagKind::record:
        node.is_record = true;
        if (end - pos < 8) return -1;  // inside the 8 further header bytes
        pos += 8;
        // A nested record's further header bytes also fill its enclosing
        // record; uncounted, they make the enclosing record read on past its
        // end and take the next top-level record as a child.
        if (!top) level.remaining -= 8;
        if (node.size >= 8) {
          node.first_child = index + 1;
          levels.push_back({static_cast<int64_t>(node.size), index, -1});
        } else {
          // A record too small to hold a subrecord header has no children:
          // it must not take the following entry of the file as its child.
          // Its few bytes are kept as they stand.
          if (end - pos < node.size) return -1;
          pos += node.size;
        }
        break;
      case TagKind::condition:
        if (end - pos < node.size) return -1;
        // A condition shorter than its 5-byte prefix is kept as a plain
        // payload.
        if (node.size >= 5) {
          std::memcpy(node.scvr_prefix, input.data() + pos, 5);
          node.has_prefix = true;
          node.data_offset += 5;
        }
        pos += node.size;
        break;
      case TagKind::subrecord:
        if (end - pos < node.size) return -1;
        pos += node.size;
        break;
      case TagKind::unknown: {
        char line[160];
        std::snprintf(line, sizeof line,
                      "%s(%d), size=%" PRIu32 ", prev=%d, next=%d, parent=%d, left=%" PRId64 "\n",
                      tag_text(node.tag).c_str(), index, node.size, node.prev, node.next,
                      node.parent, level.remaining);
        console.print(std::string(2 * (levels.size() - 1), ' '));
        console.print(line);
        return -1;
      }
    }
  }
}

}  // namespace quillaret
