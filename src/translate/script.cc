#include <limits>

#include "platform/console.h"
#include "translate/translate.h"

namespace quillaret {
namespace {

bool starts_add_topic(std::string_view text, size_t i) {
  // Tested at every step of every script: the first byte rules out nearly all.
  if (text[i] != 'A' && text[i] != 'a') return false;
  const std::string_view rest = text.substr(i);
  return rest.starts_with("AddTopic \"") || rest.starts_with("addtopic \"");
}

}  // namespace

const LexiconEntry* match_quoted_entry(const Lexicon& lexicon, std::string_view text,
                                       size_t position) {
  // No source holds a double quote, so the longest source that begins
  // here can be followed by one only if it is all the text up to the next
  // quote: that text is looked up whole. An empty name matches nothing.
  const size_t quote = text.find('"', position);
  if (quote == std::string_view::npos || quote == position) return nullptr;
  return lexicon.find_exact(text.substr(position, quote - position));
}

int rewrite_script_text(Translation& t, int32_t index) {
  std::optional<Rewrite> rewrite = start_rewrite(t, t.tree.nodes[static_cast<size_t>(index)]);
  if (!rewrite) return -1;
  const std::string_view text = rewrite->text;
  size_t i = 0;

  // After an opening quote (or the quote of an AddTopic argument), replaces
  // the quoted name with its target; the closing quote stays.
  auto replace_quoted = [&](const LexiconEntry* entry) {
    if (entry == nullptr) return;
    rewrite->replace(i, i + entry->source.size(), entry->target);
    i += entry->source.size() + 1;
  };

  while (i < text.size()) {
    if (starts_add_topic(text, i)) {
      i += 10;
      const LexiconEntry* entry = match_quoted_entry(t.lexicons.topics, text, i);
      if (entry == nullptr) entry = match_quoted_entry(t.lexicons.names, text, i);
      replace_quoted(entry);
    } else if (text[i] == '"') {
      ++i;
      replace_quoted(match_quoted_entry(t.lexicons.names, text, i));
    } else {
      while (i < text.size() && !is_word_delimiter(text[i])) ++i;
    }
    // Every quote begins a step of its own, so it ends a run of delimiters.
    while (i < text.size() && is_word_delimiter(text[i]) && text[i] != '"') ++i;
  }
  if (!rewrite->changed) return 0;
  const std::string& out = rewrite->finish();
  if (out.size() > std::numeric_limits<uint32_t>::max()) {
    t.console.print("Bad record size!\n");
    return -1;
  }
  const char* stored = t.arena.store(out);
  return replace_payload(t, index, stored, static_cast<uint32_t>(out.size()));
}

}  // namespace quillaret
