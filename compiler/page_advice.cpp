#include "compiler/page_advice.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace lorvena {

void prepare_pages(void* data, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  auto start = reinterpret_cast<uintptr_t>(data);
  uintptr_t first = (start + page - 1) / page * page;
  uintptr_t end = (start + bytes) / page * page;
  if (end <= first) return;
  madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
  madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#endif
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace lorvena
