// The one place that knows the operating system: path separators, the
// executable's own location and the command line here; files in files.h,
// the console in console.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillaret::platform {

// Both '\' and '/' separate directories, whatever the operating system.
inline bool is_separator(char c) { return c == '\\' || c == '/'; }

// The separator used when the program builds a path itself.
char native_separator();

// `name` inside `folder`: with a separator between them unless the folder
// ends with one; `name` alone when the folder is empty.
inline std::string join_path(const std::string& folder, const std::string& name) {
  if (folder.empty() || is_separator(folder.back())) return folder + name;
  return folder + native_separator() + name;
}

// The folder part of `path` without its last separator (a root keeps it);
// empty when the path has no separator.
inline std::string folder_of(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;) {
    if (is_separator(path[i])) return path.substr(0, i == 0 ? 1 : i);
  }
  return {};
}

// The part of `path` after its last separator: the file's name.
inline std::string_view file_name(std::string_view path) {
  for (size_t i = path.size(); i-- > 0;) {
    if (is_separator(path[i])) return path.substr(i + 1);
  }
  return path;
}

// The command line as UTF-8 strings, argument 0 first. On Windows it is taken
// from the wide command line so that any file name can be opened.
std::vector<std::string> command_line(int argc, char** argv);

// The full path of the running executable as the operating system reports
// it, or an empty string when it cannot tell.
std::string executable_path();

}  // namespace quillaret::platform
