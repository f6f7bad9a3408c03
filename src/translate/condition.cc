#include <cstring>

#include "translate/pass.h"

namespace quillaret {

int translate_condition_name(Translation& t, int32_t index) {
  RecordNode& node = t.tree.nodes[static_cast<size_t>(index)];
  if (refuse_large_payload(t, node)) return -1;
  // A condition too short for its prefix carries no name.
  if (!node.has_prefix || std::memcmp(node.scvr_prefix + 1, "BLX", 3) != 0) return 0;
  const std::string_view name = payload_text(t, node);
  const LexiconEntry* entry = t.lexicons.names.find_exact(name);
  if (entry == nullptr) return 0;
  // The 5 prefix bytes (index, type, details and comparison operator) stay
  // as read: only the name after them changes.
  const size_t length = entry->target.size();
  if (replace_payload(t, index, entry->target.data(), length + 5) != 0) return -1;
  *t.messages += "SCVR: ";
  *t.messages += name;
  *t.messages += '\n';
  return 0;
}

}  // namespace quillaret
