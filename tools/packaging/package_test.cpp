// `package` end to end on the native build: the generic console installer
// packaged with a pair and documents, run in a folder of its own, must leave
// what `compile` writes and the documents in the installer's text; a packaged
// program whose payload is cut, damaged or later says so and writes nothing;
// a pair or a document that cannot be packaged is refused before anything is written.
#include "tools/packaging/package.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <map>

#include "app/platform.h"
#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "documents/driver_documents.h"
#include "payload/version_placeholders.h"
#include "testing/example_pair.h"
#include "testing/test_files.h"
#include "testing/tool_run.h"

namespace lorvena {
namespace {
namespace fs = std::filesystem;
using testing::tool;
using testing::ToolRun;

const std::string kName = testing::kExampleName, kTrain = testing::kExampleTrain;

// The native generic installer, built beside the LORVENA PF program.
fs::path generic_installer() { return testing::built_program("scenario_installer"); }

struct ProgramRun {
  int status = -1;
  std::string out, err;
};

// Runs a copy of `program` named `name` in `dir`, from another folder.
ProgramRun run_copy(const fs::path& program, const fs::path& dir, const std::string& name) {
  fs::copy_file(program, dir / name, fs::copy_options::overwrite_existing);
  fs::permissions(dir / name, fs::perms::owner_all);
  ScratchDir said;
  std::string command = "cd '" + said.path().string() + "' && '" + (dir / name).string() + "' >out.txt 2>err.txt";
  int status = std::system(command.c_str());
  ProgramRun run;
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.out = testing::read_bytes(said / "out.txt");
  run.err = testing::read_bytes(said / "err.txt");
  return run;
}

std::map<std::string, std::string> contents(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir))
    files[entry.path().filename().string()] = testing::read_bytes(entry.path());
  return files;
}

std::vector<std::string> package_args(const fs::path& pair_dir, const std::string& name, const std::string& train,
                                      const fs::path& out, std::vector<std::string> documents = {}) {
  std::vector<std::string> args{"package", pair_dir.string(), name, train};
  if (!documents.empty()) {
    args.push_back("--documents");
    args.insert(args.end(), documents.begin(), documents.end());
  }
  for (const std::string& word : {std::string("--installer"), generic_installer().string(), std::string("--out"),
                                  out.string()})
    args.push_back(word);
  return args;
}

class Package : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(generic_installer().empty()) << "LORVENA_PF_EXE is not set: run the tests through ctest";
    ASSERT_TRUE(fs::exists(generic_installer())) << generic_installer();
  }
};

// The example with two documents, one UTF-8 with LF ends and one already
// Windows-1252 with CR ends (after a stray byte-order mark, dropped): the run leaves the compiled files of `compile`
// and the documents in Windows-1252 with CR LF, twice the same.
TEST_F(Package, TheExampleInstallsWhatCompileWritesAndTheDocuments) {
  ScratchDir work, compiled, installed;
  testing::write_bytes(work / "orario.txt", "Partenza da Citt\xC3\xA0 Alta alle 7:10\n\nArrivo: 7:52");
  testing::write_bytes(work / "VALDORNO_2417_note.txt", "\xEF\xBB\xBFPrima riga\nSeconda \xE8 1252\r");
  const fs::path program = work / "valdorno.exe";
  ToolRun packaged = tool(package_args(testing::examples_dir(), kName, kTrain, program,
                                       {(work / "orario.txt").string(), (work / "VALDORNO_2417_note.txt").string()}));
  ASSERT_EQ(packaged.status, 0) << packaged.err;
  EXPECT_NE(packaged.out.find("packaged: " + program.string()), std::string::npos) << packaged.out;
  ASSERT_EQ(tool({"compile", testing::examples_dir().string(), kName, kTrain, "--out", compiled.path().string()}).status, 0);

  std::map<std::string, std::string> want = contents(compiled.path());
  ASSERT_EQ(want.size(), 3u);
  want["orario.txt"] = "Partenza da Citt\xE0 Alta alle 7:10\r\n\r\nArrivo: 7:52\r\n";
  want["VALDORNO_2417_note.txt"] = "Prima riga\r\nSeconda \xE8 1252\r\n";
  want["valdorno"] = testing::read_bytes(program);
  for (const char* round : {"first", "second"}) {
    SCOPED_TRACE(round);
    ProgramRun run = run_copy(program, installed.path(), "valdorno");
    EXPECT_EQ(run.status, kExitNormal) << run.err;
    EXPECT_EQ(run.out, "Attendere\n");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(contents(installed.path()) == want) << testing::list_files(installed.path());
  }
}

// LORVENA PF's own pair and documents, packaged, make the six files the
// installer ships, byte for byte.
TEST_F(Package, TheInstallersOwnPairMakesTheInstallersSixFiles) {
  const char* name = "LORVENA PF";
  const char* train = "4316";
  ScratchDir pair, work, shipped, installed;
  SystemDisk disk;
  dati_linea(disk, pair.path(), name);
  dati_treno(disk, pair.path(), name, train);
  dati_note(disk, work.path(), name, train);
  dati_rallentamenti(disk, work.path(), name, train);
  dati_scheda(disk, work.path(), name, train);
  std::vector<std::string> documents;
  for (const std::string& file : {notes_file_name(name, train), slowdown_order_file_name(name, train),
                                  train_card_file_name(name, train)})
    documents.push_back((work / file).string());
  ToolRun packaged = tool(package_args(pair.path(), name, train, work / "lorvena_pf_packaged.exe", documents));
  ASSERT_EQ(packaged.status, 0) << packaged.err;

  ASSERT_EQ(run_copy(std::getenv("LORVENA_PF_EXE"), shipped.path(), "program").status, kExitNormal);
  ProgramRun run = run_copy(work / "lorvena_pf_packaged.exe", installed.path(), "program");
  ASSERT_EQ(run.status, kExitNormal) << run.err;
  std::map<std::string, std::string> want = contents(shipped.path()), got = contents(installed.path());
  want.erase("program");
  got.erase("program");
  EXPECT_EQ(want.size(), 6u);
  EXPECT_TRUE(got == want) << testing::list_files(installed.path());
}

// A payload cut, with a flipped byte, of a later format or not there at
// all: the program says so in Italian, ends with its own status and writes
// nothing.
TEST_F(Package, AProgramWhoseScenarioIsCutDamagedOrLaterWritesNothing) {
  ScratchDir work;
  const fs::path program = work / "valdorno.exe";
  ASSERT_EQ(tool(package_args(testing::examples_dir(), kName, kTrain, program)).status, 0);
  const std::string good = testing::read_bytes(program);
  std::string cut = good.substr(0, good.size() - 100);
  std::string flipped = good;
  flipped[good.size() - kPayloadTrailerSize - 200] ^= 0x20;
  std::string later = good;
  later[good.size() - kPayloadTrailerSize] = 2;
  const struct {
    const char* what;
    std::string bytes;
    const char* said;
  } cases[] = {
      {"cut", cut, "non contiene lo scenario"},
      {"a flipped byte", flipped, "danneggiato"},
      {"a later format", later, "nel formato 2"},
      {"no payload", testing::read_bytes(generic_installer()), "non contiene lo scenario"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    testing::write_bytes(work / "changed", c.bytes);
    ProgramRun run = run_copy(work / "changed", dir.path(), "valdorno");
    EXPECT_EQ(run.status, kExitNoScenario);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Nessun file \xC3\xA8 stato scritto."), std::string::npos) << run.err;
    EXPECT_EQ(testing::list_files(dir.path()), "valdorno");
  }
}

// Every refusal writes no program.
TEST_F(Package, RefusesWhatCannotBePackagedAndWritesNothing) {
  ScratchDir work, broken, warned;
  const std::string line = line_description_name(kName), train = train_description_name(kName, kTrain);
  const std::string ex = testing::examples_dir().string();
  std::string line_text = testing::read_bytes(testing::examples_dir() / line);
  testing::write_bytes(broken / line, line_text.replace(line_text.find("12000"), 5, "2000000"));
  testing::write_bytes(broken / train, testing::read_bytes(testing::examples_dir() / train));
  testing::write_bytes(warned / line, testing::read_bytes(testing::examples_dir() / line));
  std::string train_text = testing::read_bytes(testing::examples_dir() / train);
  const std::string first_speed = "velocita,       0,    70";
  ASSERT_NE(train_text.find(first_speed), std::string::npos);
  testing::write_bytes(warned / train, train_text.replace(train_text.find(first_speed), first_speed.size(),
                                                          "velocita,    1000,    70"));
  testing::write_bytes(work / "neve.txt", "\xE2\x98\x83 neve\n");
  testing::write_bytes(work / line, "not the line\n");
  testing::write_bytes(work / "a.txt", "a\n");
  fs::create_directory(work / "other");
  testing::write_bytes(work / "other" / "A.TXT", "b\n");
  const fs::path out = work / "out.exe";
  ASSERT_EQ(tool(package_args(ex, kName, kTrain, work / "packaged.exe")).status, 0);

  std::vector<std::string> with_werror = package_args(warned.path(), kName, kTrain, out);
  with_werror.push_back("--Werror");
  std::vector<std::string> packaged_installer = package_args(ex, kName, kTrain, out);
  packaged_installer[packaged_installer.size() - 3] = (work / "packaged.exe").string();
  std::vector<std::string> no_installer = package_args(ex, kName, kTrain, out);
  no_installer[no_installer.size() - 3] = (work / "nothing.exe").string();
  const struct {
    const char* what;
    std::vector<std::string> args;
    int status;
    const char* said;
  } cases[] = {
      {"a pair with an error", package_args(broken.path(), kName, kTrain, out), 1, "not packaged: the pair has errors"},
      {"a warning with --Werror", with_werror, 1, "--Werror"},
      {"a NAME that is not plain ASCII", package_args(ex, "VALD\xC3\x92RNO", kTrain, out), 2, "cannot be packaged"},
      {"a TRAIN with a separator", package_args(ex, kName, "24/17", out), 2, "cannot be packaged"},
      {"a document with no Windows-1252 form", package_args(ex, kName, kTrain, out, {(work / "neve.txt").string()}),
       2, "U+2603"},
      {"a document named as a description", package_args(ex, kName, kTrain, out, {(work / line).string()}), 2,
       "a file the installer writes"},
      {"two documents of one name",
       package_args(ex, kName, kTrain, out, {(work / "a.txt").string(), (work / "other" / "A.TXT").string()}), 2,
       "already given"},
      {"a document that is not there", package_args(ex, kName, kTrain, out, {(work / "none.txt").string()}), 2,
       "none.txt"},
      {"an installer that already carries a scenario", packaged_installer, 2, "already carries a scenario"},
      {"no installer", no_installer, 2, "no generic installer"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ToolRun run = tool(c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
  }
  std::vector<std::string> warned_args = package_args(warned.path(), kName, kTrain, out);
  ToolRun plain = tool(warned_args);
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_NE(plain.err.find("W-no-start-speed"), std::string::npos) << plain.err;
}

// The version block's two placeholders take the scenario in place: the
// program keeps its size up to the payload, and a program without them is
// refused.
TEST(PackageProgram, WritesTheScenarioIntoTheVersionBlockInPlace) {
  auto wide = [](std::string_view ascii) {
    std::string out;
    for (char c : ascii) out.append({c, '\0'});
    return out;
  };
  const std::string product = wide(LORVENA_PRODUCT_NAME_PLACEHOLDER);
  const std::string description = wide(LORVENA_FILE_DESCRIPTION_PLACEHOLDER);
  const std::string generic = "MZ" + std::string(100, 'x') + product + std::string(10, 'y') + description + "z";
  PackagedScenario s{"VALDORNO", "2417", "l", "t", {}};
  std::string program = packaged_program(generic, s);
  std::string image = program.substr(0, generic.size());
  EXPECT_EQ(image.find(product), std::string::npos);
  std::string name = wide("VALDORNO") + std::string(product.size() - 16, '\0');
  EXPECT_EQ(image.substr(102, product.size()), name);
  std::string text = wide("Scenario VALDORNO 2417: installazione");
  EXPECT_EQ(image.substr(102 + product.size() + 10, text.size()), text);
  EXPECT_EQ(image.substr(102 + product.size() + 10 + text.size(), description.size() - text.size()),
            std::string(description.size() - text.size(), '\0'));
  EXPECT_EQ(read_payload(program), s);
  EXPECT_THROW(packaged_program("MZ" + product, s), PackageRefused);
  EXPECT_THROW(packaged_program("MZ" + product + description + product, s), PackageRefused);
  EXPECT_EQ(packaged_program("\x7F" "ELF", s), "\x7F" "ELF" + payload_bytes(s));
}

}  // namespace
}  // namespace lorvena
