#include "tools/lsp/memory_disk.h"

#include <algorithm>
#include <cerrno>

#include "disk/file_system.h"

namespace lorvena {

int MemoryDisk::create(const std::filesystem::path& path, FileHandle& file) {
  bool kept = !keeps_ || keeps_(path);
  if (kept) {
    files_[path].clear();
    unkept_.erase(path);
  } else {
    files_.erase(path);
    unkept_.insert(path);
  }
  open_[next_] = Open{path, "", 0, true, kept};
  file = static_cast<FileHandle>(next_++);
  return 0;
}

int MemoryDisk::write(FileHandle file, std::string_view bytes) {
  auto it = open_.find(static_cast<std::intptr_t>(file));
  if (it == open_.end() || !it->second.writing) return EBADF;
  if (it->second.kept) files_[it->second.path].append(bytes);
  return 0;
}

int MemoryDisk::close(FileHandle file) { return open_.erase(static_cast<std::intptr_t>(file)) == 1 ? 0 : EBADF; }

int MemoryDisk::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (unkept_.erase(from) == 1) {
    files_.erase(to);
    unkept_.insert(to);
    return 0;
  }
  auto it = files_.find(from);
  if (it == files_.end()) return ENOENT;
  unkept_.erase(to);
  std::string bytes = std::move(it->second);
  files_.erase(it);
  files_[to] = std::move(bytes);
  return 0;
}

// Only what was written here is removed: a compile never deletes a real file.
int MemoryDisk::remove(const std::filesystem::path& path) {
  files_.erase(path);
  unkept_.erase(path);
  return 0;
}

int MemoryDisk::open_read(const std::filesystem::path& path, FileHandle& file) {
  if (unkept_.count(path) > 0) return EIO;
  Open o;
  auto it = files_.find(path);
  if (it != files_.end()) {
    o.bytes = it->second;
  } else {
    if (!below_.exists(path)) return ENOENT;
    try {
      o.bytes = read_file(below_, path);
    } catch (const std::exception&) {
      return EIO;
    }
  }
  open_[next_] = std::move(o);
  file = static_cast<FileHandle>(next_++);
  return 0;
}

int MemoryDisk::read(FileHandle file, std::span<char> buffer, size_t& got) {
  auto it = open_.find(static_cast<std::intptr_t>(file));
  if (it == open_.end() || it->second.writing) return EBADF;
  Open& o = it->second;
  got = std::min(buffer.size(), o.bytes.size() - o.at);
  std::copy_n(o.bytes.data() + o.at, got, buffer.data());
  o.at += got;
  return 0;
}

bool MemoryDisk::exists(const std::filesystem::path& path) {
  return files_.count(path) > 0 || unkept_.count(path) > 0 || below_.exists(path);
}

}  // namespace lorvena
