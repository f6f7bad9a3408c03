#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <io.h>
#include <fcntl.h>
#include <shellapi.h>

#include <cstdio>
#include <random>

#include "platform/platform.h"

namespace quillaret::platform {
namespace {

std::wstring widen(const std::string& text) {
  if (text.empty()) return {};
  int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                     static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
  return wide;
}

std::string narrow(const wchar_t* text) {
  int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0,
                                     nullptr, nullptr);
  if (length <= 1) return {};
  std::string result(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), length, nullptr,
                        nullptr);
  result.resize(static_cast<size_t>(length) - 1);
  return result;
}

}  // namespace

char native_separator() { return '\\'; }

std::vector<std::string> command_line(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(narrow(wide[i]));
  ::LocalFree(wide);
  return args;
}

std::string executable_path() {
  std::wstring path(32768, L'\0');
  DWORD length = ::GetModuleFileNameW(nullptr, path.data(),
                                      static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  return narrow(path.c_str());
}

FilePtr open_for_reading(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return nullptr;
  }
  return FilePtr(::_wfopen(widen(path).c_str(), L"rb"));
}

FilePtr create_text_file(const std::string& path) {
  return FilePtr(::_wfopen(widen(path).c_str(), L"w"));
}

FilePtr create_temporary_beside(const std::string& final_path,
                                std::string* temp_path) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp",
                  static_cast<unsigned>(random()));
    std::string candidate = final_path + suffix;
    HANDLE handle = ::CreateFileW(widen(candidate).c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (::GetLastError() == ERROR_FILE_EXISTS) continue;
      return nullptr;
    }
    int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
      ::CloseHandle(handle);
      ::DeleteFileW(widen(candidate).c_str());
      return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "wb");
    if (file == nullptr) {
      ::_close(fd);
      ::DeleteFileW(widen(candidate).c_str());
      return nullptr;
    }
    *temp_path = candidate;
    return FilePtr(file);
  }
  return nullptr;
}

bool replace_file(const std::string& from, const std::string& to) {
  // A plain rename fails when the destination exists.
  return ::MoveFileExW(widen(from).c_str(), widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool remove_file(const std::string& path) {
  return ::DeleteFileW(widen(path).c_str()) != 0;
}

int64_t file_size(std::FILE* file) {
  LARGE_INTEGER size;
  HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE || !::GetFileSizeEx(handle, &size)) {
    return -1;
  }
  return static_cast<int64_t>(size.QuadPart);
}

}  // namespace quillaret::platform
