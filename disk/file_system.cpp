#include "disk/file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>

namespace lorvena {
namespace fs = std::filesystem;

namespace {

std::string describe(FileAction action, const fs::path& file, const std::string& system_text) {
  const char* what = action == FileAction::kWrite    ? "cannot write "
                     : action == FileAction::kRead   ? "cannot read "
                     : action == FileAction::kRemove ? "cannot delete "
                     : action == FileAction::kList   ? "cannot list the folder "
                     : action == FileAction::kMakeFolder ? "cannot make the folder "
                                                         : "cannot flush the directory ";
  return what + file.string() + ": " + system_text;
}

[[noreturn]] void fail(FileAction action, const fs::path& file, int number) {
  throw FileSystemError(action, file, number);
}

// Closes a file on every way out; close() reports the closing's own failure.
class OpenFile {
 public:
  OpenFile(Disk& disk, FileHandle file) : disk_(disk), file_(file) {}
  ~OpenFile() {
    if (open_) disk_.close(file_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  FileHandle handle() const { return file_; }
  int close() {
    open_ = false;
    return disk_.close(file_);
  }

 private:
  Disk& disk_;
  FileHandle file_;
  bool open_ = true;
};

// Thrown out of a producer by its first failed write, so that the writing
// ends there: a producer that never stopped would otherwise run on forever.
struct WriteFailed {
  int number;
};

// Hands `produce` a sink into `file`, flushes it when asked and closes it.
// The error number of the first failed write, sync or close, or 0.
int write_and_close(Disk& disk, OpenFile file, const std::function<void(const ByteSink&)>& produce, Flush flush) {
  int number = 0;
  try {
    produce([&disk, &file](std::string_view piece) {
      if (piece.empty()) return;
      if (int failed = disk.write(file.handle(), piece)) throw WriteFailed{failed};
    });
  } catch (const WriteFailed& e) {
    number = e.number;
  }
  if (number == 0 && flush == Flush::kYes) number = disk.sync(file.handle());
  int closed = file.close();
  return number != 0 ? number : closed;
}

}  // namespace

FileSystemError::FileSystemError(FileAction action, const fs::path& file, int number)
    : FileSystemError(action, file, number, system_error_text(number)) {}

FileSystemError::FileSystemError(FileAction action, const fs::path& file, int number, std::string system_text)
    : std::runtime_error(describe(action, file, system_text)),
      action_(action),
      file_(file),
      number_(number),
      system_text_(std::move(system_text)) {}

fs::path join_path(const fs::path& dir, std::string_view name) {
  return dir / fs::path(std::string(name));
}

bool file_exists(Disk& disk, const fs::path& path) {
  FileStatus status;
  int number = disk.status(path, status);
  if (number == ENOENT || number == ENOTDIR) return false;
  if (number != 0) fail(FileAction::kRead, path, number);
  return status.type == FileStatus::Type::kRegular;
}

namespace {

std::string read_open(Disk& disk, const fs::path& path, FileHandle handle) {
  OpenFile file(disk, handle);
  std::string content;
  char buffer[65536];
  for (;;) {
    size_t got = 0;
    if (int number = disk.read(file.handle(), buffer, got)) fail(FileAction::kRead, path, number);
    if (got == 0) break;
    content.append(buffer, got);
  }
  if (int number = file.close()) fail(FileAction::kRead, path, number);
  return content;
}

}  // namespace

std::string read_file(Disk& disk, const fs::path& path) {
  FileHandle handle;
  if (int number = disk.open_read(path, handle)) fail(FileAction::kRead, path, number);
  return read_open(disk, path, handle);
}

std::optional<std::string> read_file_if_there(Disk& disk, const fs::path& path) {
  FileHandle handle;
  int number = disk.open_read(path, handle);
  if (number == ENOENT || number == ENOTDIR) return std::nullopt;
  if (number != 0) fail(FileAction::kRead, path, number);
  return read_open(disk, path, handle);
}

std::vector<std::string> list_folder(Disk& disk, const fs::path& dir) {
  std::vector<std::string> names;
  if (int number = disk.list(dir, names)) fail(FileAction::kList, dir, number);
  std::sort(names.begin(), names.end());
  return names;
}

void make_folders(Disk& disk, const fs::path& dir) {
  if (dir.empty()) return;
  FileStatus status;
  int number = disk.status(dir, status);
  if (number == 0 && status.type == FileStatus::Type::kDirectory) return;
  if (number == 0) fail(FileAction::kMakeFolder, dir, EEXIST);
  if (number != ENOENT) fail(FileAction::kMakeFolder, dir, number);
  if (dir.has_relative_path() && dir.parent_path() != dir) make_folders(disk, dir.parent_path());
  if ((number = disk.make_directory(dir))) fail(FileAction::kMakeFolder, dir, number);
}

FileInTheWay::FileInTheWay(const fs::path& file, const std::string& why)
    : std::runtime_error(file.string() + " " + why), file_(file), why_(why) {}

namespace {

// The file a replacement is for: the target with its links followed, and
// what of the old file the new one keeps.
struct Destination {
  fs::path path;
  bool there = false;
  std::optional<uint32_t> mode;
  uint64_t links = 0;
};

Destination destination_of(Disk& disk, const fs::path& target) {
  Destination d;
  d.path = target;
  FileStatus status;
  int number = disk.status(target, status);
  if (number == ENOENT || number == ENOTDIR) return d;
  if (number != 0) fail(FileAction::kWrite, target, number);
  if (status.type == FileStatus::Type::kDirectory) fail(FileAction::kWrite, target, EISDIR);
  d.there = true;
  if (status.mode != 0) d.mode = status.mode;
  d.links = status.links;
  if ((number = disk.resolve(target, d.path))) fail(FileAction::kWrite, target, number);
  return d;
}

// Sixteen hex digits from the system's random source, or from the clock and
// an address where it has none.
std::string unforeseeable_tag() {
  uint64_t value = 0;
  try {
    std::random_device source;
    value = (static_cast<uint64_t>(source()) << 32) ^ source();
  } catch (const std::exception&) {
    value = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
            reinterpret_cast<std::uintptr_t>(&value);
  }
  char tag[17];
  std::snprintf(tag, sizeof tag, "%016llx", static_cast<unsigned long long>(value));
  return tag;
}

constexpr size_t kTagLength = 16;
constexpr std::string_view kTemporaryEnd = ".tmp";

// Whether `name` is a temporary file of `file`: FILE.<tag>.tmp.
bool is_temporary_of(const std::string& name, const std::string& file) {
  if (name.size() != file.size() + 1 + kTagLength + kTemporaryEnd.size()) return false;
  if (!name.starts_with(file) || name[file.size()] != '.' || !name.ends_with(kTemporaryEnd)) return false;
  std::string_view tag = std::string_view(name).substr(file.size() + 1, kTagLength);
  return tag.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// A run stopped between making a temporary file and its rename leaves the
// temporary behind: the next replacement of the same file takes it away.
// Failing that is failing to write `target`.
void remove_leftovers(Disk& disk, const fs::path& file, const fs::path& target) {
  fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  std::vector<std::string> names;
  if (int number = disk.list(folder, names)) fail(FileAction::kWrite, target, number);
  for (const std::string& name : names)
    if (!is_temporary_of(name, file.filename().string())) continue;
    else if (int number = disk.remove(join_path(folder, name))) fail(FileAction::kWrite, target, number);
}

// A new temporary file beside `file`: NAME.<tag>.tmp, made only if no such
// name is there.
fs::path create_temporary(Disk& disk, const Destination& d, const fs::path& target, FileHandle& handle) {
  int number = EEXIST;
  for (int attempt = 0; attempt < 16 && number == EEXIST; ++attempt) {
    std::string tail(1, '.');
    tail.append(unforeseeable_tag()).append(kTemporaryEnd);
    fs::path temporary = d.path;
    temporary += tail;
    number = disk.create(temporary, handle, d.mode);
    if (number == 0) return temporary;
  }
  fail(FileAction::kWrite, target, number);
}

enum class Placing { kReplace, kNew, kUnchanged };

void place(Disk& disk, const fs::path& target, const std::function<void(const ByteSink&)>& produce, Flush flush,
           Placing placing, std::string_view before = {}) {
  Destination d = destination_of(disk, target);
  if (placing == Placing::kNew && d.there) throw FileInTheWay(target, "is already there");
  if (placing == Placing::kUnchanged && d.links > 1)
    throw FileInTheWay(target, "has " + std::to_string(d.links) + " hard links, which a new file would split");
  remove_leftovers(disk, d.path, target);
  FileHandle handle;
  fs::path temporary = create_temporary(disk, d, target, handle);
  int number = 0;
  try {
    number = write_and_close(disk, OpenFile(disk, handle), produce, flush);
    if (number == 0 && placing == Placing::kUnchanged && read_file(disk, d.path) != before)
      throw FileInTheWay(target, "changed since it was read");
  } catch (...) {
    disk.remove(temporary);
    throw;
  }
  if (number == 0) number = placing == Placing::kNew ? disk.rename_new(temporary, d.path) : disk.rename(temporary, d.path);
  if (number == 0) return;
  disk.remove(temporary);
  if (number == EEXIST && placing == Placing::kNew) throw FileInTheWay(target, "is already there");
  fail(FileAction::kWrite, target, number);
}

}  // namespace

void replace_file(Disk& disk, const fs::path& target, std::string_view bytes, Flush flush) {
  replace_file_with(disk, target, [bytes](const ByteSink& sink) { sink(bytes); }, flush);
}

void replace_file_with(Disk& disk, const fs::path& target, const std::function<void(const ByteSink&)>& produce,
                       Flush flush) {
  place(disk, target, produce, flush, Placing::kReplace);
}

void create_file(Disk& disk, const fs::path& target, std::string_view bytes, Flush flush) {
  place(disk, target, [bytes](const ByteSink& sink) { sink(bytes); }, flush, Placing::kNew);
}

void rewrite_file(Disk& disk, const fs::path& target, std::string_view before, std::string_view after) {
  place(disk, target, [after](const ByteSink& sink) { sink(after); }, Flush::kYes, Placing::kUnchanged, before);
}

void remove_file(Disk& disk, const fs::path& path) {
  if (int number = disk.remove(path)) fail(FileAction::kRemove, path, number);
}

void sync_directory(Disk& disk, const fs::path& dir) {
  if (int number = disk.sync_directory(dir)) fail(FileAction::kFlushFolder, dir, number);
}

}  // namespace lorvena
