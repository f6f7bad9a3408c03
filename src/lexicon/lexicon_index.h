// A read-only trie over the sources of one lexicon. It answers the two
// questions the translation asks at every position of a text: which entry's
// source equals the text, and which entry's source is the longest that the
// text begins with. Among identical sources it returns the one stored first.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillaret {

class LexiconIndex {
 public:
  // `sources` in stored order; the index keeps no pointer to them.
  void build(const std::vector<std::string_view>& sources);

  // Stored position of the first source equal to `text`, or -1.
  int32_t find_exact(std::string_view text) const;

  // Stored position of the first of the longest non-empty sources that
  // `text` begins with, or -1.
  int32_t longest_prefix(std::string_view text) const;

 private:
  struct Node {
    int32_t entry = -1;       // first stored source ending here
    uint32_t first_edge = 0;  // children: labels_/children_[first_edge, +count)
    uint32_t edge_count = 0;
  };

  int32_t child(const Node& node, unsigned char label) const;

  std::vector<Node> nodes_;  // breadth-first; node 0 is the root
  std::vector<unsigned char> labels_;
  std::vector<uint32_t> children_;
};

}  // namespace quillaret
