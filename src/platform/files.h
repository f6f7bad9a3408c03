// Files as the programs use them: an input read whole (mapped where the
// system can), an output that appears only once complete, and a text file
// in the platform's line-end convention. Paths are UTF-8 everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillaret::platform {

// A file's bytes, read-only: mapped where the system can, read into memory
// otherwise. Nothing else may shrink the file while it is loaded.
class InputFile {
 public:
  InputFile();
  ~InputFile();
  InputFile(InputFile&&) noexcept;
  InputFile& operator=(InputFile&&) noexcept;

  // Opens `path`; false when it does not name a readable regular file.
  bool open(const std::string& path);
  // Maps or reads the opened file's bytes; false when neither works.
  bool load();
  // `open`, then `load`.
  bool read(const std::string& path) { return open(path) && load(); }

  // The bytes, once loaded; valid while this object lives.
  std::string_view bytes() const { return bytes_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::string_view bytes_;
};

// Reads a whole file into `contents`; false when it cannot be read.
bool read_file(const std::string& path, std::string* contents);

// Whether nothing at all is at `path` (unlike a file that cannot be read).
bool is_missing(const std::string& path);

// Makes `path` a folder, with the folders above it; false when it is
// something else or cannot be made.
bool make_folder(const std::string& path);

// An output written into a temporary file beside its final name and moved
// onto that name only once complete, so that a failed run never leaves a
// half-written file nor destroys an earlier one.
class AtomicFile {
 public:
  AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  // Removes the temporary file unless it was committed.
  ~AtomicFile();

  // Creates the temporary file beside `final_path`; false on failure.
  bool create(const std::string& final_path);

  // False when a write fails, now or before.
  bool write(const char* data, size_t size);
  bool write(std::string_view text) { return write(text.data(), text.size()); }

  // The file is expected to take about `bytes`: the system may set the
  // space aside at once, which makes the writes cheaper. What is not used
  // is given back by `commit`.
  void reserve(int64_t bytes);

  // Flushes and closes the temporary file and moves it onto the final
  // name, replacing an earlier file there. False when any step failed; the
  // temporary file is then removed and the earlier file stays.
  bool commit();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A text file created or truncated for writing, whose line feeds become
// CR LF on Windows (as Notepad expects) and stay LF elsewhere.
class TextFile {
 public:
  TextFile();
  ~TextFile();
  // False when the file cannot be created.
  bool create(const std::string& path);
  bool is_open() const;
  // False when a write fails, now or before.
  bool write(std::string_view text);
  // Closes the file; false when it or a write failed.
  bool close();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quillaret::platform
