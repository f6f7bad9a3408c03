#include "lexicon/lexicon_index.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <span>

namespace quillaret {
namespace {

// Eight bytes of `text` from `offset` as a big-endian number, zeros past its
// end: comparing such numbers compares the texts eight bytes at a time.
uint64_t chunk_at(std::string_view text, size_t offset) {
  uint64_t chunk = 0;
  if (offset + 8 <= text.size()) {
    for (size_t i = offset; i < offset + 8; ++i) {
      chunk = chunk << 8 | static_cast<unsigned char>(text[i]);
    }
    return chunk;
  }
  for (size_t i = offset; i < offset + 8; ++i) {
    chunk = chunk << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  }
  return chunk;
}

// The sources in the order of their texts, then of their stored positions
// (so that the first of a run of identical sources is the one stored
// first), and how many leading bytes each shares with the one before it.
struct SortedSources {
  std::vector<uint32_t> order;
  std::vector<size_t> shared;
};

// The sort compares eight-byte chunks as numbers; only runs that tie on a
// chunk, and go on past it, are sorted again on the next one. Two
// neighbours that differ in a chunk share the bytes before their first
// differing byte, which the chunks tell without reading the texts again.
// (No source holds a NUL, so a zero past the end sorts a text before its
// extensions.)
SortedSources sort_sources(const std::vector<std::string_view>& sources) {
  struct Key {
    uint64_t chunk;
    uint32_t position;
  };
  struct Run {
    size_t begin, end, offset;
  };
  const size_t n = sources.size();
  std::vector<Key> keys(n);
  for (size_t i = 0; i < n; ++i) keys[i].position = static_cast<uint32_t>(i);
  SortedSources sorted{std::vector<uint32_t>(n), std::vector<size_t>(n, 0)};
  std::vector<Run> runs{{0, n, 0}};
  while (!runs.empty()) {
    const Run run = runs.back();
    runs.pop_back();
    for (size_t i = run.begin; i < run.end; ++i) {
      keys[i].chunk = chunk_at(sources[keys[i].position], run.offset);
    }
    std::sort(keys.begin() + static_cast<ptrdiff_t>(run.begin),
              keys.begin() + static_cast<ptrdiff_t>(run.end), [](const Key& a, const Key& b) {
                return a.chunk < b.chunk || (a.chunk == b.chunk && a.position < b.position);
              });
    const size_t next_offset = run.offset + 8;
    for (size_t i = run.begin; i < run.end;) {
      if (i > run.begin) {
        const uint64_t difference = keys[i].chunk ^ keys[i - 1].chunk;
        sorted.shared[i] = run.offset + static_cast<size_t>(std::countl_zero(difference)) / 8;
      }
      size_t j = i + 1;
      bool goes_on = sources[keys[i].position].size() > next_offset;
      while (j < run.end && keys[j].chunk == keys[i].chunk) {
        goes_on = goes_on || sources[keys[j].position].size() > next_offset;
        // Identical texts unless the run goes on; then the next chunk tells.
        sorted.shared[j] = sources[keys[j].position].size();
        ++j;
      }
      if (j - i > 1 && goes_on) runs.push_back({i, j, next_offset});
      i = j;
    }
  }
  for (size_t i = 0; i < n; ++i) sorted.order[i] = keys[i].position;
  return sorted;
}

}  // namespace

void LexiconIndex::build(const std::vector<std::string_view>& sources) {
  // The radix tree is built from the sorted sources, the way a tree is built
  // from a sorted list and the prefixes that neighbours share: a stack holds
  // the path to the last source; the next one climbs it to the depth it
  // shares, splitting an edge there if no node stands at that depth, and
  // hangs its own end below. The nodes keep, for their edge's bytes, a
  // source that spells them and where they begin in it.
  struct Building {
    uint32_t parent;
    uint32_t depth;   // bytes from the root to the node
    uint32_t start;   // depth where its edge begins
    uint32_t source;  // a source spelling the edge
    int32_t entry;
  };
  std::vector<Building> tree{{0, 0, 0, 0, -1}};
  std::vector<uint32_t> path{0};
  const SortedSources sorted = sort_sources(sources);
  for (size_t i = 0; i < sorted.order.size(); ++i) {
    const uint32_t position = sorted.order[i];
    const uint32_t size = static_cast<uint32_t>(sources[position].size());
    const uint32_t shared = static_cast<uint32_t>(sorted.shared[i]);
    // The same text as the source before it (a strict prefix would have
    // come first): that one is stored first and keeps the node.
    if (i > 0 && shared == size) continue;
    uint32_t below = 0;
    while (tree[path.back()].depth > shared) {
      below = path.back();
      path.pop_back();
    }
    if (tree[path.back()].depth < shared) {
      const uint32_t split = static_cast<uint32_t>(tree.size());
      tree.push_back({path.back(), shared, tree[path.back()].depth, position, -1});
      tree[below].parent = split;
      tree[below].start = shared;
      path.push_back(split);
    }
    if (size == shared) {  // the empty source, first of all; never a prefix
      tree[path.back()].entry = static_cast<int32_t>(position);
      continue;
    }
    path.push_back(static_cast<uint32_t>(tree.size()));
    tree.push_back({path[path.size() - 2], size, shared, position, static_cast<int32_t>(position)});
  }

  // The children of each node, in the order of their first bytes, which is
  // the order they were made in: a split node takes the place of the child
  // it splits, the last one made.
  const size_t count = tree.size();
  std::vector<uint32_t> first_child(count + 1, 0);
  for (size_t i = 1; i < count; ++i) ++first_child[tree[i].parent + 1];
  for (size_t i = 1; i <= count; ++i) first_child[i] += first_child[i - 1];
  std::vector<uint32_t> children(count > 0 ? count - 1 : 0);
  {
    std::vector<uint32_t> placed(first_child.begin(), first_child.end() - 1);
    for (size_t i = 1; i < count; ++i) {
      children[placed[tree[i].parent]++] = static_cast<uint32_t>(i);
    }
  }

  // The first two levels of edges, which nearly every lookup visits, are
  // laid out breadth-first, so that they stay together in a few cache
  // lines; below them each subtree is laid out depth-first, so that the
  // edges along one source, and their bytes, lie close together.
  const auto children_of = [&](uint32_t node) {
    return std::span<const uint32_t>(children.data() + first_child[node],
                                     first_child[node + 1] - first_child[node]);
  };
  std::vector<uint32_t> order;        // the tree node that each edge leads to
  std::vector<uint32_t> edges_below;  // where the edges of that node begin
  order.reserve(children.size());
  edges_below.resize(children.size());
  const auto place_children = [&](uint32_t edge) {
    edges_below[edge] = static_cast<uint32_t>(order.size());
    const auto below = children_of(order[edge]);
    order.insert(order.end(), below.begin(), below.end());
  };
  const auto root = children_of(0);
  order.assign(root.begin(), root.end());
  for (uint32_t edge = 0; edge < root.size(); ++edge) place_children(edge);
  std::vector<uint32_t> pending;
  for (size_t edge = order.size(); edge-- > root.size();) {
    pending.push_back(static_cast<uint32_t>(edge));
  }
  while (!pending.empty()) {
    const uint32_t edge = pending.back();
    pending.pop_back();
    place_children(edge);
    for (size_t child = order.size(); child-- > edges_below[edge];) {
      pending.push_back(static_cast<uint32_t>(child));
    }
  }

  edges_.assign(order.size(), Edge{});
  first_bytes_.resize(order.size());
  tails_.clear();
  for (size_t k = 0; k < order.size(); ++k) {
    const Building& node = tree[order[k]];
    const std::string_view label = sources[node.source].substr(node.start, node.depth - node.start);
    Edge& edge = edges_[k];
    edge.entry = node.entry;
    edge.first_edge = edges_below[k];
    edge.length = static_cast<uint32_t>(label.size());
    edge.tail = static_cast<uint32_t>(tails_.size());
    edge.edge_count = static_cast<uint16_t>(children_of(order[k]).size());
    std::copy_n(label.begin(), std::min(label.size(), kHeadBytes), edge.head);
    if (label.size() > kHeadBytes) {
      tails_.insert(tails_.end(), label.begin() + kHeadBytes, label.end());
    }
    first_bytes_[k] = static_cast<unsigned char>(label[0]);
  }
  for (Edge& edge : edges_) {
    for (uint32_t i = 0; i < std::min<uint32_t>(edge.edge_count, kNextBytes); ++i) {
      edge.next[i] = first_bytes_[edge.first_edge + i];
    }
  }
  root_edges_.fill(0);
  for (uint32_t k = 0; k < first_child[1]; ++k) root_edges_[first_bytes_[k]] = k + 1;

  std::fill(trigrams_.begin(), trigrams_.end(), 0);
  has_short_sources_ = false;
  for (std::string_view source : sources) {
    if (source.size() < 3) {
      has_short_sources_ = has_short_sources_ || !source.empty();
      continue;
    }
    const uint32_t bit = trigram_bit(source);
    trigrams_[bit / 64] |= uint64_t{1} << (bit % 64);
  }
}

uint32_t LexiconIndex::next_edge(const Edge& edge, unsigned char byte) const {
  if (edge.edge_count <= kNextBytes) {
    for (uint32_t i = 0; i < edge.edge_count; ++i) {
      if (edge.next[i] == byte) return edge.first_edge + i;
    }
    return kNoEdge;
  }
  const unsigned char* const begin = first_bytes_.data() + edge.first_edge;
  const unsigned char* const end = begin + edge.edge_count;
  const unsigned char* const found = std::lower_bound(begin, end, byte);
  if (found == end || *found != byte) return kNoEdge;
  return edge.first_edge + static_cast<uint32_t>(found - begin);
}

bool LexiconIndex::follows(const Edge& edge, std::string_view text, size_t position) const {
  if (edge.length > text.size() - position) return false;
  const char* const bytes = text.data() + position;
  const size_t head = std::min<size_t>(edge.length, kHeadBytes);
  for (size_t i = 1; i < head; ++i) {
    if (edge.head[i] != static_cast<unsigned char>(bytes[i])) return false;
  }
  if (edge.length <= kHeadBytes) return true;
  const unsigned char* const tail = tails_.data() + edge.tail;
  for (size_t i = kHeadBytes; i < edge.length; ++i) {
    if (tail[i - kHeadBytes] != static_cast<unsigned char>(bytes[i])) return false;
  }
  return true;
}

int32_t LexiconIndex::longest_prefix(std::string_view text) const {
  if (text.empty()) return -1;
  if (text.size() >= 3 && !has_short_sources_ && !may_begin_long_source(text)) return -1;
  int32_t best = -1;
  uint32_t index = root_edges_[static_cast<unsigned char>(text[0])] - 1;
  size_t position = 0;
  while (index != kNoEdge && follows(edges_[index], text, position)) {
    const Edge& edge = edges_[index];
    position += edge.length;
    if (edge.entry >= 0) best = edge.entry;
    if (position == text.size()) break;
    index = next_edge(edge, static_cast<unsigned char>(text[position]));
  }
  return best;
}

}  // namespace quillaret
