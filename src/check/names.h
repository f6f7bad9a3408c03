// Sets and maps of names as the game compares them (plugin/names.h), for
// the check's lookups.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "plugin/names.h"

namespace quillaret::check {

// Whether `needle` occurs anywhere in `haystack`, case folded.
bool name_contains(std::string_view haystack, std::string_view needle);

struct NameHash {
  size_t operator()(std::string_view name) const { return static_cast<size_t>(name_hash(name)); }
};
struct NameEqual {
  bool operator()(std::string_view a, std::string_view b) const { return same_name(a, b); }
};
// Keyed by views that must outlive the container.
template <class Value>
using NameMap = std::unordered_map<std::string_view, Value, NameHash, NameEqual>;
using NameIndex = std::unordered_set<std::string_view, NameHash, NameEqual>;

// A fixed set of names answering whole-name and prefix questions in
// logarithmic time. The views must outlive the set.
class NameSet {
 public:
  NameSet() = default;
  explicit NameSet(std::vector<std::string_view> names);

  bool contains(std::string_view name) const;
  // Whether some name of the set begins with `prefix`.
  bool has_prefix(std::string_view prefix) const;

 private:
  std::vector<std::string_view> names_;  // sorted with case folded
};

}  // namespace quillaret::check
