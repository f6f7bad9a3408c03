// A task on a thread of its own while the caller goes on.
#pragma once

#include <future>
#include <system_error>
#include <utility>

namespace quillaret::platform {

// Starts `task` on a thread of its own; where the system cannot start one,
// the task runs on the caller's thread when the future is waited for.
template <class Task>
auto in_background(Task task) -> std::future<decltype(task())> {
  try {
    return std::async(std::launch::async, task);
  } catch (const std::system_error&) {
    return std::async(std::launch::deferred, std::move(task));
  }
}

}  // namespace quillaret::platform
