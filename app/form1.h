// The installer run: fixes the scenario identity, shows the waiting window,
// writes the descriptions and the driver documents, then compiles.
#pragma once

#include <filesystem>

#include "app/platform.h"
#include "compiler/model.h"
#include "disk/disk.h"

namespace lorvena {

inline constexpr const char* kScenarioName = "LORVENA PF";
inline constexpr const char* kTrainNumber = "4316";

struct Form1 {
  Scenario model;
  std::filesystem::path directory;
  bool waiting_window_shown = false;

  // The whole run, in order, every file through `disk`. Throws FatalError or
  // FileSystemError.
  void Form_Load(Platform& platform, Disk& disk);
};

// Runs Form_Load, shows whatever ended it early and returns the exit status.
int run_installer(Platform& platform, Disk& disk);

}  // namespace lorvena
