// The file operations a run makes, one call each: the one door between the
// program and the disk. The program's own disk is SystemDisk (POSIX or
// Win32); the tests put one in its place that fails or stops at any call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace lorvena {

// An open file of a Disk; only the disk that opened it knows what it means.
enum class FileHandle : std::intptr_t {};

// Every operation returns 0 when it did its work, else the system's error
// number (errno, or GetLastError on Windows).
class Disk {
 public:
  virtual ~Disk() = default;

  // Opens `path` for writing, created or emptied.
  virtual int create(const std::filesystem::path& path, FileHandle& file) = 0;
  // Writes all of `bytes`.
  virtual int write(FileHandle file, std::string_view bytes) = 0;
  // Returns once the file's bytes are on stable storage.
  virtual int sync(FileHandle file) = 0;
  virtual int close(FileHandle file) = 0;
  // Puts `from` in the place of `to`, which may exist, in one step.
  virtual int rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Deletes a file; one that is not there is no failure.
  virtual int remove(const std::filesystem::path& path) = 0;
  virtual int open_read(const std::filesystem::path& path, FileHandle& file) = 0;
  // Reads up to buffer.size() bytes; `got` is 0 at the end of the file.
  virtual int read(FileHandle file, std::span<char> buffer, size_t& got) = 0;
  // Returns once the names given in `dir` (the renames) are on stable storage.
  virtual int sync_directory(const std::filesystem::path& dir) = 0;
  // True for a regular file.
  virtual bool exists(const std::filesystem::path& path) = 0;
};

}  // namespace lorvena
