#include "app/run_time_message.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace lorvena {
namespace {

constexpr const char* kMoveIt =
    "Il programma non ha il permesso di scrivere in questa cartella: spostalo in una cartella tua e avvialo di "
    "nuovo.";
constexpr const char* kFreeSpace = "Il disco è pieno: libera un po' di spazio e avvia di nuovo il programma.";
constexpr const char* kStartAgain =
    "Avvia di nuovo il programma; se l'errore si ripete, chiedi aiuto mostrando questo messaggio.";

// What happened to which file, what to do about it, then the system's own
// words; the file is the one the player knows, never a temporary.
TEST(RunTimeMessage, NamesFileAndFolderSaysWhatToDoAndEndsWithTheSystemLine) {
  struct Case {
    FileAction action;
    const char* file;
    int number;
    std::string expected;
  };
  const Case cases[] = {
      {FileAction::kWrite, "/giochi/LORVENA PF_linea.txt", EACCES,
       "Errore di run-time durante la scrittura del file \"LORVENA PF_linea.txt\" nella cartella \"/giochi\".\n" +
           std::string(kMoveIt) + "\nErrore di sistema 13: Permission denied"},
      {FileAction::kWrite, "/giochi/LORVENA PF_linea.dat", ENOSPC,
       "Errore di run-time durante la scrittura del file \"LORVENA PF_linea.dat\" nella cartella \"/giochi\".\n" +
           std::string(kFreeSpace) + "\nErrore di sistema 28: No space left on device"},
      {FileAction::kWrite, "/giochi/LORVENA PF_4316.sim", EDQUOT,
       "Errore di run-time durante la scrittura del file \"LORVENA PF_4316.sim\" nella cartella \"/giochi\".\n" +
           std::string(kFreeSpace) + "\nErrore di sistema 122: Disk quota exceeded"},
      {FileAction::kRead, "/giochi/LORVENA PF_4316-.txt", ENOENT,
       "Errore di run-time durante la rilettura del file \"LORVENA PF_4316-.txt\" nella cartella \"/giochi\".\n" +
           std::string(kStartAgain) + "\nErrore di sistema 2: No such file or directory"},
      {FileAction::kRead, "/giochi/LORVENA PF_linea.txt", EACCES,
       "Errore di run-time durante la rilettura del file \"LORVENA PF_linea.txt\" nella cartella \"/giochi\".\n"
       "Il programma non ha il permesso di leggere i file in questa cartella: spostalo in una cartella tua e "
       "avvialo di nuovo.\nErrore di sistema 13: Permission denied"},
      {FileAction::kRemove, "/giochi/LORVENA PF_linea.txt", EROFS,
       "Errore di run-time durante la cancellazione del file \"LORVENA PF_linea.txt\" nella cartella "
       "\"/giochi\".\n" +
           std::string(kMoveIt) + "\nErrore di sistema 30: Read-only file system"},
      {FileAction::kFlushFolder, "/giochi", EIO,
       "Errore di run-time durante il salvataggio dei file nella cartella \"/giochi\".\n" + std::string(kStartAgain) +
           "\nErrore di sistema 5: Input/output error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(run_time_message(FileSystemError(c.action, c.file, c.number)), c.expected);
  }
}

}  // namespace
}  // namespace lorvena
