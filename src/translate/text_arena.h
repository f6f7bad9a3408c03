// Storage for rewritten dialogue responses and script texts. Every stored
// text keeps its address until the arena is reset or destroyed, which
// happens after the output has been written; the arena grows as needed and
// never fills.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace quillaret {

class TextArena {
 public:
  // Copies `text` followed by one NUL and returns the address of the copy.
  // Texts stored one after another lie side by side within a block.
  const char* store(std::string_view text);

  // Forgets every text stored, keeping one block to store the next ones
  // in: an arena used over and over touches no new memory.
  void reset();

 private:
  static constexpr size_t kBlockSize = 1 << 20;

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t block_used_ = 0;
  size_t block_size_ = 0;
};

}  // namespace quillaret
