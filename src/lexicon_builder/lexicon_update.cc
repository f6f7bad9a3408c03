#include "lexicon_builder/lexicon_update.h"

#include "lexicon/lexicon.h"

namespace quillaret::lexicon_builder {
namespace {

// How the lexicon reader (lexicon.h) leaves a file's end: how many strings
// it read, and whether the last one ran to the end without its closing quote.
struct Ending {
  size_t strings = 0;
  bool open = false;
};

Ending read_ending(std::string_view text) {
  Ending ending;
  bool line_feed = true;  // since the last quote
  for (char c : text) {
    if (c == '\n') {
      line_feed = true;
    } else if (c == '"') {
      if (ending.open) ++ending.strings;
      ending.open = line_feed;
      line_feed = false;
    }
  }
  if (ending.open) ++ending.strings;
  return ending;
}

void append_string(std::string& bytes, std::string_view text) {
  bytes.append(1, '"').append(text).append("\"\r\n");
}

}  // namespace

bool update_lexicon(std::string_view existing, const LexiconChoices& choices, LexiconUpdate* update,
                    std::string* error) {
  if (existing.find('\0') != std::string_view::npos) {
    *error = "holds a NUL byte, after which the translator reads nothing";
    return false;
  }
  const Ending ending = read_ending(existing);
  if (ending.open) {
    *error = "ends inside a string: its last double quote is missing";
    return false;
  }
  if (ending.strings % 2 != 0) {
    *error = "ends with an English text without its French text";
    return false;
  }

  const Lexicon before(std::string(existing), false);
  update->bytes.assign(existing);
  if (!existing.empty() && existing.back() != '\n') update->bytes += "\r\n";
  for (size_t i = 0; i < choices.choices.size(); ++i) {
    const Choice& choice = choices.choices[i];
    const std::string_view target = choice.candidates[choice.chosen].target;
    if (const LexiconEntry* entry = before.find_exact(choice.source)) {
      if (entry->target == target) {
        ++update->kept;
      } else {
        update->disagreements.push_back({i, std::string(entry->target)});
      }
      continue;
    }
    append_string(update->bytes, choice.source);
    append_string(update->bytes, target);
    ++update->added;
  }
  // Nothing was added: the file stays byte for byte, line end included.
  if (update->added == 0) update->bytes.resize(existing.size());
  return true;
}

}  // namespace quillaret::lexicon_builder
