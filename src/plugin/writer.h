// The writer: the input's bytes again, with every node's current size in
// its header and every replaced payload's text in place of the input's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "plugin/record_tree.h"

namespace quillaret {

// Where the writer's bytes go; `write` returns false when a write fails.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool write(const char* data, size_t size) = 0;
};

// Writes a tree a part at a time: a part can be written as soon as the
// nodes in it are final. The input, the tree (and the texts its replaced
// nodes point at) and the sink must outlive the writer.
class PluginWriter {
 public:
  // Writes from the input's byte `start` on: the tree is that of a part of
  // the input beginning there (see RecordReader), or of the whole input.
  PluginWriter(std::string_view input, const RecordTree& tree, ByteSink& sink, uint64_t start = 0)
      : input_(input), tree_(tree), sink_(sink), written_(start) {}

  // Writes the output up to where the input's byte `offset` goes, which
  // must not lie inside a node's header or replaced payload (the tree's
  // `end` is the end of its part). False when a write failed, then or
  // before.
  bool write_until(uint64_t offset);

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

}  // namespace quillaret
