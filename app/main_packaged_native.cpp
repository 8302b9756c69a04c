// Entry point of the generic installer's console build: the scenario it
// carries, installed by the same run as the Windows program's.
#include <cstdio>

#include "app/packaged_run.h"
#include "app/platform_native.h"
#include "disk/system_disk.h"

int main() {
  lorvena::NativePlatform platform(lorvena::executable_directory(), stdout, stderr);
  lorvena::SystemDisk disk;
  return lorvena::run_packaged_installer(platform, disk, lorvena::executable_path());
}
