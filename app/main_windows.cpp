// Entry point of the Windows program: the run with the Win32 platform layer.
// The exit status tells how the run ended (0 after a normal run).
#include "app/form1.h"
#include "app/platform_win32.h"
#include "disk/system_disk.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  lorvena::Win32Platform platform(instance, show_command);
  lorvena::SystemDisk disk;
  return lorvena::run_installer(platform, disk);
}
