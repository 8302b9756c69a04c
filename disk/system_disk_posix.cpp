#include "disk/system_disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lorvena {
namespace {

int fd_of(FileHandle file) { return static_cast<int>(file); }

int opened(int fd, FileHandle& file) {
  if (fd < 0) return errno;
  file = static_cast<FileHandle>(fd);
  return 0;
}

}  // namespace

int SystemDisk::create(const std::filesystem::path& path, FileHandle& file) {
  return opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666), file);
}

int SystemDisk::write(FileHandle file, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t done = ::write(fd_of(file), bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return errno;
    if (done == 0) return EIO;
    bytes.remove_prefix(static_cast<size_t>(done));
  }
  return 0;
}

// The file's size is flushed with its data: that is all a new file needs.
int SystemDisk::sync(FileHandle file) { return ::fdatasync(fd_of(file)) == 0 ? 0 : errno; }

int SystemDisk::close(FileHandle file) { return ::close(fd_of(file)) == 0 ? 0 : errno; }

int SystemDisk::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int SystemDisk::remove(const std::filesystem::path& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
  return errno;
}

int SystemDisk::open_read(const std::filesystem::path& path, FileHandle& file) {
  return opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC), file);
}

int SystemDisk::read(FileHandle file, std::span<char> buffer, size_t& got) {
  for (;;) {
    ssize_t done = ::read(fd_of(file), buffer.data(), buffer.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return errno;
    got = static_cast<size_t>(done);
    return 0;
  }
}

// A file system that cannot flush a directory (EINVAL) has nothing to flush.
int SystemDisk::sync_directory(const std::filesystem::path& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int number = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(fd);
  return number;
}

bool SystemDisk::exists(const std::filesystem::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

ErrorCause error_cause(int number) {
  switch (number) {
    case EACCES:
    case EPERM:
    case EROFS:
      return ErrorCause::kFolderNotWritable;
    case ENOSPC:
    case EDQUOT:
      return ErrorCause::kDiskFull;
    default:
      return ErrorCause::kOther;
  }
}

std::string system_error_text(int number) { return std::strerror(number); }

}  // namespace lorvena
