#include "translate/text_arena.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace quillaret {

const char* TextArena::store(std::string_view text) {
  const size_t needed = text.size() + 1;
  if (blocks_.empty() || block_size_ - block_used_ < needed) {
    block_size_ = std::max(kBlockSize, needed);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
    block_used_ = 0;
  }
  char* copy = blocks_.back().get() + block_used_;
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  block_used_ += needed;
  used_total_ += needed;
  return copy;
}

void TextArena::absorb(TextArena&& other) {
  // The absorbed blocks go first, so that the last block, the one still
  // being filled, stays last.
  blocks_.insert(blocks_.begin(), std::make_move_iterator(other.blocks_.begin()),
                 std::make_move_iterator(other.blocks_.end()));
  used_total_ += other.used_total_;
  other.blocks_.clear();
  other.block_used_ = other.block_size_ = other.used_total_ = 0;
}

}  // namespace quillaret
