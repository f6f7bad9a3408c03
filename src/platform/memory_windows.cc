#include "platform/win32.h"  // first: the other Windows headers need it

#include <io.h>

#include <cstdint>
#include <cstdio>

#include "platform/os_file.h"
#include "platform/platform.h"

namespace quillaret::platform {

MappedFile map_file(std::FILE* file, int64_t size) {
  if (size <= 0 || static_cast<uint64_t>(size) > SIZE_MAX) return nullptr;
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const HANDLE mapping = ::CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping == nullptr) return nullptr;
  const void* view = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(size));
  // The view keeps the mapping alive on its own.
  ::CloseHandle(mapping);
  if (view == nullptr) return nullptr;
  return MappedFile(static_cast<const char*>(view), Unmapper{static_cast<size_t>(size)});
}

void Unmapper::operator()(const char* data) const { ::UnmapViewOfFile(data); }

}  // namespace quillaret::platform
