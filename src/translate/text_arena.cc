#include "translate/text_arena.h"

#include <algorithm>
#include <cstring>

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
  return copy;
}

void TextArena::reset() {
  if (!blocks_.empty()) {
    // The last block is the one being filled, of the usual size unless a
    // text needed more.
    std::unique_ptr<char[]> kept = std::move(blocks_.back());
    blocks_.clear();
    if (block_size_ == kBlockSize) blocks_.push_back(std::move(kept));
  }
  block_used_ = 0;
}

}  // namespace quillaret
