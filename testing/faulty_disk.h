// A disk for tests: passes every call on to a real disk, counts the calls of
// each operation and keeps a journal of them, and at one chosen call either
// fails with a chosen error number or stops the run there as a kill would.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "disk/disk.h"

namespace lorvena::testing {

enum class DiskOp {
  kCreate, kWrite, kSync, kClose, kRename, kRenameNew, kRemove, kOpenRead, kRead, kSyncDirectory,
  kStatus, kResolve, kList, kMakeDirectory
};

inline constexpr std::array<DiskOp, 14> kDiskOps = {
    DiskOp::kCreate,   DiskOp::kWrite,         DiskOp::kSync,   DiskOp::kClose,   DiskOp::kRename,
    DiskOp::kRenameNew, DiskOp::kRemove,       DiskOp::kOpenRead, DiskOp::kRead,  DiskOp::kSyncDirectory,
    DiskOp::kStatus,   DiskOp::kResolve,       DiskOp::kList,   DiskOp::kMakeDirectory};

std::string_view op_name(DiskOp op);

struct DiskFault {
  DiskOp op;
  int call;        // 1 for the first call of `op`
  int number = 0;  // the error number the call fails with; 0: the run is killed there
};

// Thrown at the kill point. Nothing in the program catches it; from then on
// no call reaches the real disk, cleanup included, as after a real kill.
struct RunKilled {};

// One call: the operation and the file it concerned (for a call on an open
// file, the path it was opened with).
struct JournalEntry {
  DiskOp op;
  std::filesystem::path path;
};

class FaultyDisk : public Disk {
 public:
  explicit FaultyDisk(Disk& real, std::optional<DiskFault> fault = std::nullopt);
  // Closes what is still open, as the system does for a process that ends.
  ~FaultyDisk() override;
  FaultyDisk(const FaultyDisk&) = delete;
  FaultyDisk& operator=(const FaultyDisk&) = delete;

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

  int calls(DiskOp op) const;
  bool failed() const { return failed_; }
  bool killed() const { return killed_; }
  // Files opened and not closed (a killed run leaves some).
  size_t open_files() const { return open_.size(); }
  const std::vector<JournalEntry>& journal() const { return journal_; }
  // Where in the journal the fault struck, if it did.
  std::optional<size_t> fault_index() const { return fault_index_; }

 private:
  // Counts and records a call. Its result when it is not to reach the real
  // disk: the fault's number, or 0 after a kill. Throws RunKilled at the
  // kill point.
  std::optional<int> intercept(DiskOp op, const std::filesystem::path& path);
  std::filesystem::path path_of(FileHandle file) const;
  int opened(int number, const std::filesystem::path& path, FileHandle file);

  Disk& real_;
  std::optional<DiskFault> fault_;
  std::map<DiskOp, int> calls_;
  std::map<FileHandle, std::filesystem::path> open_;
  std::vector<JournalEntry> journal_;
  std::optional<size_t> fault_index_;
  bool failed_ = false;
  bool killed_ = false;
};

}  // namespace lorvena::testing
