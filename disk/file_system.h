// What the program does with files, on a Disk: whole-file reads, atomic and
// durable replacement of a file, existence tests and deletion. Failures throw
// FileSystemError, which the run reports and ends on.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "disk/disk.h"
#include "disk/system_disk.h"

namespace lorvena {

// What the program was doing with a file when the disk failed.
enum class FileAction { kWrite, kRead, kRemove, kFlushFolder, kList, kMakeFolder };

class FileSystemError : public std::runtime_error {
 public:
  // `file` is the file the program meant (a replaced file's target, never
  // its temporary), or the folder for kFlushFolder.
  FileSystemError(FileAction action, const std::filesystem::path& file, int number);

  FileAction action() const { return action_; }
  const std::filesystem::path& file() const { return file_; }
  int number() const { return number_; }
  ErrorCause cause() const { return error_cause(number_); }
  const std::string& system_text() const { return system_text_; }

 private:
  FileSystemError(FileAction action, const std::filesystem::path& file, int number, std::string system_text);

  FileAction action_;
  std::filesystem::path file_;
  int number_;
  std::string system_text_;
};

// Directory and file name joined with exactly one separator.
std::filesystem::path join_path(const std::filesystem::path& dir, std::string_view name);

// True for a regular file, false when nothing of that name is there; any
// other failure to tell is a FileSystemError.
bool file_exists(Disk& disk, const std::filesystem::path& path);

// The whole content of a file.
std::string read_file(Disk& disk, const std::filesystem::path& path);

// The whole content of a file, or nothing when no file of that name is there.
std::optional<std::string> read_file_if_there(Disk& disk, const std::filesystem::path& path);

// The names in a folder, sorted.
std::vector<std::string> list_folder(Disk& disk, const std::filesystem::path& dir);

// Makes a folder and those above it that are missing.
void make_folders(Disk& disk, const std::filesystem::path& dir);

// Whether a replaced file is flushed to stable storage before it takes its
// target's place: what a run leaves behind is; a working file the same run
// deletes again need not be.
enum class Flush { kNo, kYes };

// Writes `bytes` to a temporary file beside `target`, then renames it over the
// target: the target holds either its old content or the new one, never a
// cut. The temporary file is made new under a name no one can foresee, and
// removed when anything fails. A target that is a symbolic link is written
// through: the file it leads to is replaced and the link stays; the new file
// keeps the old one's permissions.
void replace_file(Disk& disk, const std::filesystem::path& target, std::string_view bytes, Flush flush);

// Thrown instead of writing over a file the caller did not expect there.
class FileInTheWay : public std::runtime_error {
 public:
  FileInTheWay(const std::filesystem::path& file, const std::string& why);
  const std::filesystem::path& file() const { return file_; }
  const std::string& why() const { return why_; }  // "is already there"

 private:
  std::filesystem::path file_;
  std::string why_;
};

// Like replace_file, for a target that must not be there: when it is (or
// comes while the new one is written), nothing is written and FileInTheWay
// is thrown. The test and the rename are one step.
void create_file(Disk& disk, const std::filesystem::path& target, std::string_view bytes, Flush flush);

// Like replace_file, for a target that must still hold `before`: when it
// changed since the caller read it, or when replacing it would split its hard
// links, nothing is written and FileInTheWay is thrown.
void rewrite_file(Disk& disk, const std::filesystem::path& target, std::string_view before, std::string_view after);

// Receives the bytes of a file piece by piece, in order.
using ByteSink = std::function<void(std::string_view)>;

// Like replace_file, for a content that `produce` hands to the sink in
// pieces, so that a large file never has to be held in memory whole.
void replace_file_with(Disk& disk, const std::filesystem::path& target,
                       const std::function<void(const ByteSink&)>& produce, Flush flush);

// Deletes a file if present; a missing file is not an error.
void remove_file(Disk& disk, const std::filesystem::path& path);

// Makes the renames done in `dir` so far durable: after the last replacement
// of a run, one call covers them all.
void sync_directory(Disk& disk, const std::filesystem::path& dir);

}  // namespace lorvena
