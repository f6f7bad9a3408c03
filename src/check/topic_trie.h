// Which of a set of topics a text mentions, as the game links them: where
// a word begins with the topic, case folded; one trie walk per word start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillaret::check {

class TopicTrie {
 public:
  TopicTrie() = default;
  // Topic `i` is `topics[i]`; the views need not outlive the trie.
  explicit TopicTrie(const std::vector<std::string_view>& topics);

  size_t size() const { return size_; }
  bool empty() const { return topic_at_.size() <= 1; }

  // Sets `mentioned[i]` (sized to the number of topics) for every topic
  // that `text` mentions.
  void mark_mentions(std::string_view text, std::vector<char>& mentioned) const;

  // The index of a topic equal to `name` (the last one given, among
  // duplicates), or -1.
  int32_t find(std::string_view name) const;

 private:
  int32_t child(uint32_t node, char c) const;

  // Edges keyed by parent node << 8 | folded byte; the root's are also
  // kept in a table, since the first byte is tried at every word start.
  std::unordered_map<uint64_t, uint32_t> edges_;
  int32_t root_children_[256] = {};
  std::vector<int32_t> topic_at_;  // per node: the topic ending there, or -1
  size_t size_ = 0;
};

}  // namespace quillaret::check
