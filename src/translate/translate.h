// The translation pass: walks the top-level records once, in file order, and
// replaces the payloads that the lexicons translate:
//
//   ARMO BSGN CLAS CLOT CONT CREA DOOR INGR LIGH MISC RACE REGN SPEL WEAP
//               FNAM                   name lexicon, logged when untranslated
//   NPC_        FNAM, DNAM             name lexicon, logged
//   PGRD        NAME                   name lexicon, logged
//   CELL        first NAME, every DNAM name lexicon, logged
//   FACT        FNAM, RNAM             faction lexicon, logged
//   DIAL        NAME                   topic lexicon, else name lexicon, logged
//   INFO        ANAM                   name lexicon, logged
//   INFO        NAME                   response phrases     (translate_response_text)
//   INFO        BNAM; SCPT SCTX        quoted script names  (rewrite_script_text)
//   INFO        SCVR                   BLX condition names  (translate_condition_name)
//
// Every other record kind and subrecord passes through untouched. Each
// replacement corrects the subrecord's size and its record's size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.h"
#include "lexicon/words.h"
#include "plugin/record_tree.h"
#include "translate/text_arena.h"

namespace quillaret {

class Console;


// Payloads of this many bytes or more are refused; the pass then fails.
constexpr uint32_t kMaxPayloadSize = 32768;

// A rewritten response longer than this keeps its English text.
constexpr size_t MAX_RESPONSE_LENGTH = 512;

// What the pass works on. The tree's replaced payloads point into the
// lexicons and the arena, which must outlive the writing of the output.
struct Translation {
  std::string_view input;  // the whole input file
  RecordTree& tree;
  const Lexicons& lexicons;
  TextArena& arena;
  std::string* trace_log;  // the log's lines are added here; null for none
  Console& console;
  std::string build = {};  // where a rewritten text is assembled
};

// The entries the pass reads: the records it handles and, in them, the
// subrecords it may replace. A tree read through this filter translates
// exactly as one that holds every entry.
const NodeFilter& translated_entries();

// Runs the pass. Returns 0 (after printing "done!"), or -1 as soon as a
// payload is too large.
int translate_records(Translation& t);

// The pass over the top-level records from node `first` up to, not
// including, node `end` (-1: to the last). Returns 0, or -1 as soon as a
// payload is too large; prints no "done!". Different ranges touch
// different nodes, so that each can have a thread of its own, each with
// its own Translation.
int translate_range(Translation& t, int32_t first, int32_t end);

// Whole-string lookup of a name payload (its text up to the first NUL).
// Returns 1 when replaced (or when the payload is too short to hold a name),
// 0 when no entry matched (logged when `log_untranslated`), -1 when the
// payload is too large.
int translate_whole_string(Translation& t, int32_t node, const Lexicon& lexicon,
                           bool log_untranslated);

// Points `node` at `new_text` of `new_size` bytes and corrects its record's
// size by the difference. Returns -1 (after "Bad record size!") when the
// record's size would no longer fit in 32 bits or would fall below the 8
// bytes of one subrecord header, 0 otherwise.
int replace_payload(Translation& t, int32_t node, const char* new_text, uint32_t new_size);

// The payload of an unreplaced node up to its first NUL.
std::string_view payload_text(const Translation& t, const RecordNode& node);

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

// Starts the rewriting of a response or script node into `t.build`; or,
// after the message that names the subrecord, nothing when its payload is
// too large.
std::optional<Rewrite> start_rewrite(Translation& t, const RecordNode& node);

// Rewrites a dialogue response (an INFO's NAME): at the start of every word
// the topic, else the name, phrase that begins there and ends at a word
// boundary is replaced. Returns 0, or -1 when the payload is too large.
int translate_response_text(Translation& t, int32_t node);

// Rewrites a script text (an INFO's BNAM or a SCPT's SCTX): AddTopic
// arguments by the topic, else the name lexicon, other quoted names by the
// name lexicon. Returns 0, or -1 when the payload is too large.
int rewrite_script_text(Translation& t, int32_t node);

// The entry whose source is the longest that begins `text` at `position`,
// provided a double quote follows it there; null otherwise.
const LexiconEntry* match_quoted_entry(const Lexicon& lexicon, std::string_view text,
                                       size_t position);

// Translates the name of a condition whose codes read "BLX" by exact lookup
// in the name lexicon. Returns 0, or -1 when the payload is too large.
int translate_condition_name(Translation& t, int32_t node);

}  // namespace quillaret
