// The run of quillaret-check: from the command line to the report on the
// console and beside the plug-in, then a wait for a character.
#pragma once

#include <string>
#include <vector>

namespace quillaret {

class Console;

// Runs the check on `args`: argument 0 is the program's own path, argument
// 1 the plug-in, argument 2 (optional) the folder of its masters, by
// default the plug-in's. The lexicons beside the program, when all three
// are there, give the report's hints. Returns the exit status: 0 when
// nothing was found, 1 when something was, 2 when the check could not run.
int run_check(const std::vector<std::string>& args, Console& console);

// Where the report goes: the plug-in's name with ".check.txt" in place of
// its extension (Mod_fr.esp gives Mod_fr.check.txt), or after the name
// when it has none.
std::string report_path(const std::string& plugin);

}  // namespace quillaret
