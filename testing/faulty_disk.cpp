#include "testing/faulty_disk.h"

#include <cerrno>

namespace lorvena::testing {

std::string_view op_name(DiskOp op) {
  switch (op) {
    case DiskOp::kCreate: return "create";
    case DiskOp::kWrite: return "write";
    case DiskOp::kSync: return "sync";
    case DiskOp::kClose: return "close";
    case DiskOp::kRename: return "rename";
    case DiskOp::kRenameNew: return "rename_new";
    case DiskOp::kRemove: return "remove";
    case DiskOp::kOpenRead: return "open_read";
    case DiskOp::kRead: return "read";
    case DiskOp::kSyncDirectory: return "sync_directory";
    case DiskOp::kStatus: return "status";
    case DiskOp::kResolve: return "resolve";
    case DiskOp::kList: return "list";
    case DiskOp::kMakeDirectory: return "make_directory";
  }
  return "?";
}

FaultyDisk::FaultyDisk(Disk& real, std::optional<DiskFault> fault) : real_(real), fault_(fault) {}

FaultyDisk::~FaultyDisk() {
  for (const auto& [file, path] : open_) real_.close(file);
}

std::optional<int> FaultyDisk::intercept(DiskOp op, const std::filesystem::path& path) {
  if (killed_) return 0;
  int call = ++calls_[op];
  journal_.push_back({op, path});
  if (!fault_ || fault_->op != op || fault_->call != call) return std::nullopt;
  fault_index_ = journal_.size() - 1;
  if (fault_->number != 0) {
    failed_ = true;
    return fault_->number;
  }
  killed_ = true;
  throw RunKilled{};
}

std::filesystem::path FaultyDisk::path_of(FileHandle file) const {
  auto it = open_.find(file);
  return it == open_.end() ? std::filesystem::path() : it->second;
}

int FaultyDisk::opened(int number, const std::filesystem::path& path, FileHandle file) {
  if (number == 0) open_[file] = path;
  return number;
}

int FaultyDisk::create(const std::filesystem::path& path, FileHandle& file, std::optional<uint32_t> mode) {
  if (auto result = intercept(DiskOp::kCreate, path)) return *result != 0 ? *result : EIO;
  int number = real_.create(path, file, mode);
  return opened(number, path, file);
}

int FaultyDisk::write(FileHandle file, std::string_view bytes) {
  if (auto result = intercept(DiskOp::kWrite, path_of(file))) return *result;
  return real_.write(file, bytes);
}

int FaultyDisk::sync(FileHandle file) {
  if (auto result = intercept(DiskOp::kSync, path_of(file))) return *result;
  return real_.sync(file);
}

// A failed close has still let the file go, as close(2) does.
int FaultyDisk::close(FileHandle file) {
  std::optional<int> result = intercept(DiskOp::kClose, path_of(file));
  if (killed_) return 0;
  open_.erase(file);
  int closed = real_.close(file);
  return result ? *result : closed;
}

int FaultyDisk::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (auto result = intercept(DiskOp::kRename, from)) return *result;
  return real_.rename(from, to);
}

int FaultyDisk::rename_new(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (auto result = intercept(DiskOp::kRenameNew, from)) return *result;
  return real_.rename_new(from, to);
}

int FaultyDisk::remove(const std::filesystem::path& path) {
  if (auto result = intercept(DiskOp::kRemove, path)) return *result;
  return real_.remove(path);
}

int FaultyDisk::open_read(const std::filesystem::path& path, FileHandle& file) {
  if (auto result = intercept(DiskOp::kOpenRead, path)) return *result != 0 ? *result : EIO;
  int number = real_.open_read(path, file);
  return opened(number, path, file);
}

int FaultyDisk::read(FileHandle file, std::span<char> buffer, size_t& got) {
  got = 0;
  if (auto result = intercept(DiskOp::kRead, path_of(file))) return *result;
  return real_.read(file, buffer, got);
}

int FaultyDisk::sync_directory(const std::filesystem::path& dir) {
  if (auto result = intercept(DiskOp::kSyncDirectory, dir)) return *result;
  return real_.sync_directory(dir);
}

// After a kill, a call that must answer something answers "not there".
int FaultyDisk::status(const std::filesystem::path& path, FileStatus& status) {
  if (auto result = intercept(DiskOp::kStatus, path)) return *result != 0 ? *result : ENOENT;
  return real_.status(path, status);
}

int FaultyDisk::resolve(const std::filesystem::path& path, std::filesystem::path& target) {
  if (auto result = intercept(DiskOp::kResolve, path)) return *result != 0 ? *result : ENOENT;
  return real_.resolve(path, target);
}

int FaultyDisk::list(const std::filesystem::path& dir, std::vector<std::string>& names) {
  if (auto result = intercept(DiskOp::kList, dir)) return *result != 0 ? *result : ENOENT;
  return real_.list(dir, names);
}

int FaultyDisk::make_directory(const std::filesystem::path& dir) {
  if (auto result = intercept(DiskOp::kMakeDirectory, dir)) return *result;
  return real_.make_directory(dir);
}

int FaultyDisk::calls(DiskOp op) const {
  auto it = calls_.find(op);
  return it == calls_.end() ? 0 : it->second;
}

}  // namespace lorvena::testing
