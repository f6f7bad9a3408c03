#include "lexicon/lexicon_index.h"

#include <algorithm>
#include <utility>

namespace quillaret {

void LexiconIndex::build(const std::vector<std::string_view>& sources) {
  nodes_.clear();
  labels_.clear();
  children_.clear();

  // Sorted by text, then by stored position, so that the first of a run of
  // identical sources is the one stored first.
  std::vector<std::pair<std::string_view, int32_t>> sorted;
  sorted.reserve(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) {
    sorted.emplace_back(sources[i], static_cast<int32_t>(i));
  }
  std::sort(sorted.begin(), sorted.end());

  // Breadth-first construction: every node covers a run of sorted sources
  // sharing its prefix, and its children are the sub-runs split by the next
  // byte, so each node's edges are contiguous and sorted by label.
  struct Span {
    uint32_t begin, end, depth;
  };
  std::vector<Span> spans{{0, static_cast<uint32_t>(sorted.size()), 0}};
  nodes_.emplace_back();
  for (size_t id = 0; id < nodes_.size(); ++id) {
    Span span = spans[id];
    const size_t depth = span.depth;
    if (span.begin < span.end && sorted[span.begin].first.size() == depth) {
      nodes_[id].entry = sorted[span.begin].second;
      // Identical sources follow; only the first counts.
      while (span.begin < span.end && sorted[span.begin].first.size() == depth) {
        ++span.begin;
      }
    }
    nodes_[id].first_edge = static_cast<uint32_t>(labels_.size());
    uint32_t i = span.begin;
    while (i < span.end) {
      const unsigned char label = static_cast<unsigned char>(sorted[i].first[depth]);
      uint32_t j = i + 1;
      while (j < span.end && static_cast<unsigned char>(sorted[j].first[depth]) == label) ++j;
      labels_.push_back(label);
      children_.push_back(static_cast<uint32_t>(nodes_.size()));
      nodes_.emplace_back();
      spans.push_back({i, j, static_cast<uint32_t>(depth + 1)});
      i = j;
    }
    nodes_[id].edge_count = static_cast<uint32_t>(labels_.size()) - nodes_[id].first_edge;
  }
}

int32_t LexiconIndex::child(const Node& node, unsigned char label) const {
  const unsigned char* begin = labels_.data() + node.first_edge;
  const unsigned char* end = begin + node.edge_count;
  const unsigned char* found;
  if (node.edge_count <= 8) {
    found = std::find(begin, end, label);
  } else {
    found = std::lower_bound(begin, end, label);
  }
  if (found == end || *found != label) return -1;
  return static_cast<int32_t>(children_[node.first_edge + static_cast<uint32_t>(found - begin)]);
}

int32_t LexiconIndex::find_exact(std::string_view text) const {
  if (nodes_.empty()) return -1;
  int32_t node = 0;
  for (char c : text) {
    node = child(nodes_[static_cast<size_t>(node)], static_cast<unsigned char>(c));
    if (node < 0) return -1;
  }
  return nodes_[static_cast<size_t>(node)].entry;
}

int32_t LexiconIndex::longest_prefix(std::string_view text) const {
  if (nodes_.empty()) return -1;
  int32_t best = -1;
  int32_t node = 0;
  for (char c : text) {
    node = child(nodes_[static_cast<size_t>(node)], static_cast<unsigned char>(c));
    if (node < 0) break;
    if (nodes_[static_cast<size_t>(node)].entry >= 0) best = nodes_[static_cast<size_t>(node)].entry;
  }
  return best;
}

}  // namespace quillaret
