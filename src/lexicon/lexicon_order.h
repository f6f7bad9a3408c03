// Which of two identical lexicon sources wins a lookup: the one that comes
// first in the order this exchange sort leaves the entries in, which the
// lexicons' users have always had:
//
//   for j = 0 .. n-2: for k = j+1 .. n-1:
//     if length(j) < length(k): swap entries j and k
//
// It sorts by decreasing length but is not stable: among equal lengths the
// order is scrambled in a way that decides which of two identical sources
// wins a lookup. Running it is quadratic, so the order is computed instead;
// and since only identical sources, which are of equal length, compete in a
// lookup, the loader computes it only for the lengths that have some.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillaret {

// For entries of the given lengths (in file order), returns `among`,
// file-order indices of entries of length `length`, in the order that the
// exchange sort above leaves them. Takes O(n + k log k) for the k entries
// of that length at most, less when those asked about stand late in the
// file.
std::vector<uint32_t> exchange_sort_among(const std::vector<size_t>& lengths, size_t length,
                                          std::vector<uint32_t> among);

}  // namespace quillaret
