// The console platform: "Attendere" on standard output, messages on
// standard error, the directory of the running executable.
#pragma once

#include <cstdio>

#include "app/platform.h"

namespace lorvena {

// Writes through C streams rather than iostreams: the console program then
// carries no stream and locale machinery, which would cost every start.
class NativePlatform : public Platform {
 public:
  NativePlatform(std::filesystem::path directory, std::FILE* out, std::FILE* err)
      : directory_(std::move(directory)), out_(out), err_(err) {}

  std::filesystem::path program_directory() override { return directory_; }
  bool show_waiting_window() override;
  void show_fatal_error(std::string_view message) override;
  void show_run_time_error(std::string_view message) override;
  void show_not_shown_note() override;

 private:
  std::filesystem::path directory_;
  std::FILE* out_;
  std::FILE* err_;
};

// The running executable and its directory (from /proc/self/exe).
std::filesystem::path executable_path();
std::filesystem::path executable_directory();

// The line on standard error when standard output could not be written.
inline constexpr std::string_view kNotShownNote =
    "Impossibile mostrare i messaggi sull'uscita standard: i file sono stati scritti.";

}  // namespace lorvena
