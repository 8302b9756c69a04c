#include "app/run_time_message.h"

namespace lorvena {
namespace {

std::string utf8(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string quoted(const std::filesystem::path& path) {
  std::string text(1, '"');
  text += utf8(path);
  text += '"';
  return text;
}

std::string what_happened(const FileSystemError& e) {
  std::string folder = quoted(e.file().parent_path());
  std::string file = quoted(e.file().filename());
  switch (e.action()) {
    case FileAction::kWrite:
      return "Errore di run-time durante la scrittura del file " + file + " nella cartella " + folder + ".";
    case FileAction::kRead:
      return "Errore di run-time durante la rilettura del file " + file + " nella cartella " + folder + ".";
    case FileAction::kRemove:
      return "Errore di run-time durante la cancellazione del file " + file + " nella cartella " + folder + ".";
    case FileAction::kFlushFolder:
    case FileAction::kList:
    case FileAction::kMakeFolder:
      break;
  }
  return "Errore di run-time durante il salvataggio dei file nella cartella " + quoted(e.file()) + ".";
}

std::string what_to_do(const FileSystemError& e) {
  switch (e.cause()) {
    case ErrorCause::kFolderNotWritable:
      // Refused while reading back a file the run has just written.
      if (e.action() == FileAction::kRead)
        return "Il programma non ha il permesso di leggere i file in questa cartella: spostalo in una "
               "cartella tua e avvialo di nuovo.";
      return "Il programma non ha il permesso di scrivere in questa cartella: spostalo in una cartella "
             "tua e avvialo di nuovo.";
    case ErrorCause::kDiskFull:
      return "Il disco è pieno: libera un po' di spazio e avvia di nuovo il programma.";
    case ErrorCause::kOther:
      break;
  }
  return "Avvia di nuovo il programma; se l'errore si ripete, chiedi aiuto mostrando questo messaggio.";
}

}  // namespace

std::string run_time_message(const FileSystemError& e) {
  return what_happened(e) + "\n" + what_to_do(e) + "\nErrore di sistema " + std::to_string(e.number()) +
         ": " + e.system_text();
}

}  // namespace lorvena
