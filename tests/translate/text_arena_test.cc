// The arena holds every rewritten text until the writer has run: nothing it
// returned may move or be overwritten, however much is stored after it.
#include "translate/text_arena.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quillaret::testing {
namespace {

TEST(TextArena, EveryTextStaysInPlaceWhileTheArenaGrows) {
  TextArena arena;
  std::mt19937 rng(99);
  std::vector<std::pair<const char*, std::string>> stored;
  size_t total = 0;
  for (int i = 0; total < (5u << 20); ++i) {
    // Mostly small texts, now and then one larger than any sensible block.
    const size_t length =
        i % 97 == 96 ? (3u << 19) : std::uniform_int_distribution<size_t>(0, 3000)(rng);
    std::string text(length, static_cast<char>('a' + i % 26));
    if (!text.empty()) text.back() = static_cast<char>(i);  // tells neighbours apart
    stored.emplace_back(arena.store(text), text);
    total += length + 1;
  }
  for (const auto& [address, text] : stored) {
    ASSERT_EQ(std::string_view(address, text.size() + 1), text + '\0');
  }

  // Reset, it forgets them all but keeps a block to store the next ones in.
  arena.reset();
  const char* again = arena.store("again");
  arena.reset();
  EXPECT_EQ(arena.store("again"), again);
}

}  // namespace
}  // namespace quillaret::testing
