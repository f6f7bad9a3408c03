// The order in which the loader leaves lexicon entries.
//
// The lexicon's historical order is the one this exchange sort produces:
//
//   for j = 0 .. n-2: for k = j+1 .. n-1:
//     if length(j) < length(k): swap entries j and k
//
// It sorts by decreasing length but is not stable: among equal lengths the
// order is scrambled in a way that decides which of two identical sources
// wins a lookup. Running it is quadratic, so the order is computed instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillaret {

// For entries of the given lengths (in file order), returns the file-order
// indices in the order that the exchange sort above leaves them.
// Takes O(n log n + sum over distinct lengths L of #entries at least L long).
std::vector<uint32_t> exchange_sort_order(const std::vector<size_t>& lengths);

}  // namespace quillaret
