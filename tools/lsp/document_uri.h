// The file: URIs by which the editor names documents, and the paths they
// stand for (percent-escapes decoded, as UTF-8 bytes).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lorvena {

// The path of a file: URI; another URI gives its text as a path, which no
// description is named as.
std::filesystem::path uri_path(std::string_view uri);
std::string path_uri(const std::filesystem::path& path);

}  // namespace lorvena
