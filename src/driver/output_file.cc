#include "driver/output_file.h"

#include <cstdio>
#include <cstring>

namespace quillaret {

// A translated plug-in reaches the writer as many small pieces (headers,
// condition prefixes, short runs between replaced payloads) and a few long
// runs of unchanged bytes. Small pieces are gathered into one buffer that
// goes to the system in large blocks; long runs go straight from the input,
// without a copy. The stream is unbuffered, so nothing is copied twice, and
// a piece costs a memcpy rather than a library call.
constexpr size_t kWriteBuffer = 1 << 20;
constexpr size_t kDirectWrite = 64 << 10;

OutputFile::~OutputFile() {
  if (!temp_path_.empty()) {
    file_.reset();
    platform::remove_file(temp_path_);
  }
}

bool OutputFile::create(const std::string& final_path) {
  final_path_ = final_path;
  file_ = platform::create_temporary_beside(final_path, &temp_path_);
  if (!file_) return false;
  std::setvbuf(file_.get(), nullptr, _IONBF, 0);
  buffer_ = std::make_unique_for_overwrite<char[]>(kWriteBuffer);
  return true;
}

bool OutputFile::write(const char* data, size_t size) {
  if (size == 0 || !ok_) return ok_;
  if (size < kDirectWrite) {
    if (size > kWriteBuffer - buffered_ && !flush_buffer()) return false;
    std::memcpy(buffer_.get() + buffered_, data, size);
    buffered_ += size;
    return true;
  }
  ok_ = flush_buffer() && std::fwrite(data, 1, size, file_.get()) == size;
  return ok_;
}

bool OutputFile::flush_buffer() {
  ok_ = ok_ && std::fwrite(buffer_.get(), 1, buffered_, file_.get()) == buffered_;
  buffered_ = 0;
  return ok_;
}

void OutputFile::reserve(int64_t bytes) {
  if (file_) platform::reserve_space(file_.get(), bytes);
}

bool OutputFile::commit() {
  if (!file_ || !flush_buffer()) return false;
  const bool flushed = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
  if (flushed) platform::release_unused_space(file_.get());
  const bool closed = std::fclose(file_.release()) == 0;
  if (!flushed || !closed || !platform::replace_file(temp_path_, final_path_)) return false;
  temp_path_.clear();
  return true;
}

}  // namespace quillaret
