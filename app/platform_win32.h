// The Windows platform: Form1 as a real window with its one label, message
// boxes for the errors that end the run, the executable's own directory.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "app/platform.h"

namespace lorvena {

// Caption of the waiting window and title of every message box.
inline constexpr const wchar_t* kProgramTitle = L"LORVENA PF";

class Win32Platform : public Platform {
 public:
  // `show_command` is the one WinMain received for the first ShowWindow.
  // `title` names the waiting window and every message box.
  Win32Platform(HINSTANCE instance, int show_command, std::wstring title = kProgramTitle);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  std::filesystem::path program_directory() override;
  bool show_waiting_window() override;
  void show_fatal_error(std::string_view message) override;
  void show_run_time_error(std::string_view message) override;
  void name_scenario(std::string_view scenario_name) override;

  HWND form() const { return form_; }

 private:
  HINSTANCE instance_;
  int show_command_;
  std::wstring title_;
  HWND form_ = nullptr;
  HFONT label_font_ = nullptr;
};

// The running executable's path (GetModuleFileNameW); empty when unknown.
std::filesystem::path module_path();

// UTF-8 text (as the run's messages are) to the UTF-16 of the Windows API.
std::wstring widen(std::string_view text);

}  // namespace lorvena
