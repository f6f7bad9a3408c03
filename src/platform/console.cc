#include "platform/console.h"

namespace quillaret {

void StdConsole::print(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void StdConsole::wait() {
  std::fflush(stdout);
  std::getchar();
}

void DeferredConsole::print(std::string_view text) { text_ += text; }

void DeferredConsole::wait() { waits_.push_back(text_.size()); }

void DeferredConsole::replay(Console& console) const {
  size_t printed = 0;
  for (size_t wait : waits_) {
    if (wait > printed) console.print(std::string_view(text_).substr(printed, wait - printed));
    printed = wait;
    console.wait();
  }
  if (text_.size() > printed) console.print(std::string_view(text_).substr(printed));
}

}  // namespace quillaret
