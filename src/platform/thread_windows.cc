#include "platform/platform.h"
#include "platform/win32.h"

namespace quillaret::platform {

// The toolchain's own threads need a library that static builds for
// Windows do not all have; the system's threads need nothing.
struct Thread::Handle {
  std::function<void()> task;
  HANDLE thread = nullptr;
};

namespace {

DWORD WINAPI run_task(LPVOID handle) {
  static_cast<Thread::Handle*>(handle)->task();
  return 0;
}

}  // namespace

Thread::Thread(std::function<void()> task) {
  handle_ = std::make_unique<Handle>();
  handle_->task = std::move(task);
  handle_->thread = ::CreateThread(nullptr, 0, run_task, handle_.get(), 0, nullptr);
  started_ = handle_->thread != nullptr;
  if (!started_) handle_.reset();
}

Thread::~Thread() { join(); }

void Thread::join() {
  if (handle_ == nullptr) return;
  ::WaitForSingleObject(handle_->thread, INFINITE);
  ::CloseHandle(handle_->thread);
  handle_.reset();
}

void yield() { ::SwitchToThread(); }

}  // namespace quillaret::platform
