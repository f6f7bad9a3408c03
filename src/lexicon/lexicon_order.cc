#include "lexicon/lexicon_order.h"

#include <algorithm>
#include <numeric>

namespace quillaret {

// How the order is obtained without running the sort.
//
// Pass j of the sort carries the entry at j forward: it is swapped with the
// first longer entry after it, which is swapped with the first entry after
// it longer still, and so on; the longest entry of the suffix (its first
// occurrence) lands at j.
//
// Restricted to the entries of length >= L, every pass acts exactly as the
// same pass of the sort run on that subsequence alone (entries shorter than
// L only ever trade places with one another or pass through chains without
// reordering the longer ones). So the relative order of the entries of
// length exactly L is the one the sort leaves when run on the subsequence
// S of entries of length >= L, in which they are the shortest.
//
// In S an entry of length L moves only when it stands at the position j of
// the current pass: it then goes to the position of the first longer entry
// after j, which moves to j. With m the number of longer entries, passes
// 0 .. m-1 are the only ones that move anything, and the positions of longer
// entries after j are consumed in increasing order. One sweep with a pointer
// over those positions therefore gives the final order of the class.
std::vector<uint32_t> exchange_sort_order(const std::vector<size_t>& lengths) {
  const size_t n = lengths.size();
  std::vector<uint32_t> by_length(n);
  std::iota(by_length.begin(), by_length.end(), 0u);
  std::stable_sort(by_length.begin(), by_length.end(),
                   [&](uint32_t a, uint32_t b) { return lengths[a] > lengths[b]; });

  std::vector<uint32_t> result;
  result.reserve(n);
  std::vector<uint32_t> longer;  // entries longer than the current class, file order
  std::vector<uint32_t> merged;
  std::vector<uint32_t> longer_positions;
  std::vector<uint32_t> slots;

  for (size_t begin = 0; begin < n;) {
    const size_t length = lengths[by_length[begin]];
    size_t end = begin;
    while (end < n && lengths[by_length[end]] == length) ++end;
    const auto class_begin = by_length.begin() + static_cast<ptrdiff_t>(begin);
    const auto class_end = by_length.begin() + static_cast<ptrdiff_t>(end);

    merged.clear();
    std::merge(longer.begin(), longer.end(), class_begin, class_end,
               std::back_inserter(merged));
    const size_t m = longer.size();
    if (m == 0 || end - begin == 1) {
      // Nothing longer to displace the class, or a single entry: its order
      // is the file order.
      result.insert(result.end(), class_begin, class_end);
    } else {
      longer_positions.clear();
      for (size_t i = 0; i < merged.size(); ++i) {
        if (lengths[merged[i]] > length) longer_positions.push_back(static_cast<uint32_t>(i));
      }
      slots.assign(merged.begin(), merged.end());
      size_t next = 0;
      for (size_t j = 0; j < m; ++j) {
        if (lengths[slots[j]] != length) continue;
        // Passes 0 .. j-1 left longer entries at positions 0 .. j-1, and
        // m > j, so a longer entry still lies after j: `next` stays in range.
        // (Seeking it while a longer entry stands at j could run past the
        // end, as with lengths 11, 6, 6.)
        while (longer_positions[next] <= j) ++next;
        slots[longer_positions[next]] = slots[j];
        ++next;
      }
      result.insert(result.end(), slots.begin() + static_cast<ptrdiff_t>(m), slots.end());
    }
    longer.swap(merged);
    begin = end;
  }
  return result;
}

}  // namespace quillaret
