#include "lexicon/lexicon_order.h"

#include <algorithm>
#include <cstddef>

namespace quillaret {
namespace {

// The places 0 .. n-1 of a queue, all free at first: take one, or find the
// free place of a given rank among the free ones, each in O(log n) (a
// Fenwick tree of free counts). The tree is padded to a power of two with
// counts no rank reaches, so that the search needs no bounds test and its
// steps can compile to conditional moves.
class FreePlaces {
 public:
  explicit FreePlaces(size_t n) {
    while (top_step_ <= n) top_step_ *= 2;
    tree_.assign(top_step_ * 2, ~0u);
    for (size_t i = 1; i <= n; ++i) tree_[i] = static_cast<uint32_t>(i & (~i + 1));
  }

  void take(size_t place) {
    for (size_t i = place + 1; i < tree_.size(); i += i & (~i + 1)) --tree_[i];
  }

  // The free place of rank `rank` (0-based) among the free places.
  size_t find(size_t rank) const {
    size_t place = 0;
    for (size_t step = top_step_; step > 0; step /= 2) {
      const uint32_t count = tree_[place + step];
      // All ones when the place lies beyond this step, else zero: masks
      // rather than a branch that goes either way at random.
      const size_t skip = size_t{0} - static_cast<size_t>(count <= rank);
      place += step & skip;
      rank -= count & skip;
    }
    return place;
  }

 private:
  size_t top_step_ = 1;
  std::vector<uint32_t> tree_;
};

}  // namespace

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
// length exactly L (the class) is the one the sort leaves when run on the
// subsequence S of entries of length >= L, in which they are the shortest.
//
// In S, with m longer entries, passes 0 .. m-1 are the only ones that move
// anything. At pass j, an entry of the class standing at j moves to the
// first position after j that holds a longer entry and has not yet received
// one of the class; the longer entry there moves to j. The positions of
// longer entries are thus handed out in increasing order, and the class
// entries in flight form a queue: an entry of the class first met at a
// position below m joins it at the back, and each time the passes reach the
// position the front entry was sent to, that entry goes to the back again.
// Once the first entry has joined, every further position of a longer entry
// below m is such a turn of the queue. At the end the queue, front first,
// fills the positions of the last longer entries, which all lie at m or
// after, and the class entries first met at m or after never move.
//
// So the class needs only its positions in S, which one pass over the
// entries in file order gives: an entry's is its rank in the class plus the
// number of longer entries before it. The final queue is rebuilt
// backwards, one arrival at a time, with the free places of the queue
// counted in a tree: O(n + k log k), where the sort itself would cost
// O(n^2).
std::vector<uint32_t> exchange_sort_among(const std::vector<size_t>& lengths, size_t length,
                                          std::vector<uint32_t> among) {
  // One pass, without a branch that goes either way at random: every
  // entry is written to both lists, and kept in the one it belongs to.
  const size_t n = lengths.size();
  std::vector<uint32_t> entries(n + 1);  // the class, file order
  std::vector<uint32_t> longer(n + 1);   // entries longer than the class, file order
  std::vector<size_t> position(n + 1);   // for each class entry, its position in S
  size_t k = 0;
  size_t m = 0;
  for (size_t i = 0; i < n; ++i) {
    entries[k] = static_cast<uint32_t>(i);
    position[k] = k + m;
    longer[m] = static_cast<uint32_t>(i);
    k += lengths[i] == length;
    m += lengths[i] > length;
  }
  entries.resize(k);

  // The arrivals: the class entries standing below m in S. Positions grow
  // with the rank in the class, so they come first.
  size_t arrivals = 0;
  while (arrivals < k && position[arrivals] < m) ++arrivals;

  // Each entry asked about by its rank in the class; the queue need only
  // be rebuilt down to the first arrival among them.
  std::vector<size_t> rank_of(among.size());
  size_t lowest = arrivals;
  for (size_t a = 0; a < among.size(); ++a) {
    rank_of[a] = static_cast<size_t>(std::lower_bound(entries.begin(), entries.end(), among[a]) -
                                     entries.begin());
    lowest = std::min(lowest, rank_of[a]);
  }

  // The final queue, front first, rebuilt backwards: each arrival was
  // pushed at the back and then the queue turned `turns` times, once per
  // longer entry between it and the next arrival (or position m).
  std::vector<size_t> place(arrivals, 0);  // each arrival's place in the final queue
  if (arrivals > 0) {
    FreePlaces free_places(arrivals);
    size_t front = 0;  // rank, among the free places, of the current front
    size_t turns = m - position[arrivals - 1] - 1;
    for (size_t i = arrivals; i-- > lowest;) {
      const size_t size = i + 1;
      // (front + size - 1 - turns) modulo size, with one division: the sum
      // lies between size and 3 * size - 2.
      size_t rank = front + 2 * size - 1 - turns % size;
      rank -= rank >= 2 * size ? 2 * size : size;
      place[i] = free_places.find(rank);
      free_places.take(place[i]);
      // The entry after it was the front before it joined: rank modulo
      // size - 1, where rank < size.
      front = rank + 1 == size ? 0 : rank;
      turns = i > 0 ? position[i] - position[i - 1] - 1 : 0;
    }
  }
  // The queue fills the positions of the last `arrivals` longer entries,
  // front first; the other class entries keep theirs. S is in file order,
  // so where each entry ends is told by a file position.
  std::vector<std::pair<uint32_t, uint32_t>> ends(among.size());
  for (size_t a = 0; a < among.size(); ++a) {
    const size_t rank = rank_of[a];
    ends[a] = {rank < arrivals ? longer[m - arrivals + place[rank]] : entries[rank], among[a]};
  }
  std::sort(ends.begin(), ends.end());
  for (size_t a = 0; a < among.size(); ++a) among[a] = ends[a].second;
  return among;
}

}  // namespace quillaret
