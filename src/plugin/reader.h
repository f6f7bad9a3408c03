// The reader: checks a plug-in's bytes entry by entry and builds the record
// tree of the entries a filter keeps, a part of the input at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/record_tree.h"

namespace quillaret {

// Which entries of the input become nodes. Every entry is read and checked
// whatever the filter says; an entry that is not kept, and everything
// nested in it, is written back as the input's own bytes.
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
  // asks about no other, and steps over the rest without a call.
  struct ChildTags {
    Tag tags[4] = {};
    bool has(Tag tag) const {
      return ((tag == tags[0]) | (tag == tags[1]) | (tag == tags[2]) | (tag == tags[3])) != 0;
    }
  };
  virtual ChildTags child_tags(Tag record) const = 0;
};

// Reads a plug-in a part at a time, in file order. A part is a run of whole
// top-level entries with a tree of its own; reading the parts in turn
// checks, numbers and keeps exactly what one read of the whole input does.
//
// The input is not a plug-in when it holds a tag that is neither a record's
// nor a subrecord's, or ends inside a header or a payload; one to three
// stray bytes after the last top-level entry end it normally.
class RecordReader {
 public:
  // `input` (and `filter`, unless null, which keeps every entry) must
  // outlive the reader.
  RecordReader(std::string_view input, const NodeFilter* filter);

  // Reads top-level entries into `tree` (emptied first) until they span at
  // least `min_bytes`, or up to the end of the input; `tree->end` is then
  // where the part ends. False when the input is not a plug-in: `*error`
  // then holds the diagnostic line of an unknown tag (which numbers the
  // entries as if all were kept), or nothing for a cut file; nothing more
  // is read after that.
  bool read_part(uint64_t min_bytes, RecordTree* tree, std::string* error);

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

}  // namespace quillaret
