#include "disk/system_disk.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <string>

namespace lorvena {
namespace {

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(file)); }

int opened(HANDLE handle, FileHandle& file) {
  if (handle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  file = static_cast<FileHandle>(reinterpret_cast<std::intptr_t>(handle));
  return 0;
}

int result(BOOL done) { return done ? 0 : static_cast<int>(GetLastError()); }

constexpr size_t kLargestPiece = 1u << 30;

}  // namespace

int SystemDisk::create(const std::filesystem::path& path, FileHandle& file) {
  return opened(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr),
                file);
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

int SystemDisk::remove(const std::filesystem::path& path) {
  if (DeleteFileW(path.c_str())) return 0;
  DWORD number = GetLastError();
  return number == ERROR_FILE_NOT_FOUND || number == ERROR_PATH_NOT_FOUND ? 0 : static_cast<int>(number);
}

int SystemDisk::open_read(const std::filesystem::path& path, FileHandle& file) {
  return opened(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr),
                file);
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

bool SystemDisk::exists(const std::filesystem::path& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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
