#include "check/script_names.h"

#include <cstddef>
#include <iterator>

#include "check/names.h"

namespace quillaret::check {
namespace {

struct Token {
  std::string_view text;
  bool quoted = false;
};

bool is_line_end(char c) { return c == '\n' || c == '\r'; }

// Between arguments: blanks, commas, and the parentheses and comparison
// signs of an `if` around a function.
bool is_separator(char c) {
  return std::string_view(" \t,()=<>!").find(c) != std::string_view::npos;
}

// Reads the tokens of the line that begins at `*position` and moves it to
// the next line. False at the end of the script.
bool next_line(std::string_view script, size_t* position, std::vector<Token>* tokens) {
  tokens->clear();
  size_t i = *position;
  if (i >= script.size()) return false;
  while (i < script.size() && !is_line_end(script[i])) {
    const char c = script[i];
    if (is_separator(c)) {
      ++i;
    } else if (c == ';') {
      while (i < script.size() && !is_line_end(script[i])) ++i;
    } else if (c == '-' && i + 1 < script.size() && script[i + 1] == '>') {
      i += 2;
    } else if (c == '"') {
      const size_t begin = ++i;
      while (i < script.size() && script[i] != '"' && !is_line_end(script[i])) ++i;
      tokens->push_back({script.substr(begin, i - begin), true});
      if (i < script.size() && script[i] == '"') ++i;
    } else {
      const size_t begin = i;
      while (i < script.size() && !is_line_end(script[i]) && !is_separator(script[i]) &&
             script[i] != ';' && script[i] != '"' &&
             !(script[i] == '-' && i + 1 < script.size() && script[i + 1] == '>')) {
        ++i;
      }
      tokens->push_back({script.substr(begin, i - begin), false});
    }
  }
  while (i < script.size() && is_line_end(script[i])) ++i;
  *position = i;
  return true;
}

struct Command {
  std::string_view name;
  size_t argument;  // 1-based
  NameKind kind;
};

constexpr Command kCommands[] = {
    {"PositionCell", 5, NameKind::cell},       {"PlaceItemCell", 2, NameKind::cell},
    {"AIEscortCell", 2, NameKind::cell},       {"AIFollowCell", 2, NameKind::cell},
    {"CenterOnCell", 1, NameKind::cell},       {"COC", 1, NameKind::cell},
    {"GetPCCell", 1, NameKind::cell_prefix},   {"AddTopic", 1, NameKind::topic},
    {"Journal", 1, NameKind::journal},         {"SetJournalIndex", 1, NameKind::journal},
    {"GetJournalIndex", 1, NameKind::journal},
};

const Command* command_named(std::string_view text) {
  for (const Command& command : kCommands) {
    if (same_name(text, command.name)) return &command;
  }
  return nullptr;
}

// A local variable of a command's name (`short journal`, `set journal to
// 1`) is no command.
bool names_variable(std::string_view previous) {
  for (std::string_view word : {"short", "long", "float", "set"}) {
    if (same_name(previous, word)) return true;
  }
  return false;
}

}  // namespace

void find_script_names(std::string_view script, std::vector<ScriptName>* names) {
  std::vector<Token> tokens;
  for (size_t position = 0; next_line(script, &position, &tokens);) {
    for (size_t t = 0; t < tokens.size(); ++t) {
      if (tokens[t].quoted) continue;
      const Command* command = command_named(tokens[t].text);
      if (command == nullptr || t + command->argument >= tokens.size()) continue;
      if (t > 0 && names_variable(tokens[t - 1].text)) continue;
      const Token& argument = tokens[t + command->argument];
      if (!argument.text.empty()) names->push_back({tokens[t].text, argument.text, command->kind});
    }
  }
}

void find_quoted_texts(std::string_view script, std::vector<std::string_view>* texts) {
  std::vector<Token> tokens;
  for (size_t position = 0; next_line(script, &position, &tokens);) {
    for (const Token& token : tokens) {
      if (token.quoted) texts->push_back(token.text);
    }
  }
}

}  // namespace quillaret::check
