#include "tools/input/file_failures.h"

#include "tools/text/messages.h"

namespace lorvena {

std::string told(const FileSystemError& e) {
  std::string_view pattern;
  switch (e.action()) {
    case FileAction::kWrite: pattern = N_("cannot write {0}: {1}"); break;
    case FileAction::kRead: pattern = N_("cannot read {0}: {1}"); break;
    case FileAction::kRemove: pattern = N_("cannot delete {0}: {1}"); break;
    case FileAction::kList: pattern = N_("cannot list the folder {0}: {1}"); break;
    case FileAction::kMakeFolder: pattern = N_("cannot make the folder {0}: {1}"); break;
    case FileAction::kFlushFolder: pattern = N_("cannot flush the directory {0}: {1}"); break;
  }
  return trf(pattern, e.file().string(), e.system_text());
}

// The reasons disk/file_system.cpp gives, marked here for the catalogue (the
// disk module knows no language); the test of this file checks each.
[[maybe_unused]] constexpr const char* kReasons[] = {N_("is already there"), N_("changed since it was read")};

std::string told(const FileInTheWay& e) { return e.file().string() + " " + std::string(tr(e.why())); }

}  // namespace lorvena
