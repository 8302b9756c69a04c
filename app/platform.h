// What the run needs from the system it runs on: its own directory, the
// waiting window and the two kinds of message shown before the run ends.
// One implementation per platform: platform_native.cpp, platform_win32.cpp.
#pragma once

#include <filesystem>
#include <string_view>

namespace lorvena {

class Platform {
 public:
  virtual ~Platform() = default;

  // The directory of the running executable; every file goes there.
  virtual std::filesystem::path program_directory() = 0;

  // Shows the "Attendere" window and paints it before the long work starts.
  virtual void show_waiting_window() = 0;

  // A fatal compiler error (" Errore n. 1250"): shown and waited for.
  virtual void show_fatal_error(std::string_view message) = 0;

  // A failure nothing handles (a file that cannot be written): its number
  // and description.
  virtual void show_run_time_error(int number, std::string_view description) = 0;
};

// Exit statuses of the run.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitFatalError = 1;
inline constexpr int kExitRunTimeError = 2;

}  // namespace lorvena
