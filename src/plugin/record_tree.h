// The plug-in file model: one node per record and subrecord of the input
// (or per one that a filter keeps), in file order, holding headers, links
// and payload offsets but not the payloads themselves, which stay in the
// input's bytes.
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

// Which entries of the input become nodes. Every entry is read and checked
// whatever the filter says; an entry that is not kept, and everything
// nested in it, is written back as the input's own bytes. A master holds
// millions of entries, most of which no translation looks at: without
// nodes for them the tree stays small.
class NodeFilter {
 public:
  virtual ~NodeFilter() = default;
  // Whether a top-level entry of this kind is kept.
  virtual bool keeps_top_level(Tag tag) const = 0;
  // Whether an entry directly inside a kept top-level record is kept;
  // `kept_before` counts the record's earlier entries that were. Entries
  // nested deeper are not kept.
  virtual bool keeps_child(Tag record, Tag tag, int32_t kept_before) const = 0;

  // The kinds of entry that `keeps_child` may keep directly inside a
  // top-level record of kind `record`, 0 in the places left: the reader
  // asks about no other, and steps over the rest of a master's entries
  // without a call.
  struct ChildTags {
    Tag tags[4] = {};
    bool has(Tag tag) const {
      return ((tag == tags[0]) | (tag == tags[1]) | (tag == tags[2]) | (tag == tags[3])) != 0;
    }
  };
  virtual ChildTags child_tags(Tag record) const = 0;
};

// Reads a plug-in a part at a time, in file order, so that the first parts
// can be translated and written while the rest is read. A part is a run of
// whole top-level entries with a tree of its own; reading the parts in turn
// checks, numbers and keeps exactly what one read of the whole input does.
class RecordReader {
 public:
  // `input` (and `filter`, unless null) must outlive the reader.
  RecordReader(std::string_view input, const NodeFilter* filter);

  // Reads top-level entries into `tree` (emptied first) until they span at
  // least `min_bytes`, or up to the end of the input. `tree->end` is then
  // where the part ends: where the next one begins, or after the last one
  // where the plug-in ends. Returns 0, or -1 as `parse_records` does, after
  // its diagnostic; nothing more is read then.
  int read_part(uint64_t min_bytes, RecordTree* tree, Console& console);

  // Whether the whole input was read (or a read failed).
  bool done() const { return done_; }
  // Where the next part begins.
  uint64_t position() const { return pos_; }

 private:
  std::string_view input_;
  const NodeFilter* filter_;
  uint64_t pos_ = 0;
  int32_t count_ = 0;      // entries read so far, for the diagnostic line
  int64_t remaining_;      // what the top level is still expected to hold
  int32_t previous_ = -1;  // number of the last top-level entry
  bool done_ = false;
};

// Reads the whole input into `tree`, keeping the entries that `filter`
// selects, or every entry when it is null. Returns 0, or -1 when the input
// is not a plug-in: an unknown tag (after a diagnostic line on the console
// that numbers the entries as if all were kept), or a file that ends inside
// a header or a payload. One to three stray bytes after the last top-level
// entry end the read normally.
int parse_records(std::string_view input, RecordTree* tree, Console& console,
                  const NodeFilter* filter = nullptr);

// Sink for the writer's bytes; returns false when a write fails.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool write(const char* data, size_t size) = 0;
};

// Where a node's header begins in the input.
inline uint64_t header_offset(const RecordNode& node) {
  return static_cast<uint64_t>(node.data_offset) - 8 - (node.has_prefix ? 5 : 0);
}

// Writes the input's bytes with every node's current size in its header
// and every replaced payload's text in place of the input's, a part at a
// time: a part can be written as soon as the nodes in it are final.
class PluginWriter {
 public:
  // Writes from the input's byte `start` on: the tree is that of a part of
  // the input beginning there (see RecordReader), or of the whole input.
  PluginWriter(std::string_view input, const RecordTree& tree, ByteSink& sink, uint64_t start = 0)
      : input_(input), tree_(tree), sink_(sink), written_(start) {}

  // Writes the output up to where the input's byte `offset` goes, which
  // must not lie inside a node's header or replaced payload. False when a
  // write failed, then or before.
  bool write_until(uint64_t offset);

  // Writes the rest, up to `tree.end`.
  bool finish() { return write_until(tree_.end); }

 private:
  bool replace_header(uint64_t offset, Tag tag, uint32_t size, uint64_t skip);
  bool copy_to(uint64_t offset);

  std::string_view input_;
  const RecordTree& tree_;
  ByteSink& sink_;
  size_t next_node_ = 0;  // the first node not yet written
  uint64_t written_;      // the input's bytes before this are written
  bool ok_ = true;
};

// Prints "saving..." and writes the whole output; the caller reports the
// end once the output is safely in place. Returns 0, or -1 when a write
// fails.
int save_records(std::string_view input, const RecordTree& tree, ByteSink& sink,
                 Console& console);

}  // namespace quillaret
