// Windows: the program keeps every path as UTF-8 and converts it to UTF-16
// at the system boundary, so that any file name the user drops onto the
// executable can be opened, whatever the system's ANSI code page.
#include "platform/win32.h"  // first: the other Windows headers need it

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <share.h>

#include <cstdint>
#include <cstdio>
#include <random>

#include "platform/os_file.h"
#include "platform/platform.h"

namespace quillaret::platform {
namespace {

std::wstring widen(const std::string& text) {
  if (text.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
  return wide;
}

std::string narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string result(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        length, nullptr, nullptr);
  return result;
}

// Hands a file handle over to a C stream in binary mode; the handle is
// closed on failure, and so is the stream's on fclose.
FilePtr stream_from_handle(HANDLE handle, int flags, const char* mode) {
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = ::_fdopen(fd, mode);
  if (file == nullptr) ::_close(fd);
  return FilePtr(file);
}

}  // namespace

char native_separator() { return '\\'; }

std::vector<std::string> command_line(int argc, char** argv) {
  // The narrow argv holds the names in the ANSI code page, where characters
  // outside it are already lost; the wide command line has them all.
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> args;
  args.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) args.push_back(narrow(wide[i]));
  ::LocalFree(wide);
  return args;
}

std::string executable_path() {
  // 32767 characters is the longest path Windows knows.
  std::wstring path(32768, L'\0');
  const DWORD length =
      ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  return narrow(path);
}

FilePtr open_for_reading(const std::string& path) {
  // Shared as fopen() shares it, so that the plug-in may stay open in the
  // game's editor meanwhile. Without FILE_FLAG_BACKUP_SEMANTICS a directory
  // cannot be opened, and the type test turns away devices (CON, NUL) and
  // pipes, as the POSIX version accepts regular files only.
  HANDLE handle = ::CreateFileW(widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    return nullptr;
  }
  return stream_from_handle(handle, _O_RDONLY, "rb");
}

FilePtr create_text_file(const std::string& path) {
  // Text mode: every line feed written becomes CR LF, as Notepad expects.
  return FilePtr(::_wfsopen(widen(path).c_str(), L"wt", _SH_DENYNO));
}

FilePtr create_temporary_beside(const std::string& final_path, std::string* temp_path) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    const std::string candidate = final_path + suffix;
    const std::wstring wide = widen(candidate);
    // CREATE_NEW fails on an existing name, so the name is ours alone.
    HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      return nullptr;
    }
    FilePtr file = stream_from_handle(handle, 0, "wb");
    if (!file) {
      ::DeleteFileW(wide.c_str());
      return nullptr;
    }
    *temp_path = candidate;
    return file;
  }
  return nullptr;
}

bool replace_file(const std::string& from, const std::string& to) {
  // Unlike rename() on POSIX, MoveFileW and the C library's rename() refuse
  // an existing destination; MOVEFILE_REPLACE_EXISTING replaces it in one
  // step, so an earlier Mod_fr.esp is never removed before the new one is
  // in place.
  return ::MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool remove_file(const std::string& path) { return ::DeleteFileW(widen(path).c_str()) != 0; }

// NTFS sets space aside as it goes well enough: nothing to do.
void reserve_space(std::FILE*, int64_t) {}
void release_unused_space(std::FILE*) {}

int64_t file_size(std::FILE* file) {
  const intptr_t os_handle = ::_get_osfhandle(::_fileno(file));
  LARGE_INTEGER size;
  if (os_handle == -1 || !::GetFileSizeEx(reinterpret_cast<HANDLE>(os_handle), &size)) {
    return -1;
  }
  return static_cast<int64_t>(size.QuadPart);
}

}  // namespace quillaret::platform
