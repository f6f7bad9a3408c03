#include "translate/pass.h"

namespace quillaret {

int translate_response_text(Translation& t, int32_t index) {
  std::optional<Rewrite> rewrite = start_rewrite(t, t.tree.nodes[static_cast<size_t>(index)]);
  if (!rewrite) return -1;
  const std::string_view text = rewrite->text;
  const Lexicon& topics = t.lexicons.topics;
  const Lexicon& names = t.lexicons.names;
  size_t i = 0;
  while (i < text.size()) {
    // Phrases begin only at the start of the text or of a word; topics
    // take precedence over names at the same position. A phrase that ends
    // at a word boundary spans the whole word that it begins with, so a
    // word that begins no source of a lexicon needs no lookup there.
    const size_t word_end = quillaret::word_end(text, i);
    const uint64_t key = word_key(text.substr(i, word_end - i));
    const LexiconEntry* entry = nullptr;
    if (topics.may_begin_phrase(key)) entry = topics.phrase_at(text, i, word_end, key);
    if (entry == nullptr && names.may_begin_phrase(key)) {
      entry = names.phrase_at(text, i, word_end, key);
    }
    if (entry != nullptr) {
      rewrite->replace(i, i + entry->source.size(), entry->target);
      i += entry->source.size();
    } else {
      i = word_end;
    }
    while (i < text.size() && is_word_delimiter(text[i])) ++i;
  }
  if (!rewrite->changed) return 0;
  const std::string& out = rewrite->finish();
  if (out.size() > MAX_RESPONSE_LENGTH) {
    *t.messages += "string too long!\n";
    return 0;
  }
  const char* stored = t.arena.store(out);
  return replace_payload(t, index, stored, out.size());
}

}  // namespace quillaret
