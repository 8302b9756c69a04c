#include "app/platform_native.h"

namespace lorvena {
namespace {

void put_line(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace

void NativePlatform::show_waiting_window() { put_line(out_, "Attendere"); }

void NativePlatform::show_fatal_error(std::string_view message) { put_line(err_, message); }

void NativePlatform::show_run_time_error(int number, std::string_view description) {
  put_line(err_, "Errore di run-time " + std::to_string(number) + ": " + std::string(description));
}

std::filesystem::path executable_directory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace lorvena
