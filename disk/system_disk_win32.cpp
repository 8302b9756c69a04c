#include "disk/system_disk.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace lorvena {
namespace {

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(file)); }

// What callers test as on POSIX: EEXIST for a name that is already there,
// ENOENT for one that is not (its file or its folder missing).
int exists_number(DWORD number) {
  return number == ERROR_ALREADY_EXISTS || number == ERROR_FILE_EXISTS ? EEXIST : static_cast<int>(number);
}

int not_found_number(DWORD number) {
  return number == ERROR_FILE_NOT_FOUND || number == ERROR_PATH_NOT_FOUND ? ENOENT : static_cast<int>(number);
}

// `number` maps the failure's number.
int opened(HANDLE handle, FileHandle& file, int (*number)(DWORD)) {
  if (handle == INVALID_HANDLE_VALUE) return number(GetLastError());
  file = static_cast<FileHandle>(reinterpret_cast<std::intptr_t>(handle));
  return 0;
}

int result(BOOL done) { return done ? 0 : static_cast<int>(GetLastError()); }

constexpr size_t kLargestPiece = 1u << 30;

}  // namespace

// Windows keeps no POSIX permission bits: `mode` has nothing to set.
int SystemDisk::create(const std::filesystem::path& path, FileHandle& file, std::optional<uint32_t>) {
  return opened(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
                file, exists_number);
}

int SystemDisk::write(FileHandle file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kLargestPiece));
    DWORD done = 0;
    if (!WriteFile(handle_of(file), bytes.data(), piece, &done, nullptr)) return static_cast<int>(GetLastError());
    if (done == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(done);
  }
  return 0;
}

int SystemDisk::sync(FileHandle file) { return result(FlushFileBuffers(handle_of(file))); }

int SystemDisk::close(FileHandle file) { return result(CloseHandle(handle_of(file))); }

// Write-through: the move itself is on the disk when the call returns.
int SystemDisk::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  return result(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

int SystemDisk::rename_new(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
  return exists_number(GetLastError());
}

int SystemDisk::remove(const std::filesystem::path& path) {
  if (DeleteFileW(path.c_str())) return 0;
  DWORD number = GetLastError();
  return number == ERROR_FILE_NOT_FOUND || number == ERROR_PATH_NOT_FOUND ? 0 : static_cast<int>(number);
}

int SystemDisk::open_read(const std::filesystem::path& path, FileHandle& file) {
  return opened(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
                file, not_found_number);
}

int SystemDisk::read(FileHandle file, std::span<char> buffer, size_t& got) {
  DWORD piece = static_cast<DWORD>(std::min(buffer.size(), kLargestPiece));
  DWORD done = 0;
  if (!ReadFile(handle_of(file), buffer.data(), piece, &done, nullptr)) return static_cast<int>(GetLastError());
  got = done;
  return 0;
}

// Every rename was written through: no directory is left to flush.
int SystemDisk::sync_directory(const std::filesystem::path&) { return 0; }

// A name that is not there is ENOENT, as on POSIX, so that callers test one number.
int SystemDisk::status(const std::filesystem::path& path, FileStatus& status) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return not_found_number(GetLastError());
  bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  status.type = folder ? FileStatus::Type::kDirectory : FileStatus::Type::kRegular;
  status.mode = 0;
  status.links = 1;
  status.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  uint64_t ticks = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  status.modified = static_cast<int64_t>(ticks) * 100;
  return 0;
}

int SystemDisk::resolve(const std::filesystem::path& path, std::filesystem::path& target) {
  HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return not_found_number(GetLastError());
  std::wstring name(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
  if (length >= name.size()) {
    name.resize(length + 1);
    length = GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
  }
  int number = length == 0 ? static_cast<int>(GetLastError()) : 0;
  CloseHandle(file);
  if (number != 0) return number;
  name.resize(length);
  target = name;
  return 0;
}

int SystemDisk::list(const std::filesystem::path& dir, std::vector<std::string>& names) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir / L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  names.clear();
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(std::filesystem::path(name).string());
  } while (FindNextFileW(search, &found));
  DWORD number = GetLastError();
  FindClose(search);
  return number == ERROR_NO_MORE_FILES ? 0 : static_cast<int>(number);
}

int SystemDisk::make_directory(const std::filesystem::path& dir) {
  if (CreateDirectoryW(dir.c_str(), nullptr)) return 0;
  DWORD number = GetLastError();
  DWORD attributes = GetFileAttributesW(dir.c_str());
  if (number == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  return static_cast<int>(number);
}

ErrorCause error_cause(int number) {
  switch (number) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return ErrorCause::kFolderNotWritable;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ErrorCause::kDiskFull;
    default:
      return ErrorCause::kOther;
  }
}

// In the user's language, without the line end the system puts after it.
std::string system_error_text(int number) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, static_cast<DWORD>(number), 0, reinterpret_cast<wchar_t*>(&text), 0,
                                nullptr);
  if (length == 0 || text == nullptr) return "errore " + std::to_string(number);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' '))
    --length;
  int wide = static_cast<int>(length);
  int size = WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, wide, utf8.data(), size, nullptr, nullptr);
  LocalFree(text);
  return utf8;
}

}  // namespace lorvena
