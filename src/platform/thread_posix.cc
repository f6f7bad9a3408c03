#include <system_error>
#include <thread>

#include "platform/platform.h"

namespace quillaret::platform {

struct Thread::Handle {
  std::thread thread;
};

Thread::Thread(std::function<void()> task) {
  try {
    handle_ = std::make_unique<Handle>(Handle{std::thread(std::move(task))});
    started_ = true;
  } catch (const std::system_error&) {
  }
}

Thread::~Thread() { join(); }

void Thread::join() {
  if (handle_ == nullptr) return;
  handle_->thread.join();
  handle_.reset();
}

void yield() { std::this_thread::yield(); }

}  // namespace quillaret::platform
