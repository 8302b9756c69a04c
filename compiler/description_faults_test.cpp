// The scenario's own descriptions damaged between the writer and the reader:
// a file removed, unreadable, or cut short anywhere. The compile records an
// error or reads what is there, and never crashes or writes a file cut short;
// in the installer's run a file that cannot be read back is a disk failure.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "compiler/compiler.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/file_system.h"
#include "disk/system_disk.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;

enum class Damaged { kLine, kTrain };

class DamagedDescription {
 public:
  DamagedDescription() {
    model_.scenario_name = "LORVENA PF";
    model_.train_number = "4316";
    dati_linea(disk_, dir_.path(), model_.scenario_name);
    dati_treno(disk_, dir_.path(), model_.scenario_name, model_.train_number);
  }

  fs::path path(Damaged which) const {
    return dir_ / (which == Damaged::kLine ? line_description_name(model_.scenario_name)
                                           : train_description_name(model_.scenario_name, model_.train_number));
  }
  std::string text(Damaged which) const { return read_bytes(path(which)); }

  // Compiles with `which` cut to its first `length` bytes (or removed).
  const Scenario& compile(Damaged which, std::optional<size_t> length, int32_t j,
                          CompileMode mode = CompileMode::kCopies) {
    std::string whole = text(which);
    if (length) testing::write_bytes(path(which), whole.substr(0, *length));
    else fs::remove(path(which));
    return compile(j, mode);
  }
  const Scenario& compile(int32_t j, CompileMode mode) {
    memorizza_percorso(disk_, model_, dir_.path(), j, mode);
    return model_;
  }

  bool exists(const std::string& name) const { return fs::exists(dir_ / name); }
  std::string track_file() const { return read_bytes(dir_ / track_file_name("LORVENA PF", "4316")); }
  fs::path dir() const { return dir_.path(); }

 private:
  ScratchDir dir_;
  Scenario model_;
  SystemDisk disk_;
};

TEST(DescriptionFaults, RemovedDescriptionIsARecordedError) {
  {
    DamagedDescription d;
    const Scenario& m = d.compile(Damaged::kLine, std::nullopt, 1);
    EXPECT_EQ(m.err_code, 101);
    EXPECT_FALSE(d.exists("LORVENA PF_4316.dat"));  // nothing read, nothing compiled
  }
  {
    DamagedDescription d;
    const Scenario& m = d.compile(Damaged::kTrain, std::nullopt, 1);
    EXPECT_EQ(m.err_code, 25);
    EXPECT_FALSE(d.exists("LORVENA PF_linea.txt"));
    EXPECT_EQ(d.track_file().size(), 15 * m.track.size());  // the line as read is compiled
  }
}

// A description that cannot be opened (removed) or read (a folder in its
// place): in the installer's run a disk failure that names the file, found
// before any compiled file is replaced, so the old compiled files stay as
// they were. Outside it a removed one is a recorded error (101 for the line,
// 25 for the train), as RemovedDescriptionIsARecordedError shows in full.
TEST(DescriptionFaults, InstallerRunTakesAnUnreadableDescriptionAsADiskFailure) {
  struct Case {
    Damaged which;
    bool folder;
    int number;
  };
  const Case cases[] = {{Damaged::kLine, false, ENOENT},
                        {Damaged::kLine, true, EISDIR},
                        {Damaged::kTrain, false, ENOENT},
                        {Damaged::kTrain, true, EISDIR}};
  const std::string compiled[] = {plan_file_name("LORVENA PF"), table_file_name("LORVENA PF", "4316"),
                                  track_file_name("LORVENA PF", "4316")};
  for (const Case& c : cases) {
    for (CompileMode mode : {CompileMode::kCopies, CompileMode::kInstallerRun}) {
      SCOPED_TRACE(std::string(c.which == Damaged::kLine ? "line" : "train") + (c.folder ? " folder" : " removed") +
                   (mode == CompileMode::kCopies ? ", copies" : ", installer run"));
      DamagedDescription d;
      for (const std::string& name : compiled) testing::write_bytes(d.dir() / name, "old " + name);
      fs::remove(d.path(c.which));
      if (c.folder) fs::create_directory(d.path(c.which));
      if (mode == CompileMode::kCopies) {
        // A folder cannot be deleted as the reading ends: that fails apart.
        if (!c.folder) {
          EXPECT_EQ(d.compile(1, mode).err_code, c.which == Damaged::kLine ? 101 : 25);
        }
        continue;
      }
      try {
        d.compile(1, mode);
        ADD_FAILURE() << "no disk failure";
      } catch (const FileSystemError& e) {
        EXPECT_EQ(e.action(), FileAction::kRead);
        EXPECT_EQ(e.file(), d.path(c.which));
        EXPECT_EQ(e.number(), c.number);
      }
      for (const std::string& name : compiled) EXPECT_EQ(read_bytes(d.dir() / name), "old " + name);
    }
  }
}

// Every line of both descriptions that holds a comma is a record: cut just
// after its first comma, the reading runs out in the middle of the record.
TEST(DescriptionFaults, CutInsideARecordIsError25) {
  for (Damaged which : {Damaged::kLine, Damaged::kTrain}) {
    std::string text = DamagedDescription().text(which);
    int records = 0;
    for (size_t line = 0; line < text.size(); line = text.find('\n', line) + 1) {
      size_t comma = text.find(',', line);
      if (comma == std::string::npos || comma > text.find('\n', line)) continue;
      ++records;
      DamagedDescription d;
      // Curves are read only with the plan on.
      bool curve = text.compare(line, 5, "curva") == 0;
      const Scenario& m = d.compile(which, comma + 1, curve ? 1 : 0);
      EXPECT_EQ(m.err_code, 25) << text.substr(line, comma + 1 - line);
      EXPECT_FALSE(d.exists("LORVENA PF_linea.txt"));
      EXPECT_FALSE(d.exists("LORVENA PF_4316-.txt"));
    }
    EXPECT_GT(records, 90);
  }
}

// A cut anywhere (every 11th length): no crash, the line description is
// always deleted, and a track file written holds every cell of the model.
// One description cut every 11 bytes; the cuts are shared out among a few
// tests (every fourth cut in each) so that they run side by side.
struct CutWalk {
  Damaged which;
  size_t part;
};
constexpr size_t kCutParts = 4;

class CutAnywhere : public ::testing::TestWithParam<CutWalk> {};

TEST_P(CutAnywhere, NeverCrashes) {
  const auto [which, part] = GetParam();
  size_t size = DamagedDescription().text(which).size();
  for (size_t length = 11 * part; length <= size; length += 11 * kCutParts) {
    DamagedDescription d;
    const Scenario& m = d.compile(which, length, 0);
    SCOPED_TRACE("cut at " + std::to_string(length) + ", error " + std::to_string(m.err_code));
    EXPECT_FALSE(d.exists("LORVENA PF_linea.txt"));
    if (m.track.empty()) EXPECT_FALSE(d.exists("LORVENA PF_4316.dat"));
    else EXPECT_EQ(d.track_file().size(), 15 * m.track.size());
  }
}

std::vector<CutWalk> every_cut_walk() {
  std::vector<CutWalk> walks;
  for (Damaged which : {Damaged::kLine, Damaged::kTrain})
    for (size_t part = 0; part < kCutParts; ++part) walks.push_back({which, part});
  return walks;
}

std::string cut_walk_name(const ::testing::TestParamInfo<CutWalk>& info) {
  return std::string(info.param.which == Damaged::kLine ? "Line" : "Train") + std::to_string(info.param.part + 1);
}

INSTANTIATE_TEST_SUITE_P(DescriptionFaults, CutAnywhere, ::testing::ValuesIn(every_cut_walk()), cut_walk_name);

}  // namespace
}  // namespace lorvena
