// Entry point of the console build: the same run as the Windows program.
#include <cstdio>

#include "app/form1.h"
#include "app/platform_native.h"
#include "disk/system_disk.h"

int main() {
  lorvena::NativePlatform platform(lorvena::executable_directory(), stdout, stderr);
  lorvena::SystemDisk disk;
  return lorvena::run_installer(platform, disk);
}
