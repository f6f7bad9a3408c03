#include "check/topic_trie.h"

#include <algorithm>
#include <iterator>

#include "check/names.h"
#include "lexicon/words.h"

namespace quillaret::check {

TopicTrie::TopicTrie(const std::vector<std::string_view>& topics)
    : topic_at_(1, -1), size_(topics.size()) {
  std::fill(std::begin(root_children_), std::end(root_children_), -1);
  for (size_t i = 0; i < topics.size(); ++i) {
    uint32_t node = 0;
    for (char c : topics[i]) {
      const int32_t next = child(node, c);
      if (next >= 0) {
        node = static_cast<uint32_t>(next);
        continue;
      }
      const auto created = static_cast<uint32_t>(topic_at_.size());
      topic_at_.push_back(-1);
      const auto byte = static_cast<unsigned char>(fold_case(c));
      if (node == 0) root_children_[byte] = static_cast<int32_t>(created);
      edges_.emplace(uint64_t{node} << 8 | byte, created);
      node = created;
    }
    // An empty topic is mentioned nowhere.
    if (node != 0) topic_at_[node] = static_cast<int32_t>(i);
  }
}

int32_t TopicTrie::child(uint32_t node, char c) const {
  const auto byte = static_cast<unsigned char>(fold_case(c));
  if (node == 0) return root_children_[byte];
  const auto it = edges_.find(uint64_t{node} << 8 | byte);
  return it == edges_.end() ? -1 : static_cast<int32_t>(it->second);
}

void TopicTrie::mark_mentions(std::string_view text, std::vector<char>& mentioned) const {
  if (empty()) return;
  for (size_t start = 0; start < text.size(); ++start) {
    if (start > 0 && !is_word_delimiter(text[start - 1])) continue;
    int32_t node = 0;
    for (size_t i = start; i < text.size(); ++i) {
      node = child(static_cast<uint32_t>(node), text[i]);
      if (node < 0) break;
      const int32_t topic = topic_at_[static_cast<size_t>(node)];
      if (topic >= 0) mentioned[static_cast<size_t>(topic)] = 1;
    }
  }
}

int32_t TopicTrie::find(std::string_view name) const {
  int32_t node = 0;
  for (char c : name) {
    node = child(static_cast<uint32_t>(node), c);
    if (node < 0) return -1;
  }
  return topic_at_[static_cast<size_t>(node)];
}

}  // namespace quillaret::check
