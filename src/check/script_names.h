// Script text as the game's compiler reads it, for the names it holds:
// line by line, `;` starting a comment outside quotes, arguments separated
// by spaces or commas (or parentheses and comparison signs), quoted or bare,
// and a command possibly following `->`.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillaret::check {

// What a command's argument names, and how the game matches it.
enum class NameKind : uint8_t {
  cell,         // a cell's whole name
  cell_prefix,  // the beginning of a cell's name
  topic,        // a dialogue topic
  journal,      // a journal's ID
};

struct ScriptName {
  std::string_view command;  // as written
  std::string_view name;     // the argument, without its quotes
  NameKind kind;
};

// Every name that a command of `script` naming a cell, a topic or a journal
// passes, in text order: PositionCell (5th argument), PlaceItemCell,
// AIEscortCell, AIFollowCell (2nd), CenterOnCell, COC (cells), GetPCCell
// (a cell prefix), AddTopic (a topic), Journal, SetJournalIndex,
// GetJournalIndex (journals). Command names match whatever their case; a
// missing or empty argument gives nothing.
void find_script_names(std::string_view script, std::vector<ScriptName>* names);

// Every double-quoted text of `script` outside comments, without its quotes;
// a quote left open runs to the end of its line.
void find_quoted_texts(std::string_view script, std::vector<std::string_view>* texts);

}  // namespace quillaret::check
