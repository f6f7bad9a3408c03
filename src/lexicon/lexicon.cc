#include "lexicon/lexicon.h"

#include <cstring>

#include "lexicon/lexicon_order.h"
#include "platform/console.h"
#include "platform/platform.h"

namespace quillaret {

std::vector<LexiconEntry> parse_lexicon_text(std::vector<char>& text) {
  // Strings start right after an opening quote and end at the next NUL,
  // which is either a later quote (turned into NUL below) or the end.
  std::vector<const char*> strings;
  bool line_start = true;
  for (char* p = text.data(); *p != '\0'; ++p) {
    if (*p == '"') {
      if (line_start) strings.push_back(p + 1);
      *p = '\0';
      line_start = false;
    } else if (*p == '\n') {
      line_start = true;
    }
  }
  std::vector<LexiconEntry> entries;
  entries.reserve(strings.size() / 2);
  for (size_t i = 0; i + 1 < strings.size(); i += 2) {
    entries.push_back({std::string_view(strings[i]), std::string_view(strings[i + 1])});
  }
  return entries;
}

Lexicon::Lexicon(std::vector<char> file_bytes) : text_(std::move(file_bytes)) {
  if (text_.empty() || text_.back() != '\0') text_.push_back('\0');
  std::vector<LexiconEntry> in_file_order = parse_lexicon_text(text_);

  std::vector<size_t> lengths(in_file_order.size());
  for (size_t i = 0; i < lengths.size(); ++i) lengths[i] = in_file_order[i].source.size();
  entries_.reserve(in_file_order.size());
  for (uint32_t i : exchange_sort_order(lengths)) entries_.push_back(in_file_order[i]);

  std::vector<std::string_view> sources(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) sources[i] = entries_[i].source;
  index_.build(sources);
}

namespace {

bool read_whole_file(const std::string& path, std::vector<char>* bytes) {
  platform::FilePtr file = platform::open_for_reading(path);
  if (!file) return false;
  int64_t size = platform::file_size(file.get());
  if (size < 0) return false;
  bytes->resize(static_cast<size_t>(size) + 1);
  size_t read = std::fread(bytes->data(), 1, static_cast<size_t>(size), file.get());
  if (read != static_cast<size_t>(size) || std::ferror(file.get())) return false;
  (*bytes)[read] = '\0';
  return true;
}

}  // namespace

int load_lexicon(const std::string& path, Lexicon* lexicon, Console& console) {
  std::vector<char> bytes;
  if (!read_whole_file(path, &bytes)) {
    console.print("file does not exist " + path + "!\n");
    console.wait();
    return -1;
  }
  *lexicon = Lexicon(std::move(bytes));
  return 0;
}

int load_lexicons(const std::string& prefix, Lexicons* lexicons, Console& console) {
  if (load_lexicon(prefix + "_dial.txt", &lexicons->topics, console) != 0) return -1;
  if (load_lexicon(prefix + "_fact.txt", &lexicons->factions, console) != 0) return -1;
  if (load_lexicon(prefix + "_name.txt", &lexicons->names, console) != 0) return -1;
  return 0;
}

}  // namespace quillaret
