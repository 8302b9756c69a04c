#include "tools/lsp/document_uri.h"

namespace lorvena {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool kept(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
         c == '_' || c == '.' || c == '~';
}

}  // namespace

std::filesystem::path uri_path(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.substr(0, kScheme.size()) != kScheme) return std::filesystem::path(std::string(uri));
  uri.remove_prefix(kScheme.size());
  std::string out;
  for (size_t i = 0; i < uri.size(); ++i) {
    int hi = 0, lo = 0;
    if (uri[i] == '%' && i + 2 < uri.size() && (hi = hex_value(uri[i + 1])) >= 0 && (lo = hex_value(uri[i + 2])) >= 0) {
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
      continue;
    }
    out.push_back(uri[i]);
  }
  return std::filesystem::path(out).lexically_normal();
}

std::string path_uri(const std::filesystem::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "file://";
  for (unsigned char c : path.string()) {
    if (kept(c)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    out += {'%', kHex[c >> 4], kHex[c & 15]};
  }
  return out;
}

}  // namespace lorvena
