// The record tree: one node per record and subrecord of a plug-in (or per
// one that a filter keeps, see reader.h), in file order, holding headers,
// links and payload offsets but not the payloads, which stay in the input.
//
// File format (little-endian):
//   record     tag(4) size(4) 8 further header bytes, then `size` bytes of
//              subrecords
//   subrecord  tag(4) size(4), then `size` payload bytes
//   SCVR       a subrecord whose first 5 payload bytes are a condition
//              prefix and whose remaining bytes are a name
// Which tags are records and which are subrecords is fixed by two tables;
// any other tag stops the read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillaret {

using Tag = uint32_t;

// The tag of four ASCII characters as stored in the file, read as one
// little-endian 32-bit value.
constexpr Tag make_tag(const char (&text)[5]) {
  return static_cast<Tag>(static_cast<unsigned char>(text[0])) |
         static_cast<Tag>(static_cast<unsigned char>(text[1])) << 8 |
         static_cast<Tag>(static_cast<unsigned char>(text[2])) << 16 |
         static_cast<Tag>(static_cast<unsigned char>(text[3])) << 24;
}

// The four bytes of a tag, up to the first NUL among them.
std::string tag_text(Tag tag);

struct RecordNode {
  Tag tag = 0;
  // Payload size; for a record the total size of its subrecords. Corrected
  // by the translation whenever a payload changes.
  uint32_t size = 0;
  int32_t parent = -1;       // enclosing record, -1 at top level
  int32_t first_child = -1;  // -1 when the node has no children (kept)
  int32_t prev = -1;         // kept siblings, -1 at either end
  int32_t next = -1;
  // Offset in the input of the payload (for an SCVR with a prefix, of the
  // name after the prefix; for a record, of its 8 further header bytes).
  int64_t data_offset = 0;
  // The replacement payload (size bytes, after the prefix for an SCVR);
  // valid when `replaced`. It belongs to a lexicon or to the text arena,
  // both of which outlive the writing of the output.
  const char* text = nullptr;
  uint8_t scvr_prefix[5] = {};
  bool is_record = false;   // written with its 8 further header bytes
  bool has_prefix = false;  // an SCVR of at least 5 bytes
  bool replaced = false;    // the payload is `text`, no longer the input's
};

struct RecordTree {
  // The kept entries in file order; node 0 is the first kept one.
  std::vector<RecordNode> nodes;
  // Where the read ended: the input's bytes before it are the plug-in, the
  // 0 to 3 stray bytes after it are dropped.
  uint64_t end = 0;
};

// Where a node's header begins in the input.
inline uint64_t header_offset(const RecordNode& node) {
  return static_cast<uint64_t>(node.data_offset) - 8 - (node.has_prefix ? 5 : 0);
}

}  // namespace quillaret
