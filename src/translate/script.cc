#include "translate/pass.h"

namespace quillaret {
namespace {

// Whether an AddTopic (in either spelling) and a space, beginning the text
// or a word, end right before the quote at `quote`. (The scan, which goes
// on after a quote, cannot have passed such a word: it holds no quote.)
bool add_topic_before(std::string_view text, size_t quote) {
  constexpr size_t kLength = 9;  // "AddTopic "
  if (quote < kLength) return false;
  const size_t start = quote - kLength;
  if (start > 0 && !is_word_delimiter(text[start - 1])) return false;
  const std::string_view word = text.substr(start, kLength);
  return word == "AddTopic " || word == "addtopic ";
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

  // The text is read a step at a time: a word, or a double quote, which
  // opens a name to look up. An AddTopic's argument is looked up among the
  // topics first; it always ends with a quote. So the scan goes from quote
  // to quote, and tells at each whether an AddTopic that begins at a step
  // ends right before it; the words between need no look.
  for (size_t quote; (quote = text.find('"', i)) != std::string_view::npos;) {
    const bool add_topic = add_topic_before(text, quote);
    i = quote + 1;
    const LexiconEntry* entry = nullptr;
    if (add_topic) entry = match_quoted_entry(t.lexicons.topics, text, i);
    if (entry == nullptr) entry = match_quoted_entry(t.lexicons.names, text, i);
    replace_quoted(entry);
  }
  if (!rewrite->changed) return 0;
  const std::string& out = rewrite->finish();
  return replace_payload(t, index, t.arena.store(out), out.size());
}

}  // namespace quillaret
