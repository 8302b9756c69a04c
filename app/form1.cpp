#include "app/form1.h"

#include "app/run_time_message.h"
#include "compiler/compiler.h"
#include "compiler/fatal_error.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_system.h"
#include "documents/driver_documents.h"

namespace lorvena {

void Form1::Form_Load(Platform& platform, Disk& disk) {
  model.scenario_name = kScenarioName;
  model.train_number = kTrainNumber;
  directory = platform.program_directory();
  waiting_window_shown = platform.show_waiting_window();
  dati_linea(disk, directory, model.scenario_name);
  dati_treno(disk, directory, model.scenario_name, model.train_number);
  dati_note(disk, directory, model.scenario_name, model.train_number);
  dati_rallentamenti(disk, directory, model.scenario_name, model.train_number);
  dati_scheda(disk, directory, model.scenario_name, model.train_number);
  memorizza_percorso(disk, model, directory, 1, CompileMode::kInstallerRun);
  // Every file the run leaves was flushed before its rename; one flush of the
  // directory now makes all the renames durable.
  sync_directory(disk, directory);
}

int run_installer(Platform& platform, Disk& disk) {
  Form1 form;
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
