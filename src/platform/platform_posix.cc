#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "platform/os_file.h"
#include "platform/platform.h"

namespace quillaret::platform {

char native_separator() { return '/'; }

std::vector<std::string> command_line(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::string executable_path() {
  std::string path(4096, '\0');
  ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<size_t>(length) >= path.size()) return {};
  path.resize(static_cast<size_t>(length));
  return path;
}

FilePtr open_for_reading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) ::close(fd);
  return FilePtr(file);
}

FilePtr create_text_file(const std::string& path) {
  return FilePtr(std::fopen(path.c_str(), "w"));
}

FilePtr create_temporary_beside(const std::string& final_path,
                                std::string* temp_path) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp",
                  static_cast<unsigned>(random()));
    std::string candidate = final_path + suffix;
    int fd = ::open(candidate.c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
      ::close(fd);
      ::unlink(candidate.c_str());
      return nullptr;
    }
    *temp_path = candidate;
    return FilePtr(file);
  }
  return nullptr;
}

void reserve_space(std::FILE* file, int64_t bytes) {
#ifdef __linux__
  if (bytes > 0) ::fallocate(::fileno(file), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
#else
  (void)file;
  (void)bytes;
#endif
}

void release_unused_space(std::FILE* file) {
#ifdef __linux__
  // Cutting a file to its own size frees the blocks reserved past its end.
  struct stat status;
  const int fd = ::fileno(file);
  if (::fstat(fd, &status) == 0) (void)::ftruncate(fd, status.st_size);
#else
  (void)file;
#endif
}

bool replace_file(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool remove_file(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

int64_t file_size(std::FILE* file) {
  struct stat info;
  if (::fstat(::fileno(file), &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

}  // namespace quillaret::platform
