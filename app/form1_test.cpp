#include "app/form1.h"

#include <gtest/gtest.h>

#include <map>

#include "app/platform_native.h"
#include "files/system_disk.h"
#include "testing/captured_stream.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {


constexpr const char* kSixFiles =
    "LORVENA PF_4316.dat|LORVENA PF_4316.sim|LORVENA PF_4316_note.txt|"
    "LORVENA PF_4316_rallentamenti.txt|LORVENA PF_4316_scheda_treno.txt|LORVENA PF_linea.dat";

std::map<std::string, std::string> contents(const std::filesystem::path& dir) {
  std::map<std::string, std::string> out;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    out[entry.path().filename().string()] = testing::read_bytes(entry.path());
  return out;
}

TEST(InstallerRun, LeavesSixFilesAndASecondRunWritesTheSameBytes) {
  ScratchDir dir;
  testing::CapturedStream out, err;
  NativePlatform platform(dir.path(), out.stream(), err.stream());
  SystemDisk disk;
  EXPECT_EQ(run_installer(platform, disk), kExitNormal);
  EXPECT_EQ(out.text(), "Attendere\n");
  EXPECT_EQ(err.text(), "");
  EXPECT_EQ(testing::list_files(dir.path()), kSixFiles);
  auto first = contents(dir.path());
  EXPECT_EQ(first["LORVENA PF_4316.dat"].size(), 15u * 2001);
  EXPECT_EQ(first["LORVENA PF_linea.dat"].size(), 2u * (2 * 4 + 99997 * 10 + 2 * 2));

  EXPECT_EQ(run_installer(platform, disk), kExitNormal);
  EXPECT_EQ(contents(dir.path()), first);
}

TEST(InstallerRun, FileSystemFailureEndsTheRunWithItsMessage) {
  ScratchDir dir;
  testing::CapturedStream out, err;
  NativePlatform platform(dir / "no such directory", out.stream(), err.stream());
  SystemDisk disk;
  EXPECT_EQ(run_installer(platform, disk), kExitRunTimeError);
  EXPECT_EQ(err.text(), "Errore di run-time durante la scrittura del file \"LORVENA PF_linea.txt\" nella cartella \"" +
                            (dir / "no such directory").string() +
                            "\".\nAvvia di nuovo il programma; se l'errore si ripete, chiedi aiuto mostrando questo "
                            "messaggio.\nErrore di sistema 2: No such file or directory\n");
  EXPECT_EQ(testing::list_files(dir.path()), "");
}

}  // namespace
}  // namespace lorvena
