// A console that keeps what is printed and counts the waits: for running a
// program in process.
#pragma once

#include <string>
#include <string_view>

#include "platform/console.h"

namespace quillaret::testing {

class StringConsole : public Console {
 public:
  void print(std::string_view text) override { output += text; }
  void wait() override { ++waits; }
  std::string output;
  int waits = 0;
};

}  // namespace quillaret::testing
