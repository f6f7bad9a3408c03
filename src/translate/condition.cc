#include <cstring>

#include "platform/console.h"
#include "translate/translate.h"

namespace quillaret {

int translate_condition_name(Translation& t, int32_t index) {
  RecordNode& node = t.tree.nodes[static_cast<size_t>(index)];
  if (node.size >= kMaxPayloadSize) {
    t.console.print("Bad record size!\n");
    return -1;
  }
  // A condition too short for its prefix carries no name.
  if (!node.has_prefix || std::memcmp(node.scvr_prefix + 1, "BLX", 3) != 0) return 0;
  const std::string_view name = payload_text(t, node);
  const LexiconEntry* entry = t.lexicons.names.find_exact(name);
  if (entry == nullptr) return 0;
  const size_t length = entry->target.size();
  if (replace_payload(t, index, entry->target.data(), static_cast<uint32_t>(length + 5)) != 0) {
    return -1;
  }
  // The prefix's last byte holds the name's length (its low 8 bits).
  node.scvr_prefix[4] = static_cast<uint8_t>(length & 0xFF);
  t.console.print("SCVR: " + std::string(name) + "\n");
  return 0;
}

}  // namespace quillaret
