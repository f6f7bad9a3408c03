// The console: where every message of the program goes, and the one
// character that the program waits for before it ends.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quillaret {

class Console {
 public:
  virtual ~Console() = default;
  virtual void print(std::string_view text) = 0;
  // Waits for one character from standard input (or its end).
  virtual void wait() = 0;
};

// The process's standard output and standard input.
class StdConsole : public Console {
 public:
  void print(std::string_view text) override;
  void wait() override;
};

}  // namespace quillaret
