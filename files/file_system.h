// The one place that touches the file system: whole-file reads, atomic
// replacement of a file, existence tests and deletion. Failures throw
// FileSystemError, which the run reports and ends on.
#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lorvena {

class FileSystemError : public std::runtime_error {
 public:
  FileSystemError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int number() const { return number_; }

 private:
  int number_;
};

// Directory and file name joined with exactly one separator.
std::filesystem::path join_path(const std::filesystem::path& dir, std::string_view name);

bool file_exists(const std::filesystem::path& path);

// The whole content of a file; throws FileSystemError when it cannot be read.
std::string read_file(const std::filesystem::path& path);

// Writes `bytes` to a temporary file beside `target`, then renames it over the
// target: the target holds either its old content or the new one, never a cut.
void replace_file(const std::filesystem::path& target, std::string_view bytes);

// Receives the bytes of a file piece by piece, in order.
using ByteSink = std::function<void(std::string_view)>;

// Like replace_file, for a content that `produce` hands to the sink in
// pieces, so that a large file never has to be held in memory whole.
void replace_file_with(const std::filesystem::path& target, const std::function<void(const ByteSink&)>& produce);

// Deletes a file if present; a missing file is not an error.
void remove_file(const std::filesystem::path& path);

}  // namespace lorvena
