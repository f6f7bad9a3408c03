// The run of quillaret-lexicon: reads an English plug-in and its French
// translation, pairs their texts, updates the three lexicons and writes the
// report in a folder, prints what it did, and waits for a character before
// it returns.
#pragma once

#include <string>
#include <vector>

namespace quillaret {

class Console;

// `args`: the program, ENGLISH, FRENCH and optionally FOLDER (by default the
// current folder, created when missing). Returns 0 once the lexicons and the
// report are written, 1 on every failure, which leaves the lexicons as they
// were.
int run_lexicon_builder(const std::vector<std::string>& args, Console& console);

}  // namespace quillaret
