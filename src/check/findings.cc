#include "check/findings.h"

#include <algorithm>
#include <array>

namespace quillaret::check {

std::string_view kind_label(Kind kind) {
  static constexpr std::array<std::string_view, kKindCount> kLabels = {
      "missing master", "master size",       "door",         "travel",   "moved",
      "package",        "cell filter",       "not cell",     "script",   "detached topic",
      "detached cell",  "unreachable topic", "stale script", "encoding", "not checked",
  };
  return kLabels[static_cast<size_t>(kind)];
}

std::string format_report(const std::vector<Finding>& findings) {
  std::vector<const Finding*> order;
  for (const Finding& finding : findings) order.push_back(&finding);
  std::stable_sort(order.begin(), order.end(),
                   [](const Finding* a, const Finding* b) { return a->kind < b->kind; });
  std::string report;
  std::array<size_t, kKindCount> counts{};
  for (const Finding* f : order) {
    ++counts[static_cast<size_t>(f->kind)];
    report.append(kind_label(f->kind)).append("  ").append(f->where);
    if (!f->name.empty()) report.append(" -> \"").append(f->name).append("\"");
    report.append(": ").append(f->detail).append("\n");
  }
  report += std::to_string(findings.size()) + (findings.size() == 1 ? " finding" : " findings");
  const char* separator = ": ";
  for (size_t kind = 0; kind < kKindCount; ++kind) {
    if (counts[kind] == 0) continue;
    report.append(separator).append(kind_label(static_cast<Kind>(kind)));
    report.append(" ").append(std::to_string(counts[kind]));
    separator = ", ";
  }
  return report + "\n";
}

}  // namespace quillaret::check
