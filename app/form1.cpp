#include "app/form1.h"

#include "app/run_time_message.h"
#include "compiler/compiler.h"
#include "compiler/fatal_error.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_system.h"
#include "documents/driver_documents.h"

namespace lorvena {

InstalledScenario lorvena_pf_scenario() {
  InstalledScenario s{kScenarioName, kTrainNumber, {}, {}};
  s.write_descriptions = [](Disk& disk, const std::filesystem::path& dir) {
    dati_linea(disk, dir, kScenarioName);
    dati_treno(disk, dir, kScenarioName, kTrainNumber);
  };
  s.write_documents = [](Disk& disk, const std::filesystem::path& dir) {
    dati_note(disk, dir, kScenarioName, kTrainNumber);
    dati_rallentamenti(disk, dir, kScenarioName, kTrainNumber);
    dati_scheda(disk, dir, kScenarioName, kTrainNumber);
  };
  return s;
}

void Form1::Form_Load(Platform& platform, Disk& disk) {
  model.scenario_name = installed.name;
  model.train_number = installed.train;
  directory = platform.program_directory();
  waiting_window_shown = platform.show_waiting_window();
  installed.write_descriptions(disk, directory);
  installed.write_documents(disk, directory);
  memorizza_percorso(disk, model, directory, 1, CompileMode::kInstallerRun);
  // Every file the run leaves was flushed before its rename; one flush of the
  // directory now makes all the renames durable.
  sync_directory(disk, directory);
}

int run_installer(Platform& platform, Disk& disk) { return run_installer(platform, disk, lorvena_pf_scenario()); }

int run_installer(Platform& platform, Disk& disk, InstalledScenario installed) {
  Form1 form;
  form.installed = std::move(installed);
  try {
    form.Form_Load(platform, disk);
  } catch (const FatalError& e) {
    platform.show_fatal_error(e.what());
    return kExitFatalError;
  } catch (const FileSystemError& e) {
    platform.show_run_time_error(run_time_message(e));
    return kExitRunTimeError;
  }
  if (form.waiting_window_shown) return kExitNormal;
  platform.show_not_shown_note();
  return kExitNotShown;
}

}  // namespace lorvena
