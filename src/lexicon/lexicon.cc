#include "lexicon/lexicon.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "lexicon/lexicon_order.h"
#include "platform/files.h"

namespace quillaret {

namespace {

// 0x80 in each byte of `bytes` that is zero, 0 in the others.
inline uint64_t zero_bytes(uint64_t bytes) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  return ~(((bytes & kLow7) + kLow7) | bytes | kLow7);
}

// Pairs the strings of `text` (modified in place: every double quote
// becomes a NUL) in file order, up to its first NUL. A source without a
// target is dropped.
std::vector<LexiconEntry> parse_lexicon_text(std::string& text) {
  // A quote opens a string when it is the first quote of its line, that is
  // when a line feed lies between it and the quote before it (or no quote
  // comes before it); the string ends at the next quote or at the end of the
  // text (its first NUL). Only quotes and line feeds matter: they are found
  // eight bytes at a time, in one pass.
  char* const begin = text.data();
  char* const end = begin + std::strlen(begin);
  std::vector<LexiconEntry> entries;
  // A pair takes two lines in a lexicon as written: reserving for that
  // many spares the vector's regrowth, a copy of all entries each time.
  entries.reserve(static_cast<size_t>(std::count(begin, end, '\n')) / 2 + 1);
  std::string_view source;
  bool have_source = false;
  const char* open = nullptr;  // the start of the string being read
  bool line_feed = true;       // since the last quote, or from the start
  const auto close = [&](const char* stop) {
    const std::string_view string(open, static_cast<size_t>(stop - open));
    if (have_source) entries.push_back({source, string});
    source = string;
    have_source = !have_source;
    open = nullptr;
  };
  const auto met = [&](char* at) {
    if (*at == '\n') {
      line_feed = true;
      return;
    }
    if (open != nullptr) close(at);
    if (line_feed) open = at + 1;
    line_feed = false;
    *at = '\0';
  };
  char* at = begin;
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kQuotes = 0x2222222222222222ull;
    constexpr uint64_t kLineFeeds = 0x0A0A0A0A0A0A0A0Aull;
    for (; end - at >= 8; at += 8) {
      uint64_t bytes;
      std::memcpy(&bytes, at, 8);
      for (uint64_t found = zero_bytes(bytes ^ kQuotes) | zero_bytes(bytes ^ kLineFeeds); found != 0;
           found &= found - 1) {
        met(at + std::countr_zero(found) / 8);
      }
    }
  }
  for (; at < end; ++at) {
    if (*at == '"' || *at == '\n') met(at);
  }
  if (open != nullptr) close(end);
  return entries;
}

}  // namespace

Lexicon::Lexicon(std::string file_bytes, bool phrases)
    : text_(std::make_unique<std::string>(std::move(file_bytes))) {
  entries_ = parse_lexicon_text(*text_);

  std::vector<std::string_view> sources(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) sources[i] = entries_[i].source;
  const std::vector<uint32_t> repeats = table_.build(*text_, sources, phrases);
  if (repeats.empty()) return;
  // Among identical sources, the first that the exchange sort leaves wins:
  // each length that has some is put in that order, and its identical
  // sources preferred from last to first.
  std::vector<char> tied(sources.size(), 0);
  std::vector<std::vector<uint32_t>> by_length;  // the tied entries, a length at a time
  for (uint32_t repeat : repeats) {
    const size_t first = static_cast<size_t>(table_.find_exact(sources[repeat]));
    for (size_t entry : {size_t{repeat}, first}) {
      if (tied[entry]) continue;
      tied[entry] = 1;
      auto same = std::find_if(by_length.begin(), by_length.end(), [&](const auto& group) {
        return sources[group.front()].size() == sources[entry].size();
      });
      if (same == by_length.end()) same = by_length.emplace(by_length.end());
      same->push_back(static_cast<uint32_t>(entry));
    }
  }
  std::vector<size_t> lengths(sources.size());
  for (size_t i = 0; i < sources.size(); ++i) lengths[i] = sources[i].size();
  for (std::vector<uint32_t>& group : by_length) {
    const size_t length = sources[group.front()].size();
    const std::vector<uint32_t> order = exchange_sort_among(lengths, length, std::move(group));
    for (size_t i = order.size(); i-- > 0;) {
      table_.prefer(sources[order[i]], static_cast<int32_t>(order[i]));
    }
  }
}

bool load_lexicon(const std::string& path, bool phrases, Lexicon* lexicon) {
  std::string bytes;
  if (!platform::read_file(path, &bytes)) return false;
  *lexicon = Lexicon(std::move(bytes), phrases);
  return true;
}

}  // namespace quillaret
