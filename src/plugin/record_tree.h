// The plug-in file model: one node per record and subrecord of the input,
// in file order, holding headers, links and payload offsets but not the
// payloads themselves, which stay in the input's bytes.
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

class Console;

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

enum class TagKind { unknown, record, subrecord, condition };

// Record tags (43), subrecord tags (95) and SCVR, the condition subrecord.
TagKind classify_tag(Tag tag);

struct RecordNode {
  Tag tag = 0;
  // Payload size; for a record the total size of its subrecords. Corrected
  // by the translation whenever a payload changes.
  uint32_t size = 0;
  int32_t parent = -1;       // enclosing record, -1 at top level
  int32_t first_child = -1;  // -1 when the node has no children
  int32_t prev = -1;         // siblings, -1 at either end
  int32_t next = -1;
  // Offset in the input of the payload (for an SCVR with a prefix, of the
  // name after the prefix; for a record, of its 8 further header bytes).
  // -1 once the payload has been replaced by `text`.
  int64_t data_offset = 0;
  // The replacement payload (size bytes, after the prefix for an SCVR);
  // valid when data_offset is -1. It belongs to a lexicon or to the text
  // arena, both of which outlive the writing of the output.
  const char* text = nullptr;
  uint8_t scvr_prefix[5] = {};
  bool is_record = false;   // written with its 8 further header bytes
  bool has_prefix = false;  // an SCVR of at least 5 bytes
};

struct RecordTree {
  std::vector<RecordNode> nodes;  // node 0 is the first top-level record
};

// Reads the whole input into `tree`. Returns 0, or -1 when the input is not
// a plug-in: an unknown tag (after a diagnostic line on the console), or a
// file that ends inside a header or a payload. One to three stray bytes
// after the last top-level entry end the read normally.
int parse_records(std::string_view input, RecordTree* tree, Console& console);

// Sink for the writer's bytes; returns false when a write fails.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool write(const char* data, size_t size) = 0;
};

// Writes every node in file order with its current size: untouched nodes as
// the input's own bytes, replaced payloads from their text. Prints
// "saving..." first; the caller reports the end once the output is safely
// in place. Returns 0, or -1 when a write fails.
int save_records(std::string_view input, const RecordTree& tree, ByteSink& sink,
                 Console& console);

}  // namespace quillaret
