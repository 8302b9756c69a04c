#include "testing/file_size_limit.h"

#include <signal.h>

namespace lorvena::testing {
namespace {

volatile sig_atomic_t limit_reached = 0;

void note_limit_reached(int) { limit_reached = 1; }

}  // namespace

void set_file_size_limit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > kFileSizeLimit) limit.rlim_cur = kFileSizeLimit;
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_cur > limit.rlim_max) limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_FSIZE, &limit);
  // A handler that returns lets the write fail with EFBIG; the code under
  // test then ends as on any failed write, and the test's files are removed.
  struct sigaction action {};
  action.sa_handler = note_limit_reached;
  sigemptyset(&action.sa_mask);
  sigaction(SIGXFSZ, &action, nullptr);
}

bool take_file_size_limit_reached() {
  bool reached = limit_reached != 0;
  limit_reached = 0;
  return reached;
}

ScopedFileSizeCap::ScopedFileSizeCap(rlim_t bytes) {
  getrlimit(RLIMIT_FSIZE, &saved_);
  previous_handler_ = signal(SIGXFSZ, SIG_IGN);
  rlimit capped = saved_;
  capped.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &capped);
}

ScopedFileSizeCap::~ScopedFileSizeCap() {
  setrlimit(RLIMIT_FSIZE, &saved_);
  signal(SIGXFSZ, previous_handler_);
}

}  // namespace lorvena::testing
