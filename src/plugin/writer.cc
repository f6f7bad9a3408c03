#include "platform/console.h"
#include "plugin/little_endian.h"
#include "plugin/record_tree.h"

namespace quillaret {
namespace {

// Unchanged nodes are contiguous in the input; they are gathered into runs
// and each run is written with one call.
class RunWriter {
 public:
  RunWriter(std::string_view input, ByteSink& sink) : input_(input), sink_(sink) {}

  bool copy(uint64_t begin, uint64_t end) {
    if (begin != run_end_) {
      if (!flush()) return false;
      run_begin_ = begin;
    }
    run_end_ = end;
    return true;
  }

  bool emit(const char* data, size_t size) { return flush() && sink_.write(data, size); }

  bool flush() {
    bool ok = run_end_ == run_begin_ ||
              sink_.write(input_.data() + run_begin_, static_cast<size_t>(run_end_ - run_begin_));
    run_begin_ = run_end_;
    return ok;
  }

 private:
  std::string_view input_;
  ByteSink& sink_;
  uint64_t run_begin_ = 0;
  uint64_t run_end_ = 0;
};

bool write_node(const RecordNode& node, std::string_view input, RunWriter& out) {
  char header[8];
  write_u32(header, node.tag);
  write_u32(header + 4, node.size);
  const size_t prefix = node.has_prefix ? 5 : 0;

  if (node.is_record) {
    // The record's 8 further header bytes are copied unchanged; its size
    // changes when a subrecord's payload did.
    const uint64_t further = static_cast<uint64_t>(node.data_offset);
    if (read_u32(input.data() + further - 4) == node.size) {
      // Unchanged; a record without children keeps its bytes after the header.
      const uint64_t body = node.first_child < 0 ? node.size : 0;
      return out.copy(further - 8, further + 8 + body);
    }
    return out.emit(header, 8) && out.copy(further, further + 8);
  }
  if (node.data_offset >= 0) {
    const uint64_t payload = static_cast<uint64_t>(node.data_offset);
    return out.copy(payload - prefix - 8, payload - prefix + node.size);
  }
  return out.emit(header, 8) &&
         out.emit(reinterpret_cast<const char*>(node.scvr_prefix), prefix) &&
         out.emit(node.text, node.size - prefix);
}

}  // namespace

int save_records(std::string_view input, const RecordTree& tree, ByteSink& sink,
                 Console& console) {
  console.print("saving...\n");
  RunWriter out(input, sink);
  for (const RecordNode& node : tree.nodes) {
    if (!write_node(node, input, out)) return -1;
  }
  return out.flush() ? 0 : -1;
}

}  // namespace quillaret
