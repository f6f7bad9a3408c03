// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillaret::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }

  void write(std::string_view name, std::string_view bytes) const;
  std::string read(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

// Names of a folder's entries, sorted, a line each.
std::string listing(const std::filesystem::path& folder);
std::string read_file(const std::string& path);
void write_file(const std::string& path, std::string_view bytes);

}  // namespace quillaret::testing
