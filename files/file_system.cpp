#include "files/file_system.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

namespace lorvena {
namespace fs = std::filesystem;

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File open_file(const fs::path& path, bool for_writing) {
#ifdef _WIN32
  return File(_wfopen(path.c_str(), for_writing ? L"wb" : L"rb"));
#else
  return File(std::fopen(path.c_str(), for_writing ? "wb" : "rb"));
#endif
}

[[noreturn]] void fail(int number, const std::string& what, const fs::path& path,
                       const std::string& reason) {
  throw FileSystemError(number, what + " " + path.string() + ": " + reason);
}

[[noreturn]] void fail(int number, const std::string& what, const fs::path& path) {
  fail(number, what, path, std::strerror(number));
}

void discard(const fs::path& temporary) {
  std::error_code ignored;
  fs::remove(temporary, ignored);
}

int failure_number() { return errno ? errno : EIO; }

// Hands `produce` a sink into `f` and closes it. The error number of the
// first failed write, flush or close, or 0. After a failed write the rest is
// dropped.
int write_through(File f, const std::function<void(const ByteSink&)>& produce) {
  // The pieces are large already: each goes out in one write, not copied
  // through a small stream buffer first.
  std::setvbuf(f.get(), nullptr, _IONBF, 0);
  int number = 0;
  ByteSink sink = [&f, &number](std::string_view piece) {
    if (number != 0 || piece.empty()) return;
    errno = 0;
    if (std::fwrite(piece.data(), 1, piece.size(), f.get()) != piece.size()) number = failure_number();
  };
  produce(sink);
  errno = 0;
  if (number == 0 && std::fflush(f.get()) != 0) number = failure_number();
  errno = 0;
  bool closed = std::fclose(f.release()) == 0;
  if (number == 0 && !closed) number = failure_number();
  return number;
}

}  // namespace

fs::path join_path(const fs::path& dir, std::string_view name) {
  return dir / fs::path(std::string(name));
}

bool file_exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::string read_file(const fs::path& path) {
  File f = open_file(path, false);
  if (!f) fail(errno, "cannot open", path);
  std::string content;
  char buffer[65536];
  for (;;) {
    size_t got = std::fread(buffer, 1, sizeof buffer, f.get());
    content.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(f.get())) fail(EIO, "cannot read", path);
  return content;
}

void replace_file(const fs::path& target, std::string_view bytes) {
  replace_file_with(target, [bytes](const ByteSink& sink) { sink(bytes); });
}

void replace_file_with(const fs::path& target, const std::function<void(const ByteSink&)>& produce) {
  fs::path temporary = target;
  temporary += ".tmp";
  File f = open_file(temporary, true);
  if (!f) fail(errno, "cannot create", temporary);
  int number = 0;
  try {
    number = write_through(std::move(f), produce);
  } catch (...) {
    discard(temporary);
    throw;
  }
  if (number != 0) {
    discard(temporary);
    fail(number, "cannot write", target);
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    discard(temporary);
    fail(ec.value(), "cannot replace", target, ec.message());
  }
}

void remove_file(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
  if (ec) fail(ec.value(), "cannot delete", path, ec.message());
}

}  // namespace lorvena
