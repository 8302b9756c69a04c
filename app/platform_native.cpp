#include "app/platform_native.h"

#include <ostream>

namespace lorvena {

void NativePlatform::show_waiting_window() { out_ << "Attendere" << std::endl; }

void NativePlatform::show_fatal_error(std::string_view message) { err_ << message << std::endl; }

void NativePlatform::show_run_time_error(int number, std::string_view description) {
  err_ << "Errore di run-time " << number << ": " << description << std::endl;
}

std::filesystem::path executable_directory() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : exe.parent_path();
}

}  // namespace lorvena
