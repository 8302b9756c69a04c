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
  // False when it could not be shown; the run goes on.
  virtual bool show_waiting_window() = 0;

  // A fatal compiler error (" Errore n. 1250"): shown and waited for.
  virtual void show_fatal_error(std::string_view message) = 0;

  // A failure of the disk that ends the run, in the words of
  // run_time_message (several lines).
  virtual void show_run_time_error(std::string_view message) = 0;

  // At the end of a run that wrote its files but could not show the
  // waiting window: says so where the platform still can. A platform with
  // no other place to say it says nothing.
  virtual void show_not_shown_note() {}

  // Names the waiting window and the messages after the scenario, where the
  // platform shows a name: a packaged installer learns it from its payload.
  virtual void name_scenario(std::string_view) {}
};

// Exit statuses of the run. A run that ended on an error says so whether or
// not its message could be shown; a normal run whose waiting window or text
// could not be shown ends with kExitNotShown.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitFatalError = 1;
inline constexpr int kExitRunTimeError = 2;
inline constexpr int kExitNotShown = 3;
// A packaged installer whose scenario is missing, damaged or of a later
// format: it says so and writes nothing.
inline constexpr int kExitNoScenario = 4;

}  // namespace lorvena
