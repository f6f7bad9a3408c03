#include "plugin/names.h"

namespace quillaret {

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() && name_starts_with(a, b);
}

bool name_starts_with(std::string_view name, std::string_view prefix) {
  if (prefix.size() > name.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (fold_case(name[i]) != fold_case(prefix[i])) return false;
  }
  return true;
}

uint64_t name_hash(std::string_view name, uint64_t seed) {
  uint64_t hash = seed ^ 0xcbf29ce484222325ull;  // FNV-1a over the folded bytes
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(fold_case(c))) * 0x100000001b3ull;
  return hash;
}

}  // namespace quillaret
