// The pieces of the translation pass, shared by its source files only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lexicon/lexicon.h"
#include "translate/translate.h"

namespace quillaret {

// Payloads of this many bytes or more are refused; the pass then fails.
constexpr uint32_t kMaxPayloadSize = 32768;

// A rewritten response longer than this keeps its English text.
constexpr size_t MAX_RESPONSE_LENGTH = 512;

// Whether the payload of `node` is too large to translate; if it is, its
// message is added ("Bad SCPT SCTX record size! <size>" for a script source,
// "Bad INFO NAME/BNAM record size! <size>" for a response or result script,
// "Bad record size!" for any other).
bool refuse_large_payload(Translation& t, const RecordNode& node);

// Points node `index` at `new_text` of `new_size` bytes and corrects its
// record's size by the difference. Returns -1 (after "Bad record size!")
// when a size would no longer fit in 32 bits or the record's would fall
// below the 8 bytes of one subrecord header, 0 otherwise.
int replace_payload(Translation& t, int32_t index, const char* new_text, uint64_t new_size);

// The payload of an unreplaced node (after a condition's prefix) up to its
// first NUL.
std::string_view payload_text(const Translation& t, const RecordNode& node);

// Whole-string lookup of a name payload. Returns 1 when replaced (or when
// the payload is too short to hold a name), 0 when no entry matched (logged
// when `log_untranslated`), -1 when the payload is too large.
int translate_whole_string(Translation& t, int32_t index, const Lexicon& lexicon,
                           bool log_untranslated);

// A dialogue response or script text being rewritten: what lies between
// two replacements is copied in one piece, when the second is met (or at
// the end); a text without replacements is not copied at all.
struct Rewrite {
  std::string_view text;  // the payload up to its first NUL
  std::string& out;
  size_t copied = 0;  // the text's bytes before this are in `out`
  bool changed = false;

  // Puts `with` in place of the text's bytes from `from` to `to`.
  void replace(size_t from, size_t to, std::string_view with) {
    out.append(text, copied, from - copied);
    out += with;
    copied = to;
    changed = true;
  }

  // The whole rewritten text.
  const std::string& finish() {
    out.append(text, copied);
    copied = text.size();
    return out;
  }
};

// Starts the rewriting of a response or script node into `t.build`;
// nothing when its payload is too large (after the message).
std::optional<Rewrite> start_rewrite(Translation& t, const RecordNode& node);

// Rewrites a dialogue response (an INFO's NAME): at the start of every word
// the topic, else the name, phrase that begins there and ends at a word
// boundary is replaced. Returns 0, or -1 when the payload is too large.
int translate_response_text(Translation& t, int32_t index);

// Rewrites a script text (an INFO's BNAM or a SCPT's SCTX): AddTopic
// arguments by the topic, else the name lexicon, other quoted names by the
// name lexicon. Returns 0, or -1 when the payload is too large.
int rewrite_script_text(Translation& t, int32_t index);

// The entry whose source is the whole text from `position` up to the next
// double quote; null when there is no quote or no such entry.
const LexiconEntry* match_quoted_entry(const Lexicon& lexicon, std::string_view text,
                                       size_t position);

// Translates the name of a condition whose codes read "BLX" by exact lookup
// in the name lexicon. Returns 0, or -1 when the payload is too large.
int translate_condition_name(Translation& t, int32_t index);

}  // namespace quillaret
