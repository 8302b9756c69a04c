// The four commands on the installer's own scenario, as dati_linea and
// dati_treno write it.
#include <gtest/gtest.h>

#include <sstream>

#include "descriptions/dati_linea.h"
#include "descriptions/dati_treno.h"
#include "disk/file_names.h"
#include "disk/system_disk.h"
#include "testing/test_files.h"
#include "tools/command_line.h"

namespace lorvena {
namespace {


int64_t count_of(const std::string& text, const std::string& word) {
  int64_t n = 0;
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

TEST(RunScenario, CompileCheckDumpAndDrawTheInstallersScenario) {
  ScratchDir dir, out;
  SystemDisk disk;
  dati_linea(disk, dir.path(), "LORVENA PF");
  dati_treno(disk, dir.path(), "LORVENA PF", "4316");
  std::string d = dir.path().string(), o = out.path().string();
  std::ostringstream text, err;

  EXPECT_EQ(run_tool({"compile", d, "LORVENA PF", "4316", "--out", o}, text, err), 0) << text.str() << err.str();
  EXPECT_EQ(text.str().substr(0, 9), "no error\n");
  EXPECT_EQ(testing::list_files(out.path()), "LORVENA PF_4316.dat|LORVENA PF_4316.sim|LORVENA PF_linea.dat");
  EXPECT_EQ(testing::list_files(dir.path()), "LORVENA PF_4316-.txt|LORVENA PF_linea.txt");

  std::ostringstream check;
  EXPECT_EQ(run_tool({"check", d, "LORVENA PF", "4316"}, check, err), 0);
  EXPECT_NE(check.str().find("  signal: 43\n"), std::string::npos) << check.str();
  EXPECT_NE(check.str().find("stations: 28\nsign boards: 6\nslowdowns: 0\n"), std::string::npos) << check.str();

  std::ostringstream dump;
  EXPECT_EQ(run_tool({"dump", (out.path() / "LORVENA PF_4316.sim").string(), "--csv"}, dump, err), 0);
  EXPECT_EQ(count_of(dump.str(), ",\"station\","), 28);
  EXPECT_NE(dump.str().find(",\"17:42:00\"\n"), std::string::npos);

  std::ostringstream drawn;
  std::string svg_path = (out.path() / "line.svg").string();
  EXPECT_EQ(run_tool({"draw", d, "LORVENA PF", "4316", "--out", svg_path}, drawn, err), 0);
  std::string svg = testing::read_bytes(svg_path);
  EXPECT_EQ(count_of(svg, "class=\"station\""), 28);
  EXPECT_EQ(count_of(svg, "class=\"signal\""), 43);
  EXPECT_EQ(count_of(svg, "class=\"plan-tunnel\""), 5);
}

}  // namespace
}  // namespace lorvena
