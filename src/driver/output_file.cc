#include "driver/output_file.h"

#include <cstdio>

namespace quillaret {

// Large enough that the many small pieces of a translated plug-in (headers,
// short runs) reach the system in big blocks.
constexpr size_t kWriteBuffer = 1 << 20;

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
  std::setvbuf(file_.get(), nullptr, _IOFBF, kWriteBuffer);
  return true;
}

bool OutputFile::write(const char* data, size_t size) {
  if (size == 0) return ok_;
  ok_ = ok_ && std::fwrite(data, 1, size, file_.get()) == size;
  return ok_;
}

bool OutputFile::commit() {
  if (!ok_ || !file_) return false;
  const bool flushed = std::fflush(file_.get()) == 0 && !std::ferror(file_.get());
  const bool closed = std::fclose(file_.release()) == 0;
  if (!flushed || !closed || !platform::replace_file(temp_path_, final_path_)) return false;
  temp_path_.clear();
  return true;
}

}  // namespace quillaret
