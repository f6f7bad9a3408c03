// The console: where every message of the program goes, and the one
// character that the program waits for before it ends.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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

// Keeps what is printed and counts the waits; for tests and benchmarks.
class StringConsole : public Console {
 public:
  void print(std::string_view text) override { output += text; }
  void wait() override { ++waits; }
  std::string output;
  int waits = 0;
};

// Keeps what a task on another thread prints, and where it waits, so that
// it reaches the real console later, in its place among the messages.
class DeferredConsole : public Console {
 public:
  void print(std::string_view text) override;
  void wait() override;
  // Prints and waits on `console` as this console was told to.
  void replay(Console& console) const;

 private:
  std::string text_;
  std::vector<size_t> waits_;  // where in text_ each wait came
};

}  // namespace quillaret
