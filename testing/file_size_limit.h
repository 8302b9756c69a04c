// The cap on the size of any file a test writes. The test program sets it
// before the first test, so that a writer that never stops fails its own
// test at the cap instead of filling the disk; a test may lower it for a
// while to make a write fail part way.
#pragma once

#include <sys/resource.h>

namespace lorvena::testing {

// Far above the largest file a test writes (the plan of a 1000 km line,
// about 20 MB), far below what would hurt the machine.
constexpr rlim_t kFileSizeLimit = rlim_t{256} << 20;

// Lowers the process's file size limit to kFileSizeLimit (where it is
// higher) and makes a write past the limit fail with EFBIG, noting that it
// happened, instead of ending the process.
void set_file_size_limit();

// True when a write has reached the limit since the last call.
bool take_file_size_limit_reached();

// A lower cap for the life of the object; a write past it fails part way
// with EFBIG and is not counted as reaching the tests' limit.
class ScopedFileSizeCap {
 public:
  explicit ScopedFileSizeCap(rlim_t bytes);
  ~ScopedFileSizeCap();
  ScopedFileSizeCap(const ScopedFileSizeCap&) = delete;
  ScopedFileSizeCap& operator=(const ScopedFileSizeCap&) = delete;

 private:
  rlimit saved_{};
  void (*previous_handler_)(int) = nullptr;
};

}  // namespace lorvena::testing
