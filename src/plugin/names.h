// Names as the game compares them: record IDs, cell names, topics and
// journal IDs are the same when they differ only in the case of ASCII letters.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillaret {

constexpr char fold_case(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool same_name(std::string_view a, std::string_view b);
bool name_starts_with(std::string_view name, std::string_view prefix);

// A hash of the name with its case folded (so equal for the same names),
// mixed with `seed`.
uint64_t name_hash(std::string_view name, uint64_t seed = 0);

}  // namespace quillaret
