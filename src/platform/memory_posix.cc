#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

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

void advise_large_pages(void* data, size_t size) {
#ifdef MADV_HUGEPAGE
  const long page = ::sysconf(_SC_PAGESIZE);
  if (page <= 0) return;
  const uintptr_t mask = static_cast<uintptr_t>(page) - 1;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + mask) & ~mask;
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~mask;
  if (begin < end) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

}  // namespace quillaret::platform
