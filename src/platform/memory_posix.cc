#include <sys/mman.h>

#include <cstdint>
#include <cstdio>

#include "platform/os_file.h"
#include "platform/platform.h"

namespace quillaret::platform {

MappedFile map_file(std::FILE* file, int64_t size) {
  if (size <= 0 || static_cast<uint64_t>(size) > SIZE_MAX) return nullptr;
  int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
  // Every page is read: mapping them all at once spares a fault per page.
  flags |= MAP_POPULATE;
#endif
  void* data = ::mmap(nullptr, static_cast<size_t>(size), PROT_READ, flags, ::fileno(file), 0);
  if (data == MAP_FAILED) return nullptr;
  return MappedFile(static_cast<const char*>(data), Unmapper{static_cast<size_t>(size)});
}

void Unmapper::operator()(const char* data) const { ::munmap(const_cast<char*>(data), size); }

}  // namespace quillaret::platform
