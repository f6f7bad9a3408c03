// The one place that knows the operating system: path separators, the
// executable's own location, the command line, opening, replacing and
// removing files, and a second thread. Every other module goes through these functions.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quillaret::platform {

// Both '\' and '/' separate directories, whatever the operating system.
inline bool is_separator(char c) { return c == '\\' || c == '/'; }

// The separator used when the program builds a path itself.
char native_separator();

// The command line as UTF-8 strings, argument 0 first. On Windows it is taken
// from the wide command line so that any file name can be opened.
std::vector<std::string> command_line(int argc, char** argv);

// The full path of the running executable as the operating system reports
// it, or an empty string when it cannot tell.
std::string executable_path();

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens an existing regular file for binary reading; null when the path does
// not name a readable regular file (a directory is refused here).
FilePtr open_for_reading(const std::string& path);

// Creates or truncates a file for writing in the platform's text convention
// (CRLF line ends on Windows, LF elsewhere); null on failure.
FilePtr create_text_file(const std::string& path);

// Creates a new, empty file for binary writing in the same directory as
// `final_path`, under a name no other file has. Its name is stored in
// `temp_path`. Null on failure.
FilePtr create_temporary_beside(const std::string& final_path,
                                std::string* temp_path);

// Tells the system that about `bytes` are about to be written to a file
// created above, so that it sets the space aside at once rather than a
// block at a time as the writes come. Only a hint: the file's size does not
// change, and nothing happens where the system cannot.
void reserve_space(std::FILE* file, int64_t bytes);

// Gives back whatever `reserve_space` set aside past the file's end.
void release_unused_space(std::FILE* file);

// Moves `from` onto `to`, replacing an existing `to`.
bool replace_file(const std::string& from, const std::string& to);

bool remove_file(const std::string& path);

// The size of an open file, or -1 when it cannot be told.
int64_t file_size(std::FILE* file);

// A read-only mapping of a file's bytes into memory. They then come
// straight from the system's file cache, without a copy into a buffer of
// the program's own. The file must not shrink while it is mapped: the
// program maps only its input, which nothing else writes during a run.
struct Unmapper {
  size_t size;
  void operator()(const char* data) const;
};
using MappedFile = std::unique_ptr<const char, Unmapper>;

// Maps the first `size` bytes of an open file; null when the system cannot
// (an empty file, for one), and the caller then reads the file instead.
MappedFile map_file(std::FILE* file, int64_t size);

// Runs a task on a thread of its own while the caller goes on; `join`, or
// the destructor, waits for it to end. Where no thread can be started the
// task does not run at all, and `started` says so: the caller then does
// the work itself. The task must not throw.
class Thread {
 public:
  explicit Thread(std::function<void()> task);
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Whether the task runs (or ran) on a thread of its own.
  bool started() const { return started_; }

  void join();

  struct Handle;  // each platform's own

 private:
  std::unique_ptr<Handle> handle_;
  bool started_ = false;
};

// Lets other threads run: for a thread that waits on another's progress.
void yield();

}  // namespace quillaret::platform
