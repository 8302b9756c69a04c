// Entry point of the generic installer for Windows: the scenario it carries,
// installed with the Win32 platform layer. The exit status tells how the run
// ended (0 after a normal run, 4 when it carries no sound scenario).
#include "app/packaged_run.h"
#include "app/platform_win32.h"
#include "disk/system_disk.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  lorvena::Win32Platform platform(instance, show_command, L"Installazione scenario");
  lorvena::SystemDisk disk;
  return lorvena::run_packaged_installer(platform, disk, lorvena::module_path());
}
