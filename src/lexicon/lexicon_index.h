// A read-only trie, in its compressed (radix) form, over the sources of one
// lexicon. It answers the question the translation asks at the start of
// many words of a text: which entry's source is the longest that the text
// begins with. Among identical sources it returns the one stored first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillaret {

class LexiconIndex {
 public:
  // `sources` in stored order, none holding a NUL byte (a lexicon string
  // ends at its first NUL); the index keeps no pointer to them.
  void build(const std::vector<std::string_view>& sources);

  // Stored position of the first of the longest non-empty sources that
  // `text` begins with, or -1.
  int32_t longest_prefix(std::string_view text) const;

 private:
  // A radix tree: an edge carries the bytes of a whole run of trie nodes that
  // neither branch nor end a source, so that a lookup compares a few short
  // byte strings where a plain trie would visit a node per byte. At every
  // word of every response those visits are cache misses, and each depends
  // on the one before; so an edge also holds what a lookup needs of the node
  // it leads to, the first bytes of its label and those of the node's first
  // edges. A step of a lookup then reads one edge, 32 bytes that never
  // straddle two cache lines, and only long labels or nodes with many edges
  // need the arrays beside.
  static constexpr size_t kHeadBytes = 10;
  static constexpr size_t kNextBytes = 4;
  struct alignas(32) Edge {
    int32_t entry;                   // first stored source ending at its node, or -1
    uint32_t first_edge;             // the node's edges: [first_edge, first_edge + edge_count),
    uint32_t length;                 // bytes of the label, at least one
    uint32_t tail;                   // offset in tails_ of the label's bytes after the head
    uint16_t edge_count;             // in the order of their first bytes
    unsigned char next[kNextBytes];  // first bytes of the node's first edges
    unsigned char head[kHeadBytes];  // first bytes of the label
  };
  static_assert(sizeof(Edge) == 32);
  static constexpr uint32_t kNoEdge = ~0u;

  // The edge of the node that `edge` leads to whose label begins with
  // `byte`, or kNoEdge.
  uint32_t next_edge(const Edge& edge, unsigned char byte) const;

  // Whether the label of `edge` follows in `text` at `position`, where its
  // first byte already matched.
  bool follows(const Edge& edge, std::string_view text, size_t position) const;

  // Whether some source of three bytes or more begins with the first three
  // bytes of `text` (which has as many); false only when none does. Most
  // words of a response begin no source: this bit array of a few kilobytes,
  // which stays in cache, rules them out without a walk through the tree.
  bool may_begin_long_source(std::string_view text) const {
    const uint32_t bit = trigram_bit(text);
    return (trigrams_[bit / 64] >> (bit % 64) & 1) != 0;
  }
  static uint32_t trigram_bit(std::string_view text) {
    const uint32_t trigram = static_cast<unsigned char>(text[0]) |
                             static_cast<uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
                             static_cast<uint32_t>(static_cast<unsigned char>(text[2])) << 16;
    return (trigram * 0x9E3779B1u) >> (32 - kTrigramBits);
  }
  static constexpr uint32_t kTrigramBits = 17;

  std::vector<uint64_t> trigrams_ = std::vector<uint64_t>((1u << kTrigramBits) / 64, 0);
  bool has_short_sources_ = false;  // of one or two bytes
  std::vector<Edge> edges_;
  std::vector<unsigned char> first_bytes_;  // of each edge, for nodes with many
  std::vector<unsigned char> tails_;
  // Every lookup starts at the root, whose edges are the most numerous:
  // they are found by their first byte directly (edge index + 1, or 0).
  std::array<uint32_t, 256> root_edges_{};
};

}  // namespace quillaret
