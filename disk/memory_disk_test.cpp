#include "disk/memory_disk.h"

#include <gtest/gtest.h>

#include "disk/file_system.h"

namespace lorvena {
namespace {

// What is written stays in memory; a file whose bytes are not kept exists,
// moves and goes like the others but cannot be read back; a name already
// taken is refused to a new file, as on a real disk.
TEST(MemoryDisk, KeepsWritesInMemoryAndRefusesToReadUnkeptBytes) {
  const std::filesystem::path dir = "scratch";
  MemoryDisk memory([](const std::filesystem::path& p) { return p.filename().string().find(".dat") == std::string::npos; });

  replace_file(memory, dir / "copy.txt", "a copy", Flush::kNo);
  replace_file(memory, dir / "compiled.dat", std::string(1 << 20, 'x'), Flush::kNo);
  EXPECT_EQ(read_file(memory, dir / "copy.txt"), "a copy");
  EXPECT_TRUE(file_exists(memory, dir / "compiled.dat"));
  EXPECT_THROW(read_file(memory, dir / "compiled.dat"), FileSystemError);
  EXPECT_EQ(list_folder(memory, dir), (std::vector<std::string>{"compiled.dat", "copy.txt"}));
  EXPECT_THROW(create_file(memory, dir / "copy.txt", "again", Flush::kNo), FileInTheWay);
  EXPECT_EQ(read_file(memory, dir / "copy.txt"), "a copy");

  remove_file(memory, dir / "compiled.dat");
  EXPECT_FALSE(file_exists(memory, dir / "compiled.dat"));
  EXPECT_FALSE(read_file_if_there(memory, dir / "compiled.dat"));
}

}  // namespace
}  // namespace lorvena
