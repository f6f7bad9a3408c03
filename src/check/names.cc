#include "check/names.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace quillaret::check {
namespace {

bool folded_less(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(fold_case(x)) < static_cast<unsigned char>(fold_case(y));
  });
}

}  // namespace

bool name_contains(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return true;
  const char first = fold_case(needle[0]);
  for (size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
    if (fold_case(haystack[i]) == first && name_starts_with(haystack.substr(i), needle))
      return true;
  }
  return false;
}

NameSet::NameSet(std::vector<std::string_view> names) : names_(std::move(names)) {
  std::sort(names_.begin(), names_.end(), folded_less);
  names_.erase(std::unique(names_.begin(), names_.end(), same_name), names_.end());
}

bool NameSet::contains(std::string_view name) const {
  const auto it = std::lower_bound(names_.begin(), names_.end(), name, folded_less);
  return it != names_.end() && same_name(*it, name);
}

bool NameSet::has_prefix(std::string_view prefix) const {
  // The names that begin with the prefix follow it directly in folded order.
  const auto it = std::lower_bound(names_.begin(), names_.end(), prefix, folded_less);
  return it != names_.end() && name_starts_with(*it, prefix);
}

}  // namespace quillaret::check
