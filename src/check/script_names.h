// The cells, topics and journals that script commands name, and the
// quoted texts of a script, read as the game's compiler reads its lines.
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
  interior,     // an interior cell's whole name: where a door or a traveller goes
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
// missing or empty argument gives nothing. A line ends at LF or CR; `;`
// outside quotes starts a comment; arguments, quoted or bare, are separated
// by blanks, commas, parentheses or comparison signs; `x->Command` is read
// as `Command`.
void find_script_names(std::string_view script, std::vector<ScriptName>* names);

// Every double-quoted text of `script` outside comments, without its quotes;
// a quote left open runs to the end of its line.
void find_quoted_texts(std::string_view script, std::vector<std::string_view>* texts);

}  // namespace quillaret::check
