#include "disk/text_document.h"

#include <gtest/gtest.h>

#include <vector>

#include "disk/file_system.h"
#include "disk/system_disk.h"
#include "testing/test_files.h"

namespace lorvena {
namespace {

using testing::read_bytes;

TEST(TextDocument, WritesLinesWithCrLfUpToTheEndMarker) {
  const std::string_view lines[] = {"", " ", "\xE0 la", kEndMarker, "never"};
  EXPECT_EQ(document_bytes(lines), "\r\n \r\n\xE0 la\r\n");
}

TEST(TextDocument, StopsAtCapacityWithoutAMarker) {
  std::vector<std::string_view> lines(kDocumentCapacity, "x");
  EXPECT_EQ(document_bytes(lines).size(), 3 * kDocumentCapacity);
  lines.push_back(kEndMarker);
  EXPECT_THROW(document_bytes(lines), std::length_error);
}

TEST(TextDocument, ReplacesALongerFileCompletely) {
  ScratchDir dir;
  testing::write_bytes(dir / "doc.txt", std::string(5000, 'z'));
  const std::string_view lines[] = {"one", "two", kEndMarker};
  SystemDisk disk;
  write_text_document(disk, dir.path(), "doc.txt", lines, Flush::kYes);
  EXPECT_EQ(read_bytes(dir / "doc.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(testing::list_files(dir.path()), "doc.txt");
}

TEST(TextDocument, JoinsTheDirectoryWithOneSeparator) {
  ScratchDir dir;
  const std::string_view lines[] = {"a", kEndMarker};
  SystemDisk disk;
  write_text_document(disk, dir.path().string() + "/", "doc.txt", lines, Flush::kNo);
  EXPECT_EQ(join_path(dir.path().string() + "/", "doc.txt"), join_path(dir.path(), "doc.txt"));
  EXPECT_EQ(read_bytes(dir / "doc.txt"), "a\r\n");
}

TEST(TextDocument, FailsCleanlyWhenTheFileCannotBeCreated) {
  ScratchDir dir;
  const std::string_view lines[] = {"a", kEndMarker};
  SystemDisk disk;
  EXPECT_THROW(write_text_document(disk, dir / "missing", "doc.txt", lines, Flush::kYes), FileSystemError);
  EXPECT_EQ(testing::list_files(dir.path()), "");
}

TEST(TextDocument, FailedReplacementLeavesTargetAndNoTemporaryFile) {
  ScratchDir dir;
  std::filesystem::create_directory(dir / "doc.txt");
  testing::write_bytes(dir / "doc.txt" / "inside", "kept");
  const std::string_view lines[] = {"a", kEndMarker};
  SystemDisk disk;
  EXPECT_THROW(write_text_document(disk, dir.path(), "doc.txt", lines, Flush::kYes), FileSystemError);
  EXPECT_EQ(testing::list_files(dir.path()), "doc.txt");
  EXPECT_EQ(read_bytes(dir / "doc.txt" / "inside"), "kept");
}

}  // namespace
}  // namespace lorvena
