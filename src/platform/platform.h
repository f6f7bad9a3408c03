// The one place that knows the operating system: path separators, the
// executable's own location and the command line here; files in files.h,
// the console in console.h.
#pragma once

#include <string>
#include <vector>

namespace quillaret::platform {

// Both '\' and '/' separate directories, whatever the operating system.
inline bool is_separator(char c) { return c == '\\' || c == '/'; }

// The separator used when the program builds a path itself.
char native_separator();

// The command line as UTF-8 strings, argument 0 first. On Windows it is taken
// from the wide command line so that any file name can be opened.
std::vector<std::string> command_line(int argc, char** argv);

// The full path of the running executable as the operating system reports
// it, or an empty string when it cannot tell.
std::string executable_path();

}  // namespace quillaret::platform
