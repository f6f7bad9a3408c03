#include "plugin/writer.h"

#include "plugin/little_endian.h"

namespace quillaret {

// Everything between two changes is the input's own bytes, written with
// one call from where the last change ended.
bool PluginWriter::copy_to(uint64_t offset) {
  if (ok_ && offset > written_) {
    ok_ = sink_.write(input_.data() + written_, static_cast<size_t>(offset - written_));
    written_ = offset;
  }
  return ok_;
}

// Writes the input up to `offset`, then `tag` and `size` in place of the
// input's 8 header bytes there; `skip` more bytes of the input are then
// replaced by what the caller writes.
bool PluginWriter::replace_header(uint64_t offset, Tag tag, uint32_t size, uint64_t skip) {
  char header[8];
  write_u32(header, tag);
  write_u32(header + 4, size);
  if (!copy_to(offset)) return false;
  ok_ = sink_.write(header, 8);
  written_ = offset + 8 + skip;
  return ok_;
}

bool PluginWriter::write_until(uint64_t offset) {
  const std::vector<RecordNode>& nodes = tree_.nodes;
  for (; ok_ && next_node_ < nodes.size(); ++next_node_) {
    const RecordNode& node = nodes[next_node_];
    const uint64_t header = header_offset(node);
    if (header >= offset) break;
    if (node.is_record) {
      // Only the size can change; the record's 8 further header bytes
      // follow it unchanged, with the input's next bytes.
      if (read_u32(input_.data() + header + 4) != node.size) {
        replace_header(header, node.tag, node.size, 0);
      }
    } else if (node.replaced) {
      const size_t prefix = node.has_prefix ? 5 : 0;
      if (replace_header(header, node.tag, node.size, read_u32(input_.data() + header + 4))) {
        ok_ =
            (prefix == 0 || sink_.write(reinterpret_cast<const char*>(node.scvr_prefix), prefix)) &&
            (node.size == prefix || sink_.write(node.text, node.size - prefix));
      }
    }
  }
  return copy_to(offset);
}

}  // namespace quillaret
