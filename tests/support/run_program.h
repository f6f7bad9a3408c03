// Runs the translator for end-to-end tests: in process through its run(),
// or as the built executable, the way a user does.
#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quillaret::testing {

struct RunResult {
  int status = -1;     // exit status
  std::string output;  // everything written to standard output
};

// Runs `program` with `args` (argument 0 is `program` itself) in directory
// `cwd`, standard input empty. `unprivileged`: when the tests run as root,
// the program runs as the user nobody, so that file permissions bind it.
RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      const std::string& cwd, bool unprivileged = false);

// An installation in a temporary directory: a copy of the executable with
// the given lexicon files beside it. The plug-ins to translate are written
// into the same directory.
class Installation {
 public:
  Installation(std::string_view topics, std::string_view factions, std::string_view names);

  const TempDir& dir() const { return dir_; }
  std::string executable() const { return dir_.file("quillaret"); }

  // Translates `plugin` (a name in the directory, or any path) in process,
  // as the installed executable would.
  RunResult translate(const std::string& plugin) const;

 private:
  TempDir dir_;
};

}  // namespace quillaret::testing
