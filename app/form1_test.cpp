#include "app/form1.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/platform_native.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/captured_stream.h"
#include "testing/faulty_disk.h"
#include "testing/sha256.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

constexpr const char* kPinFile = "shipped_files.sha256";

constexpr const char* kSixFiles =
    "LORVENA PF_4316.dat|LORVENA PF_4316.sim|LORVENA PF_4316_note.txt|"
    "LORVENA PF_4316_rallentamenti.txt|LORVENA PF_4316_scheda_treno.txt|LORVENA PF_linea.dat";

std::map<std::string, std::string> contents(const std::filesystem::path& dir) {
  std::map<std::string, std::string> out;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    out[entry.path().filename().string()] = testing::read_bytes(entry.path());
  return out;
}

// The sums of the six files every run ships, kept beside the tests.
std::map<std::string, std::string> pinned_sums() {
  std::filesystem::path pin = std::filesystem::path(__FILE__).parent_path().parent_path() / "testing" / kPinFile;
  std::map<std::string, std::string> sums;
  std::istringstream lines(testing::read_bytes(pin));
  for (std::string line; std::getline(lines, line);)
    if (line.size() > 66) sums[line.substr(66)] = line.substr(0, 64);
  return sums;
}

std::string pin_mismatch(const std::string& name, const std::string& pinned, const std::string& got) {
  return "\"" + name + "\" is not the file players get:\n  pinned " + pinned + "\n  now    " + got +
         "\nTo see the difference, run both programs (bash scripts/run.sh DIR on each branch) and compare: "
         "scenario_tool dump FILE or scenario_tool diff OLD NEW for the compiled files, diff -u for the "
         "documents.\nIf the change is intended: bash scripts/pin_shipped_files.sh, and commit "
         "testing/" + std::string(kPinFile) + ".";
}

// Any change to what players get fails here until the pin is updated.
TEST(InstallerRun, ShipsThePinnedBytesAndASecondRunWritesTheSame) {
  ScratchDir dir;
  testing::CapturedStream out, err;
  NativePlatform platform(dir.path(), out.stream(), err.stream());
  SystemDisk disk;
  EXPECT_EQ(run_installer(platform, disk), kExitNormal);
  EXPECT_EQ(out.text(), "Attendere\n");
  EXPECT_EQ(err.text(), "");
  EXPECT_EQ(testing::list_files(dir.path()), kSixFiles);
  auto first = contents(dir.path());
  auto pinned = pinned_sums();
  ASSERT_EQ(pinned.size(), 6u) << "testing/" << kPinFile << " should hold six sums";
  for (const auto& [name, sum] : pinned) {
    std::string got = first.count(name) ? testing::sha256_hex(first[name]) : "(no such file)";
    EXPECT_EQ(got, sum) << pin_mismatch(name, sum, got);
  }

  EXPECT_EQ(run_installer(platform, disk), kExitNormal);
  EXPECT_EQ(contents(dir.path()), first);
}

// The run's own disk, except that the train description gets one more
// record once it is in place: an object in cell 1, where the stamp 5121 goes.
class ObjectInCellOneDisk : public testing::FaultyDisk {
 public:
  explicit ObjectInCellOneDisk(Disk& real) : FaultyDisk(real) {}
  int rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
    int result = FaultyDisk::rename(from, to);
    if (result == 0 && to.filename() == train_description_name(kScenarioName, kTrainNumber))
      testing::write_bytes(to, testing::read_bytes(to) + "abbattimento, 50, 5\r\n");
    return result;
  }
};

TEST(InstallerRun, ReservedSlotInUseEndsTheRunWithError1250AndNoCompiledFile) {
  ScratchDir dir;
  testing::CapturedStream out, err;
  NativePlatform platform(dir.path(), out.stream(), err.stream());
  SystemDisk real;
  ObjectInCellOneDisk disk(real);
  EXPECT_EQ(run_installer(platform, disk), kExitFatalError);
  EXPECT_EQ(out.text(), "Attendere\n");
  EXPECT_EQ(err.text(), " Errore n. 1250\n");
  // The documents stay, the descriptions were read and deleted, and nothing
  // was compiled.
  EXPECT_EQ(testing::list_files(dir.path()),
            "LORVENA PF_4316_note.txt|LORVENA PF_4316_rallentamenti.txt|LORVENA PF_4316_scheda_treno.txt");
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
