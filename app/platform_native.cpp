#include "app/platform_native.h"

namespace lorvena {
namespace {

// False when the line did not reach the stream's file (a full disk, a
// closed descriptor): the stream's error flag covers every call before.
bool put_line(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  return std::fflush(stream) == 0 && !std::ferror(stream);
}

}  // namespace

bool NativePlatform::show_waiting_window() { return put_line(out_, "Attendere"); }

// A message that cannot be shown changes nothing: the run's status already
// says it ended on an error.
void NativePlatform::show_fatal_error(std::string_view message) { put_line(err_, message); }

void NativePlatform::show_run_time_error(std::string_view message) { put_line(err_, message); }

void NativePlatform::show_not_shown_note() { put_line(err_, kNotShownNote); }

std::filesystem::path executable_path() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe;
}

std::filesystem::path executable_directory() {
  std::filesystem::path exe = executable_path();
  return exe.empty() ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace lorvena
