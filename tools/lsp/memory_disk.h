// The disk of the language server's compiles: what a compile writes (the
// descriptions' copies and the compiled files in its scratch directory) stays
// in memory and goes with the disk after each diagnosis, so an edit costs no file
// writes; reads of files that were not written come from the real disk.
// Files the caller will not read back (the compiled files) keep no bytes.
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
  explicit MemoryDisk(Disk& below, Keeps keeps = {}) : below_(below), keeps_(std::move(keeps)) {}

  int create(const std::filesystem::path& path, FileHandle& file) override;
  int write(FileHandle file, std::string_view bytes) override;
  int sync(FileHandle) override { return 0; }
  int close(FileHandle file) override;
  int rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  int remove(const std::filesystem::path& path) override;
  int open_read(const std::filesystem::path& path, FileHandle& file) override;
  int read(FileHandle file, std::span<char> buffer, size_t& got) override;
  int sync_directory(const std::filesystem::path&) override { return 0; }
  bool exists(const std::filesystem::path& path) override;

 private:
  struct Open {
    std::filesystem::path path;  // a file being written
    std::string bytes;           // a file being read
    size_t at = 0;
    bool writing = false;
    bool kept = true;            // a file being written keeps its bytes
  };
  Disk& below_;
  Keeps keeps_;
  std::map<std::filesystem::path, std::string> files_;
  std::set<std::filesystem::path> unkept_;  // written, bytes not kept
  std::map<std::intptr_t, Open> open_;
  std::intptr_t next_ = 1;
};

}  // namespace lorvena
