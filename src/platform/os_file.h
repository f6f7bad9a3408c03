// The system's files as the platform layer uses them to build files.h:
// C streams over system handles. Nothing outside src/platform includes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace quillaret::platform {

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

}  // namespace quillaret::platform
