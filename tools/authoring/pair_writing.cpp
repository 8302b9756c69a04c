#include "tools/authoring/pair_writing.h"

#include "disk/file_names.h"
#include "disk/file_system.h"

namespace lorvena {

std::vector<std::filesystem::path> write_pair(Disk& disk, const std::filesystem::path& dir, const std::string& name,
                                              const std::string& train, const std::string& line_text,
                                              const std::string& train_text, Overwrite overwrite) {
  const std::filesystem::path line_path = join_path(dir, line_description_name(name));
  const std::filesystem::path train_path = join_path(dir, train_description_name(name, train));
  make_folders(disk, dir);
  if (overwrite == Overwrite::kYes) {
    replace_file(disk, line_path, line_text, Flush::kYes);
    replace_file(disk, train_path, train_text, Flush::kYes);
  } else {
    create_file(disk, line_path, line_text, Flush::kYes);
    try {
      create_file(disk, train_path, train_text, Flush::kYes);
    } catch (const std::exception&) {
      remove_file(disk, line_path);
      throw;
    }
  }
  sync_directory(disk, dir);
  return {line_path, train_path};
}

}  // namespace lorvena
