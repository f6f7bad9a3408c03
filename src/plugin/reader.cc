#include <algorithm>
#include <cstring>
#include <limits>

#include "plugin/little_endian.h"
#include "plugin/reader.h"
#include "plugin/record_tags.h"

namespace quillaret {
namespace {

// One level of nesting: the top level or the inside of one record. Entries
// are numbered as if every one were kept, for the diagnostic line.
struct Level {
  int64_t remaining;      // bytes this level is still expected to hold
  int32_t parent;         // number of the enclosing record, -1 at top level
  int32_t previous;       // number of the last entry read here, -1 for none
  int32_t kept_parent;    // node of the enclosing record, -1 when none is kept
  int32_t kept_previous;  // the last node kept here, -1 for none
  int32_t kept_count;     // entries kept here
  Tag record;             // the enclosing record's tag
  bool keeps;             // whether entries here may be kept at all
  NodeFilter::ChildTags candidates;  // through a filter, the only kinds it may keep here
};

// A plug-in averages well over 32 bytes per record and subrecord, and a
// filter such as the translation's keeps far fewer than one node in 256
// bytes: reserving that many nodes spares regrowing the table.
constexpr size_t kReserveBytesPerNode = 32;
constexpr size_t kReserveBytesPerKeptNode = 256;

// How far ahead of the entry being read its bytes are fetched.
constexpr uint64_t kPrefetchDistance = 1024;

// Entries are numbered with 32-bit indices.
constexpr int32_t kMaxEntries = std::numeric_limits<int32_t>::max();

}  // namespace

RecordReader::RecordReader(std::string_view input, const NodeFilter* filter)
    : input_(input), filter_(filter), remaining_(static_cast<int64_t>(input.size())) {}

bool RecordReader::read_part(uint64_t min_bytes, RecordTree* tree, std::string* error) {
  std::vector<RecordNode>& nodes = tree->nodes;
  nodes.clear();
  const std::string_view input = input_;
  const NodeFilter* const filter = filter_;
  const uint64_t end = input.size();
  const uint64_t start = pos_;
  uint64_t pos = pos_;
  tree->end = pos;
  if (done_) return true;
  min_bytes = std::max<uint64_t>(min_bytes, 1);
  nodes.reserve(std::min(min_bytes, end - pos) /
                    (filter == nullptr ? kReserveBytesPerNode : kReserveBytesPerKeptNode) +
                1);

  int32_t count = count_;  // entries read, in this part and before
  // The top level goes on from the part before; its kept nodes are this
  // part's own.
  std::vector<Level> levels{{remaining_, -1, previous_, -1, -1, 0, 0, true, {}}};
  // The state the next part starts from, once this one ends well.
  const auto stop = [&](bool at_end) {
    pos_ = pos;
    count_ = count;
    remaining_ = levels.front().remaining;
    previous_ = levels.front().previous;
    done_ = at_end;
    tree->end = pos;
    return true;
  };
  const auto fail = [&] {
    done_ = true;
    return false;
  };

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
    // Set when the loop below stops at an entry that the filter keeps, so
    // that the filter is not asked twice.
    bool known_kept = false;
    if (!top && !(level.keeps && filter == nullptr)) {
      // Inside a record, the plain subrecords that do not become nodes
      // (most of a master) are only checked and stepped over, in a loop of
      // their own. Anything else takes the general way below. Where every
      // entry is kept, there is nothing to step over.
      while (level.remaining >= 8 && end - pos >= 8 && count < kMaxEntries) {
        // The headers lie a few dozen bytes apart, in pages scattered in
        // memory, where the processor stops fetching ahead on its own: it
        // is asked to fetch the bytes a little further on, up to the end.
        __builtin_prefetch(input.data() + std::min(pos + kPrefetchDistance, end));
        const Tag tag = read_u32(input.data() + pos);
        const uint32_t size = read_u32(input.data() + pos + 4);
        const TagKind kind = classify_tag(tag);
        if ((kind != TagKind::subrecord && kind != TagKind::condition) || end - pos - 8 < size) {
          break;
        }
        if (level.keeps && level.candidates.has(tag) &&
            filter->keeps_child(level.record, tag, level.kept_count)) {
          known_kept = true;
          break;
        }
        pos += 8 + uint64_t{size};
        level.remaining -= static_cast<int64_t>(size) + 8;
        level.previous = count++;
      }
      if (level.remaining < 8) continue;
    }
    if (end - pos < 4) {
      // Fewer than 4 bytes left: the normal end of the file at top level
      // (stray bytes are ignored), a truncated record anywhere deeper.
      if (!top) return fail();
      return stop(true);
    }
    // A part ends between two top-level entries.
    if (top && pos - start >= min_bytes) return stop(false);
    if (end - pos < 8) return fail();  // the file ends inside a size field
    if (count == kMaxEntries) return fail();

    const int32_t number = count++;
    const int32_t previous = level.previous;
    const Tag tag = read_u32(input.data() + pos);
    const uint32_t size = read_u32(input.data() + pos + 4);
    pos += 8;
    level.remaining -= static_cast<int64_t>(size) + 8;
    level.previous = number;

    bool kept = level.keeps;
    if (kept && filter != nullptr && !known_kept) {
      kept = top ? filter->keeps_top_level(tag)
                 : filter->keeps_child(level.record, tag, level.kept_count);
    }
    RecordNode* node = nullptr;
    int32_t index = -1;
    if (kept) {
      index = static_cast<int32_t>(nodes.size());
      node = &nodes.emplace_back();
      node->tag = tag;
      node->size = size;
      node->parent = level.kept_parent;
      node->prev = level.kept_previous;
      node->data_offset = static_cast<int64_t>(pos);
      if (level.kept_previous >= 0) {
        nodes[static_cast<size_t>(level.kept_previous)].next = index;
      } else if (level.kept_parent >= 0) {
        nodes[static_cast<size_t>(level.kept_parent)].first_child = index;
      }
      level.kept_previous = index;
      ++level.kept_count;
    }

    switch (classify_tag(tag)) {
      case TagKind::record:
        if (node != nullptr) node->is_record = true;
        if (end - pos < 8) return fail();  // inside the 8 further header bytes
        pos += 8;
        // A nested record's further header bytes also fill its enclosing
        // record; uncounted, they make the enclosing record read on past its
        // end and take the next top-level record as a child.
        if (!top) level.remaining -= 8;
        if (size >= 8) {
          // Through a filter, only the children of a top-level record may
          // be kept.
          const bool keeps = kept && (filter == nullptr || top);
          levels.push_back({static_cast<int64_t>(size), number, -1, index, -1, 0, tag, keeps,
                            keeps && filter != nullptr ? filter->child_tags(tag)
                                                       : NodeFilter::ChildTags{}});
        } else {
          // A record too small to hold a subrecord header has no children:
          // it must not take the following entry of the file as its child.
          // Its few bytes are kept as they stand.
          if (end - pos < size) return fail();
          pos += size;
        }
        break;
      case TagKind::condition:
        if (end - pos < size) return fail();
        // A condition shorter than its 5-byte prefix is kept as a plain
        // payload.
        if (node != nullptr && size >= 5) {
          std::memcpy(node->scvr_prefix, input.data() + pos, 5);
          node->has_prefix = true;
          node->data_offset += 5;
        }
        pos += size;
        break;
      case TagKind::subrecord:
        if (end - pos < size) return fail();
        pos += size;
        break;
      case TagKind::unknown: {
        // Indented by two spaces per level of nesting, numbered as if every
        // entry were kept.
        *error = std::string(2 * (levels.size() - 1), ' ') + tag_text(tag) + "(" +
                 std::to_string(number) + "), size=" + std::to_string(size) +
                 ", prev=" + std::to_string(previous) + ", next=-1, parent=" +
                 std::to_string(level.parent) + ", left=" + std::to_string(level.remaining) + "\n";
        return fail();
      }
    }
  }
}

}  // namespace quillaret
