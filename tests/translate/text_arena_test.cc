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
  EXPECT_EQ(arena.bytes_used(), total);
}

TEST(TextArena, TextsStoredInTurnLieSideBySideEachWithOneNul) {
  TextArena arena;
  std::string expected;
  const char* first = nullptr;
  for (int i = 0; i < 2000; ++i) {
    const std::string text(static_cast<size_t>(i % 23), static_cast<char>('A' + i % 26));
    const char* address = arena.store(text);
    if (first == nullptr) first = address;
    ASSERT_EQ(address, first + expected.size());
    expected += text + '\0';
  }
  EXPECT_EQ(std::string_view(first, expected.size()), expected);

  // Reset, it stores the next texts from the start of the block it kept.
  arena.reset();
  EXPECT_EQ(arena.bytes_used(), 0u);
  EXPECT_EQ(arena.store("again"), first);
}

}  // namespace
}  // namespace quillaret::testing
