// The installer run: fixes the scenario identity, shows the waiting window,
// writes the descriptions and the driver documents, then compiles.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/platform.h"
#include "compiler/model.h"
#include "disk/disk.h"

namespace lorvena {

inline constexpr const char* kScenarioName = "LORVENA PF";
inline constexpr const char* kTrainNumber = "4316";

// What a run installs: the scenario's identity and the writers of its texts,
// called in this order before the compile. LORVENA PF's are the program's
// own; a packaged installer's come from the payload it carries.
struct InstalledScenario {
  std::string name;
  std::string train;
  // The line and the train description, which the compile reads back and deletes.
  std::function<void(Disk&, const std::filesystem::path&)> write_descriptions;
  // The documents for the driver, each flushed: they stay.
  std::function<void(Disk&, const std::filesystem::path&)> write_documents;
};

// LORVENA PF/4316: its two descriptions, then the notes, the slowdown order
// and the train card.
InstalledScenario lorvena_pf_scenario();

struct Form1 {
  InstalledScenario installed = lorvena_pf_scenario();
  Scenario model;
  std::filesystem::path directory;
  bool waiting_window_shown = false;

  // The whole run, in order, every file through `disk`. Throws FatalError or
  // FileSystemError.
  void Form_Load(Platform& platform, Disk& disk);
};

// Runs Form_Load, shows whatever ended it early and returns the exit status.
int run_installer(Platform& platform, Disk& disk);
int run_installer(Platform& platform, Disk& disk, InstalledScenario installed);

}  // namespace lorvena
