#include "tools/lsp/memory_disk.h"

#include <gtest/gtest.h>

#include "disk/file_system.h"
#include "disk/scratch_dir.h"
#include "disk/system_disk.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

// What a compile writes stays in memory; a file whose bytes are not kept
// exists, moves and goes like the others but cannot be read back; the real
// disk is read below and never written.
TEST(MemoryDisk, KeepsWritesInMemoryAndRefusesToReadUnkeptBytes) {
  ScratchDir dir;
  SystemDisk real;
  testing::write_bytes(dir / "below.txt", "on disk");
  MemoryDisk memory(real, [](const std::filesystem::path& p) { return p.filename().string().find(".dat") == std::string::npos; });

  replace_file(memory, dir / "copy.txt", "a copy", Flush::kNo);
  replace_file(memory, dir / "compiled.dat", std::string(1 << 20, 'x'), Flush::kNo);
  EXPECT_EQ(read_file(memory, dir / "copy.txt"), "a copy");
  EXPECT_EQ(read_file(memory, dir / "below.txt"), "on disk");
  EXPECT_TRUE(file_exists(memory, dir / "compiled.dat"));
  EXPECT_FALSE(file_exists(memory, dir / "compiled.dat.tmp"));
  EXPECT_THROW(read_file(memory, dir / "compiled.dat"), FileSystemError);
  EXPECT_FALSE(std::filesystem::exists(dir / "copy.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "compiled.dat"));

  remove_file(memory, dir / "compiled.dat");
  EXPECT_FALSE(file_exists(memory, dir / "compiled.dat"));
  remove_file(memory, dir / "below.txt");  // only what was written here goes
  EXPECT_TRUE(std::filesystem::exists(dir / "below.txt"));
}

}  // namespace
}  // namespace lorvena
