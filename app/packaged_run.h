// The generic installer's run: the scenario it carries is read from its own
// program file, then installed by the same run as LORVENA PF's, with the
// payload's descriptions and documents in place of the program's own.
#pragma once

#include <filesystem>
#include <string>

#include "app/form1.h"
#include "payload/payload.h"

namespace lorvena {

// The packaged scenario as the run installs it: the descriptions written
// unflushed (the compile deletes them), each document flushed.
InstalledScenario installed_from(PackagedScenario scenario);

// What the player reads when the program carries no sound scenario.
std::string payload_message(const PayloadError& e);

// Reads `program` (the running executable), then runs the installer with the
// scenario it carries. A payload that is missing, damaged or of a later
// format is said in Italian and ends the run with kExitNoScenario before
// anything is written.
int run_packaged_installer(Platform& platform, Disk& disk, const std::filesystem::path& program);

}  // namespace lorvena
