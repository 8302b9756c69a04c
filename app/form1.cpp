#include "app/form1.h"

#include "compiler/compiler.h"
#include "compiler/errore.h"
#include "documents/driver_documents.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "files/file_system.h"

namespace lorvena {

void Form1::Form_Load(Platform& platform) {
  model.scenario_name = kScenarioName;
  model.train_number = kTrainNumber;
  directory = platform.program_directory();
  platform.show_waiting_window();
  dati_linea(directory, model.scenario_name);
  dati_treno(directory, model.scenario_name, model.train_number);
  dati_note(directory, model.scenario_name, model.train_number);
  dati_rallentamenti(directory, model.scenario_name, model.train_number);
  dati_scheda(directory, model.scenario_name, model.train_number);
  memorizza_percorso(model, directory, 1);
}

int run_installer(Platform& platform) {
  Form1 form;
  try {
    form.Form_Load(platform);
  } catch (const FatalError& e) {
    platform.show_fatal_error(e.what());
    return kExitFatalError;
  } catch (const FileSystemError& e) {
    platform.show_run_time_error(e.number(), e.what());
    return kExitRunTimeError;
  }
  return kExitNormal;
}

}  // namespace lorvena
