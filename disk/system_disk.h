// The disk of the system the program runs on (system_disk_posix.cpp or
// system_disk_win32.cpp), and what its error numbers say to a player.
#pragma once

#include <string>

#include "disk/disk.h"

namespace lorvena {

// Each replaced file is flushed before it is renamed (POSIX: fdatasync, then
// the directory's fsync; Win32: FlushFileBuffers, then a write-through move).
class SystemDisk : public Disk {
 public:
  int create(const std::filesystem::path& path, FileHandle& file, std::optional<uint32_t> mode) override;
  int write(FileHandle file, std::string_view bytes) override;
  int sync(FileHandle file) override;
  int close(FileHandle file) override;
  int rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  int rename_new(const std::filesystem::path& from, const std::filesystem::path& to) override;
  int remove(const std::filesystem::path& path) override;
  int open_read(const std::filesystem::path& path, FileHandle& file) override;
  int read(FileHandle file, std::span<char> buffer, size_t& got) override;
  int sync_directory(const std::filesystem::path& dir) override;
  int status(const std::filesystem::path& path, FileStatus& status) override;
  int resolve(const std::filesystem::path& path, std::filesystem::path& target) override;
  int list(const std::filesystem::path& dir, std::vector<std::string>& names) override;
  int make_directory(const std::filesystem::path& dir) override;
};

// What a failure means for whoever started the program.
enum class ErrorCause { kFolderNotWritable, kDiskFull, kOther };

ErrorCause error_cause(int number);

// The system's own description of an error number, in UTF-8.
std::string system_error_text(int number);

}  // namespace lorvena
