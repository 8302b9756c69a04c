#include "disk/system_disk.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace lorvena {
namespace {

int fd_of(FileHandle file) { return static_cast<int>(file); }

int opened(int fd, FileHandle& file) {
  if (fd < 0) return errno;
  file = static_cast<FileHandle>(fd);
  return 0;
}

}  // namespace

int SystemDisk::create(const std::filesystem::path& path, FileHandle& file, std::optional<uint32_t> mode) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd >= 0 && mode && ::fchmod(fd, static_cast<mode_t>(*mode)) != 0) {
    int number = errno;
    ::close(fd);
    ::unlink(path.c_str());
    return number;
  }
  return opened(fd, file);
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

// Where the system cannot rename without replacing in one step, a hard link
// made and the old name removed does the same.
int SystemDisk::rename_new(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
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

int SystemDisk::status(const std::filesystem::path& path, FileStatus& status) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return errno;
  status.type = S_ISREG(info.st_mode)   ? FileStatus::Type::kRegular
                : S_ISDIR(info.st_mode) ? FileStatus::Type::kDirectory
                                        : FileStatus::Type::kOther;
  status.mode = static_cast<uint32_t>(info.st_mode & 07777);
  status.links = static_cast<uint64_t>(info.st_nlink);
  status.size = static_cast<uint64_t>(info.st_size);
  status.modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return 0;
}

int SystemDisk::resolve(const std::filesystem::path& path, std::filesystem::path& target) {
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  if (!real) return errno;
  target = real.get();
  return 0;
}

int SystemDisk::list(const std::filesystem::path& dir, std::vector<std::string>& names) {
  std::unique_ptr<DIR, decltype(&::closedir)> folder(::opendir(dir.c_str()), &::closedir);
  if (!folder) return errno;
  names.clear();
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(folder.get());
    if (entry == nullptr) return errno;
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
}

int SystemDisk::make_directory(const std::filesystem::path& dir) {
  if (::mkdir(dir.c_str(), 0777) == 0) return 0;
  int number = errno;
  struct stat info;
  if (number == EEXIST && ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return 0;
  return number;
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
