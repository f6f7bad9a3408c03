// The translation pass: walks the top-level records of a tree once, in file
// order, and replaces the payloads of the fields that fields.h lists with
// their French text from the lexicons. Each replacement corrects the
// subrecord's size and its record's size; everything else is left alone.
#pragma once

#include <string>
#include <string_view>

#include "lexicon/lexicon.h"
#include "plugin/reader.h"
#include "plugin/record_tree.h"
#include "translate/text_arena.h"

namespace quillaret {

// What the pass works on and what it leaves. The tree's replaced payloads
// point into the lexicons and the arena, which must outlive the writing of
// the output; the input must outlive the tree.
struct Translation {
  std::string_view input;  // the whole input file
  RecordTree& tree;
  const Lexicons& lexicons;
  TextArena& arena;
  std::string* log;       // the trace log's lines are added here; null for none
  std::string* messages;  // the console lines, in order
  std::string build = {};  // where a rewritten text is assembled
};

// The entries the pass reads: the records it handles and, in them, the
// subrecords it may replace. A tree read through this filter translates
// exactly as one that holds every entry.
const NodeFilter& translated_entries();

// Runs the pass over every top-level record of the tree. Returns 0, or -1
// as soon as a payload is too large (after its message); the pass then
// stops there, and the nodes replaced before stay replaced.
int translate_records(Translation& t);

}  // namespace quillaret
