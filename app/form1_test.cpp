#include "app/form1.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/platform_native.h"
#include "testing/temp_dir.h"

namespace lorvena {
namespace {

using testing::TempDir;

TEST(InstallerRun, WritesTheScenarioAndEndsNormally) {
  TempDir dir;
  std::ostringstream out, err;
  NativePlatform platform(dir.path(), out, err);
  EXPECT_EQ(run_installer(platform), kExitNormal);
  EXPECT_EQ(out.str(), "Attendere\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_TRUE(std::filesystem::exists(dir / "LORVENA PF_4316_note.txt"));
}

TEST(InstallerRun, FileSystemFailureEndsTheRunWithItsMessage) {
  TempDir dir;
  std::ostringstream out, err;
  NativePlatform platform(dir / "no such directory", out, err);
  EXPECT_EQ(run_installer(platform), kExitRunTimeError);
  EXPECT_NE(err.str().find("Errore di run-time"), std::string::npos);
  EXPECT_NE(err.str().find("no such directory"), std::string::npos);
  EXPECT_EQ(testing::list_files(dir.path()), "");
}

}  // namespace
}  // namespace lorvena
