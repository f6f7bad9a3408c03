#include "platform/console.h"
#include "plugin/little_endian.h"
#include "plugin/record_tree.h"

namespace quillaret {
namespace {

// Everything between two changes is the input's own bytes, written with
// one call from where the last change ended.
class ChangeWriter {
 public:
  ChangeWriter(std::string_view input, ByteSink& sink) : input_(input), sink_(sink) {}

  // Writes the input up to `offset`, then `header` (a tag and a size) in
  // place of the input's 8 bytes there; `skip` more bytes of the input are
  // then replaced by what the caller emits.
  bool replace_header(uint64_t offset, Tag tag, uint32_t size, uint64_t skip) {
    char header[8];
    write_u32(header, tag);
    write_u32(header + 4, size);
    if (!copy_to(offset) || !sink_.write(header, 8)) return false;
    written_ = offset + 8 + skip;
    return true;
  }

  bool emit(const char* data, size_t size) { return size == 0 || sink_.write(data, size); }

  bool copy_to(uint64_t offset) {
    if (offset == written_) return true;
    const bool ok = sink_.write(input_.data() + written_, static_cast<size_t>(offset - written_));
    written_ = offset;
    return ok;
  }

 private:
  std::string_view input_;
  ByteSink& sink_;
  uint64_t written_ = 0;  // the input's bytes before this are written
};

bool write_node(const RecordNode& node, std::string_view input, ChangeWriter& out) {
  if (node.is_record) {
    // Only the size can change; the record's 8 further header bytes follow
    // it unchanged, with the input's next bytes.
    const uint64_t header = static_cast<uint64_t>(node.data_offset) - 8;
    if (read_u32(input.data() + header + 4) == node.size) return true;
    return out.replace_header(header, node.tag, node.size, 0);
  }
  if (!node.replaced) return true;
  const size_t prefix = node.has_prefix ? 5 : 0;
  const uint64_t header = static_cast<uint64_t>(node.data_offset) - prefix - 8;
  const uint32_t input_size = read_u32(input.data() + header + 4);
  return out.replace_header(header, node.tag, node.size, input_size) &&
         out.emit(reinterpret_cast<const char*>(node.scvr_prefix), prefix) &&
         out.emit(node.text, node.size - prefix);
}

}  // namespace

int save_records(std::string_view input, const RecordTree& tree, ByteSink& sink,
                 Console& console) {
  console.print("saving...\n");
  ChangeWriter out(input, sink);
  for (const RecordNode& node : tree.nodes) {
    if (!write_node(node, input, out)) return -1;
  }
  return out.copy_to(tree.end) ? 0 : -1;
}

}  // namespace quillaret
