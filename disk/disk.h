// The file operations a run makes, one call each: the one door between the
// program and the disk. The program's own disk is SystemDisk (POSIX or
// Win32); the tests put one in its place that fails or stops at any call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lorvena {

// An open file of a Disk; only the disk that opened it knows what it means.
enum class FileHandle : std::intptr_t {};

// What a path names, its links followed.
struct FileStatus {
  enum class Type { kRegular, kDirectory, kOther };
  Type type = Type::kRegular;
  uint32_t mode = 0;   // the permission bits (POSIX; 0 where the system has none)
  uint64_t links = 1;  // hard links to the file
  uint64_t size = 0;
  int64_t modified = 0;  // the last change of its content, in nanoseconds of the system's clock
};

// Every operation returns 0 when it did its work, else the system's error
// number (errno, or GetLastError on Windows).
class Disk {
 public:
  virtual ~Disk() = default;

  // Makes a new file for writing. A name already taken fails (EEXIST), a
  // link included: nothing that is there is ever opened or followed. With a
  // `mode`, the file gets exactly those permission bits; without, the
  // system's default for a new file.
  virtual int create(const std::filesystem::path& path, FileHandle& file, std::optional<uint32_t> mode) = 0;
  // Writes all of `bytes`.
  virtual int write(FileHandle file, std::string_view bytes) = 0;
  // Returns once the file's bytes are on stable storage.
  virtual int sync(FileHandle file) = 0;
  virtual int close(FileHandle file) = 0;
  // Puts `from` in the place of `to`, which may exist, in one step.
  virtual int rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Like rename, but fails (EEXIST) when `to` is there, in the same step.
  virtual int rename_new(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // Deletes a file; one that is not there is no failure.
  virtual int remove(const std::filesystem::path& path) = 0;
  virtual int open_read(const std::filesystem::path& path, FileHandle& file) = 0;
  // Reads up to buffer.size() bytes; `got` is 0 at the end of the file.
  virtual int read(FileHandle file, std::span<char> buffer, size_t& got) = 0;
  // Returns once the names given in `dir` (the renames) are on stable storage.
  virtual int sync_directory(const std::filesystem::path& dir) = 0;
  // What `path` names; ENOENT (or ENOTDIR) when nothing.
  virtual int status(const std::filesystem::path& path, FileStatus& status) = 0;
  // The file `path` names once its symbolic links are followed; the path
  // itself when it is no link.
  virtual int resolve(const std::filesystem::path& path, std::filesystem::path& target) = 0;
  // The names in a folder, without "." and "..".
  virtual int list(const std::filesystem::path& dir, std::vector<std::string>& names) = 0;
  // Makes a folder; one that is already there is no failure.
  virtual int make_directory(const std::filesystem::path& dir) = 0;
};

}  // namespace lorvena
