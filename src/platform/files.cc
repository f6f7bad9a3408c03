#include "platform/files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/os_file.h"

namespace quillaret::platform {

struct InputFile::State {
  FilePtr file;
  MappedFile mapped;
  std::unique_ptr<char[]> bytes;  // when the file could not be mapped
};

InputFile::InputFile() : state_(std::make_unique<State>()) {}
InputFile::~InputFile() = default;
InputFile::InputFile(InputFile&&) noexcept = default;
InputFile& InputFile::operator=(InputFile&&) noexcept = default;

bool InputFile::open(const std::string& path) {
  *state_ = State{};
  bytes_ = {};
  state_->file = open_for_reading(path);
  return state_->file != nullptr;
}

bool InputFile::load() {
  State& s = *state_;
  if (!s.file) return false;
  const int64_t size = file_size(s.file.get());
  if (size < 0) return false;
  // Mapped, the bytes are neither copied nor held twice in memory.
  s.mapped = map_file(s.file.get(), size);
  if (s.mapped) {
    bytes_ = std::string_view(s.mapped.get(), static_cast<size_t>(size));
    return true;
  }
  const auto wanted = static_cast<size_t>(size);
  s.bytes = std::make_unique_for_overwrite<char[]>(wanted + 1);
  if (std::fread(s.bytes.get(), 1, wanted, s.file.get()) != wanted || std::ferror(s.file.get())) {
    s.bytes.reset();
    return false;
  }
  bytes_ = std::string_view(s.bytes.get(), wanted);
  return true;
}

bool read_file(const std::string& path, std::string* contents) {
  FilePtr file = open_for_reading(path);
  if (!file) return false;
  const int64_t size = file_size(file.get());
  if (size < 0) return false;
  contents->resize(static_cast<size_t>(size));
  return std::fread(contents->data(), 1, contents->size(), file.get()) == contents->size() &&
         !std::ferror(file.get());
}

namespace {

// Paths are UTF-8 on every system; the standard library takes them so.
std::filesystem::path native(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

}  // namespace

bool is_missing(const std::string& path) {
  std::error_code error;
  return std::filesystem::status(native(path), error).type() == std::filesystem::file_type::not_found;
}

bool make_folder(const std::string& path) {
  std::error_code error;
  const std::filesystem::path folder = native(path);
  if (std::filesystem::is_directory(folder, error)) return true;
  return !std::filesystem::exists(folder, error) && std::filesystem::create_directories(folder, error);
}

// An output reaches the file as many small pieces (headers, short runs
// between replaced payloads) and a few long runs of unchanged bytes. Small
// pieces are gathered into one buffer that goes to the system in large
// blocks; long runs go straight through, without a copy. The stream itself
// is unbuffered, so nothing is copied twice.
constexpr size_t kWriteBuffer = 1 << 20;
constexpr size_t kDirectWrite = 64 << 10;

struct AtomicFile::State {
  FilePtr file;
  std::unique_ptr<char[]> buffer;
  size_t buffered = 0;
  std::string final_path;
  std::string temp_path;  // empty once committed or never created
  bool ok = true;

  bool flush_buffer() {
    ok = ok && std::fwrite(buffer.get(), 1, buffered, file.get()) == buffered;
    buffered = 0;
    return ok;
  }
  void discard() {
    file.reset();
    if (!temp_path.empty()) remove_file(temp_path);
    temp_path.clear();
  }
};

AtomicFile::AtomicFile() : state_(std::make_unique<State>()) {}

AtomicFile::~AtomicFile() { state_->discard(); }

bool AtomicFile::create(const std::string& final_path) {
  State& s = *state_;
  s.discard();
  s.final_path = final_path;
  s.ok = true;
  s.buffered = 0;
  s.file = create_temporary_beside(final_path, &s.temp_path);
  if (!s.file) return false;
  std::setvbuf(s.file.get(), nullptr, _IONBF, 0);
  if (!s.buffer) s.buffer = std::make_unique_for_overwrite<char[]>(kWriteBuffer);
  return true;
}

bool AtomicFile::write(const char* data, size_t size) {
  State& s = *state_;
  if (!s.file) return false;
  if (size == 0 || !s.ok) return s.ok;
  if (size < kDirectWrite) {
    if (size > kWriteBuffer - s.buffered && !s.flush_buffer()) return false;
    std::memcpy(s.buffer.get() + s.buffered, data, size);
    s.buffered += size;
    return true;
  }
  s.ok = s.flush_buffer() && std::fwrite(data, 1, size, s.file.get()) == size;
  return s.ok;
}

void AtomicFile::reserve(int64_t bytes) {
  if (state_->file) reserve_space(state_->file.get(), bytes);
}

bool AtomicFile::commit() {
  State& s = *state_;
  if (!s.file || !s.flush_buffer()) {
    s.discard();
    return false;
  }
  const bool flushed = std::fflush(s.file.get()) == 0 && !std::ferror(s.file.get());
  if (flushed) release_unused_space(s.file.get());
  const bool closed = std::fclose(s.file.release()) == 0;
  if (!flushed || !closed || !replace_file(s.temp_path, s.final_path)) {
    s.discard();
    return false;
  }
  s.temp_path.clear();
  return true;
}

struct TextFile::State {
  FilePtr file;
  bool ok = true;
};

TextFile::TextFile() : state_(std::make_unique<State>()) {}
TextFile::~TextFile() = default;

bool TextFile::create(const std::string& path) {
  state_->file = create_text_file(path);
  state_->ok = state_->file != nullptr;
  return state_->ok;
}

bool TextFile::is_open() const { return state_->file != nullptr; }

bool TextFile::write(std::string_view text) {
  State& s = *state_;
  if (!s.file) return false;
  s.ok = s.ok && std::fwrite(text.data(), 1, text.size(), s.file.get()) == text.size();
  return s.ok;
}

bool TextFile::close() {
  State& s = *state_;
  if (!s.file) return false;
  const bool closed = std::fclose(s.file.release()) == 0;
  return s.ok && closed;
}

}  // namespace quillaret::platform
