#include "disk/file_system.h"

namespace lorvena {
namespace fs = std::filesystem;

namespace {

std::string describe(FileAction action, const fs::path& file, const std::string& system_text) {
  const char* what = action == FileAction::kWrite    ? "cannot write "
                     : action == FileAction::kRead   ? "cannot read "
                     : action == FileAction::kRemove ? "cannot delete "
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

bool file_exists(Disk& disk, const fs::path& path) { return disk.exists(path); }

std::string read_file(Disk& disk, const fs::path& path) {
  FileHandle handle;
  if (int number = disk.open_read(path, handle)) fail(FileAction::kRead, path, number);
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

void replace_file(Disk& disk, const fs::path& target, std::string_view bytes, Flush flush) {
  replace_file_with(disk, target, [bytes](const ByteSink& sink) { sink(bytes); }, flush);
}

void replace_file_with(Disk& disk, const fs::path& target, const std::function<void(const ByteSink&)>& produce,
                       Flush flush) {
  fs::path temporary = target;
  temporary += ".tmp";
  FileHandle handle;
  if (int number = disk.create(temporary, handle)) fail(FileAction::kWrite, target, number);
  int number = 0;
  try {
    number = write_and_close(disk, OpenFile(disk, handle), produce, flush);
  } catch (...) {
    disk.remove(temporary);
    throw;
  }
  if (number == 0) number = disk.rename(temporary, target);
  if (number == 0) return;
  disk.remove(temporary);
  fail(FileAction::kWrite, target, number);
}

void remove_file(Disk& disk, const fs::path& path) {
  if (int number = disk.remove(path)) fail(FileAction::kRemove, path, number);
}

void sync_directory(Disk& disk, const fs::path& dir) {
  if (int number = disk.sync_directory(dir)) fail(FileAction::kFlushFolder, dir, number);
}

}  // namespace lorvena
