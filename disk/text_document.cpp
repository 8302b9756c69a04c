#include "disk/text_document.h"

#include <stdexcept>

namespace lorvena {

std::string document_bytes(std::span<const std::string_view> lines) {
  if (lines.size() > kDocumentCapacity) throw std::length_error("document longer than 1001 lines");
  std::string bytes;
  for (std::string_view line : lines) {
    if (line == kEndMarker) break;
    bytes.append(line);
    bytes.append("\r\n");
  }
  return bytes;
}

void write_text_document(Disk& disk, const std::filesystem::path& dir, std::string_view file_name,
                         std::span<const std::string_view> lines, Flush flush) {
  replace_file(disk, join_path(dir, file_name), document_bytes(lines), flush);
}

}  // namespace lorvena
