#include "app/packaged_run.h"

#include <memory>

#include "app/run_time_message.h"
#include "disk/file_names.h"
#include "disk/file_system.h"

namespace lorvena {

InstalledScenario installed_from(PackagedScenario scenario) {
  auto s = std::make_shared<const PackagedScenario>(std::move(scenario));
  InstalledScenario installed{s->name, s->train, {}, {}};
  installed.write_descriptions = [s](Disk& disk, const std::filesystem::path& dir) {
    replace_file(disk, join_path(dir, line_description_name(s->name)), s->line_description, Flush::kNo);
    replace_file(disk, join_path(dir, train_description_name(s->name, s->train)), s->train_description, Flush::kNo);
  };
  installed.write_documents = [s](Disk& disk, const std::filesystem::path& dir) {
    for (const PackagedDocument& d : s->documents) replace_file(disk, join_path(dir, d.file_name), d.bytes, Flush::kYes);
  };
  return installed;
}

std::string payload_message(const PayloadError& e) {
  const std::string nothing = "Nessun file \xC3\xA8 stato scritto.";
  switch (e.kind()) {
    case PayloadError::Kind::kMissing:
      return "Questo programma non contiene lo scenario da installare: il file \xC3\xA8 incompleto.\n"
             "Scaricare di nuovo il programma. " + nothing;
    case PayloadError::Kind::kDamaged:
      return "Lo scenario contenuto in questo programma \xC3\xA8 danneggiato: il file \xC3\xA8 stato alterato "
             "o non \xC3\xA8 completo.\nScaricare di nuovo il programma. " + nothing;
    case PayloadError::Kind::kNewerFormat:
      return "Lo scenario contenuto in questo programma \xC3\xA8 nel formato " + std::to_string(e.format()) +
             ", pi\xC3\xB9 recente del formato " + std::to_string(kPayloadFormat) +
             " che questo programma sa leggere.\nChiedere all'autore dello scenario di preparare di nuovo "
             "il programma. " + nothing;
  }
  return nothing;
}

int run_packaged_installer(Platform& platform, Disk& disk, const std::filesystem::path& program) {
  PackagedScenario scenario;
  try {
    scenario = read_payload(read_file(disk, program));
  } catch (const PayloadError& e) {
    platform.show_run_time_error(payload_message(e));
    return kExitNoScenario;
  } catch (const FileSystemError& e) {
    platform.show_run_time_error(run_time_message(e));
    return kExitRunTimeError;
  }
  platform.name_scenario(scenario.name);
  return run_installer(platform, disk, installed_from(std::move(scenario)));
}

}  // namespace lorvena
