// A test-only build of the Windows program: the real run and platform layer,
// with hooks that the Wine tests choose on its command line. Never shipped.
//   --hold MS            after the window is painted, work MS ms without messages
//   --errore NUMBER      the run stops with that fatal error
//   --unwritable         the run fails writing into a missing directory
//   --write-directory    writes the program directory (UTF-8) to program_directory.txt
//   --write-dpi          writes the dpi the form is laid out in, and its own, to dpi.txt
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/form1.h"
#include "app/platform_win32.h"
#include "compiler/fatal_error.h"
#include "disk/file_system.h"
#include "disk/system_disk.h"

namespace {

struct Hooks {
  int hold_ms = 0;
  std::string errore_number;
  bool unwritable = false;
  bool write_directory = false;
  bool write_dpi = false;
};

Hooks parse_hooks(int argc, char** argv) {
  Hooks hooks;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool has_value = i + 1 < argc;
    if (arg == "--hold" && has_value) hooks.hold_ms = std::atoi(argv[++i]);
    else if (arg == "--errore" && has_value) hooks.errore_number = argv[++i];
    else if (arg == "--unwritable") hooks.unwritable = true;
    else if (arg == "--write-directory") hooks.write_directory = true;
    else if (arg == "--write-dpi") hooks.write_dpi = true;
  }
  return hooks;
}

// A user32 function that older Windows lacks, or nullptr there.
template <typename Function>
Function user32_function(const char* name) {
  FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// "screen X Y window W": the screen's logical dpi, which lays the form out,
// and the dpi Windows keeps for the form itself (0 where it cannot tell).
std::string dpi_report(HWND form) {
  using GetWindowDpi = UINT(WINAPI*)(HWND);
  auto window_dpi = user32_function<GetWindowDpi>("GetDpiForWindow");
  HDC screen = GetDC(nullptr);
  std::string report = "screen " + std::to_string(GetDeviceCaps(screen, LOGPIXELSX)) + " " +
                       std::to_string(GetDeviceCaps(screen, LOGPIXELSY)) + " window " +
                       std::to_string(window_dpi && form ? window_dpi(form) : 0) + "\n";
  ReleaseDC(nullptr, screen);
  return report;
}

class HookedPlatform : public lorvena::Win32Platform {
 public:
  HookedPlatform(HINSTANCE instance, int show_command, Hooks hooks)
      : Win32Platform(instance, show_command), hooks_(std::move(hooks)) {}

  bool show_waiting_window() override {
    bool shown = Win32Platform::show_waiting_window();
    if (hooks_.hold_ms > 0) Sleep(static_cast<DWORD>(hooks_.hold_ms));
    std::filesystem::path dir = program_directory();
    if (hooks_.write_directory) {
      std::u8string utf8 = dir.u8string();
      lorvena::replace_file(disk_, lorvena::join_path(dir, "program_directory.txt"),
                            std::string(utf8.begin(), utf8.end()), lorvena::Flush::kNo);
    }
    if (hooks_.write_dpi)
      lorvena::replace_file(disk_, lorvena::join_path(dir, "dpi.txt"), dpi_report(form()), lorvena::Flush::kNo);
    if (hooks_.unwritable) lorvena::replace_file(disk_, dir / L"missing" / L"file.txt", "x", lorvena::Flush::kNo);
    if (!hooks_.errore_number.empty()) lorvena::errore(hooks_.errore_number);
    return shown;
  }

 private:
  Hooks hooks_;
  lorvena::SystemDisk disk_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  HookedPlatform platform(instance, show_command, parse_hooks(__argc, __argv));
  lorvena::SystemDisk disk;
  return lorvena::run_installer(platform, disk);
}
