// A disk held in memory: the authors' tool compiles a pair's copies on one,
// so a compile writes nothing on the real disk and cannot fail there. Files
// the caller will not read back (a check's compiled files) keep no bytes.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "disk/disk.h"

namespace lorvena {

class MemoryDisk : public Disk {
 public:
  // Does a file written at this path keep its bytes? One that does not
  // exists but cannot be read.
  using Keeps = std::function<bool(const std::filesystem::path&)>;
  explicit MemoryDisk(Keeps keeps = {}) : keeps_(std::move(keeps)) {}

  int create(const std::filesystem::path& path, FileHandle& file, std::optional<uint32_t> mode) override;
  int write(FileHandle file, std::string_view bytes) override;
  int sync(FileHandle) override { return 0; }
  int close(FileHandle file) override;
  int rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  int rename_new(const std::filesystem::path& from, const std::filesystem::path& to) override;
  int remove(const std::filesystem::path& path) override;
  int open_read(const std::filesystem::path& path, FileHandle& file) override;
  int read(FileHandle file, std::span<char> buffer, size_t& got) override;
  int sync_directory(const std::filesystem::path&) override { return 0; }
  int status(const std::filesystem::path& path, FileStatus& status) override;
  int resolve(const std::filesystem::path& path, std::filesystem::path& target) override;
  int list(const std::filesystem::path& dir, std::vector<std::string>& names) override;
  int make_directory(const std::filesystem::path&) override { return 0; }

  // The bytes of a file written here and kept, or nothing.
  const std::string* bytes_of(const std::filesystem::path& path) const;

 private:
  struct Open {
    std::filesystem::path path;  // a file being written
    std::string bytes;           // a file being read
    size_t at = 0;
    bool writing = false;
    bool kept = true;            // a file being written keeps its bytes
  };
  bool there(const std::filesystem::path& path) const { return files_.count(path) > 0 || unkept_.count(path) > 0; }

  Keeps keeps_;
  std::map<std::filesystem::path, std::string> files_;
  std::set<std::filesystem::path> unkept_;  // written, bytes not kept
  std::map<std::intptr_t, Open> open_;
  std::intptr_t next_ = 1;
};

}  // namespace lorvena
