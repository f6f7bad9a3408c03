// Adds chosen pairs to a lexicon file without touching what it holds: the
// file's bytes stay as they are (comments, order, line ends, a user's
// corrections) and the new pairs follow them, each string on a line of its
// own with CRLF line ends. A source the file already has keeps its pair.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon_builder/choices.h"

namespace quillaret::lexicon_builder {

struct LexiconUpdate {
  std::string bytes;  // the whole new file
  size_t added = 0;   // sources new to the file
  size_t kept = 0;    // sources the file already pairs with the chosen text
  // Sources the file already pairs with another text, which stays.
  struct Disagreement {
    size_t choice = 0;  // in LexiconChoices::choices
    std::string existing;
  };
  std::vector<Disagreement> disagreements;
};

// Builds the update of the file `existing` (empty for a new file). False,
// with the reason in `*error`, when appending would change what the file
// means to the translator: it holds a NUL byte (the reading stops there),
// ends inside a string, or ends with a source without its target.
bool update_lexicon(std::string_view existing, const LexiconChoices& choices, LexiconUpdate* update,
                    std::string* error);

}  // namespace quillaret::lexicon_builder
