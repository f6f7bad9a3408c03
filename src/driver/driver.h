// The run of one translation: checks the command line, derives every file
// name, loads the lexicons, reads, translates and writes the plug-in,
// printing one console line per stage, and waits for a character before it
// returns.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillaret {

class Console;

// Runs the program on `args` (argument 0 is the program's own path, argument
// 1 the plug-in; further ones are ignored). Returns the exit status: 0 when
// the output was written, 1 on every failure.
int run(const std::vector<std::string>& args, Console& console);

// The directory that holds the lexicons: that of argument 0 when it has a
// separator after its first character, else that of the executable as the
// operating system reports it; nothing when neither tells.
std::optional<std::string> lexicon_directory(const std::string& argument0);

}  // namespace quillaret
