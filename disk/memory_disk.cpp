#include "disk/memory_disk.h"

#include <algorithm>
#include <cerrno>

namespace lorvena {

int MemoryDisk::create(const std::filesystem::path& path, FileHandle& file, std::optional<uint32_t>) {
  if (there(path)) return EEXIST;
  bool kept = !keeps_ || keeps_(path);
  if (kept)
    files_[path].clear();
  else
    unkept_.insert(path);
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

int MemoryDisk::rename_new(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (there(to)) return EEXIST;
  return rename(from, to);
}

int MemoryDisk::remove(const std::filesystem::path& path) {
  files_.erase(path);
  unkept_.erase(path);
  return 0;
}

int MemoryDisk::open_read(const std::filesystem::path& path, FileHandle& file) {
  if (unkept_.count(path) > 0) return EIO;
  auto it = files_.find(path);
  if (it == files_.end()) return ENOENT;
  open_[next_] = Open{path, it->second, 0, false, true};
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

int MemoryDisk::status(const std::filesystem::path& path, FileStatus& status) {
  if (!there(path)) return ENOENT;
  status = FileStatus{};
  return 0;
}

int MemoryDisk::resolve(const std::filesystem::path& path, std::filesystem::path& target) {
  if (!there(path)) return ENOENT;
  target = path;
  return 0;
}

int MemoryDisk::list(const std::filesystem::path& dir, std::vector<std::string>& names) {
  names.clear();
  auto add = [&](const std::filesystem::path& p) {
    if (p.parent_path() == dir) names.push_back(p.filename().string());
  };
  for (const auto& [path, bytes] : files_) add(path);
  for (const auto& path : unkept_) add(path);
  return 0;
}

const std::string* MemoryDisk::bytes_of(const std::filesystem::path& path) const {
  auto it = files_.find(path);
  return it == files_.end() ? nullptr : &it->second;
}

}  // namespace lorvena
