#include "platform/console.h"

namespace quillaret {

void StdConsole::print(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void StdConsole::wait() {
  std::fflush(stdout);
  std::getchar();
}

}  // namespace quillaret
