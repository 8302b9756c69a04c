#include "tools/packaging/package.h"

#include <array>
#include <cstdio>

#include "disk/file_names.h"
#include "payload/version_placeholders.h"
#include "tools/text/ascii_text.h"
#include "tools/text/messages.h"
#include "tools/text/text_encoding.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>
#endif

namespace lorvena {
namespace {

// ASCII text as the UTF-16 little-endian of a version block.
std::string utf16(std::string_view ascii) {
  std::string out;
  for (char c : ascii) out.append({c, '\0'});
  return out;
}

// Writes `text` over the one run of `placeholder` in `program`, the rest of
// the run filled with NULs: the block's sizes stay, and a reader stops at
// the first NUL.
void write_over(std::string& program, std::string_view placeholder, const std::string& text) {
  std::string wide = utf16(placeholder);
  size_t at = program.find(wide);
  if (at == std::string::npos || program.find(wide, at + 1) != std::string::npos)
    throw PackageRefused(std::string(tr("the generic installer's version block has no single place for the scenario's name")));
  if (text.size() > placeholder.size()) throw PackageRefused(trf("'{0}' is too long for the version block", text));
  std::string value = utf16(text);
  value.resize(wide.size(), '\0');
  program.replace(at, wide.size(), value);
}

std::string crlf_lines(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else {
      out += c;
    }
  }
  if (!out.empty() && !out.ends_with("\r\n")) out += "\r\n";
  return out;
}

}  // namespace

std::string document_text(std::string_view bytes, const std::string& file) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (!is_utf8(bytes)) return crlf_lines(bytes);
  if (std::optional<Unconvertible> bad = first_without_1252(bytes)) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad->code_point));
    throw PackageRefused(trf("{0}: the character {1} at byte {2} has no Windows-1252 form", file, std::string(code),
                             bad->offset));
  }
  return crlf_lines(*exact_1252_from_utf8(bytes));
}

void add_document(PackagedScenario& s, const std::filesystem::path& file, std::string_view bytes) {
  std::string name = file.filename().string();
  if (!is_plain_document_name(name))
    throw PackageRefused(trf("{0}: a document's name must be 1 to 64 ASCII letters, digits, blanks and "
                             "punctuation other than \\ / : * ? \" < > |, not end in a blank or a dot, and name no "
                             "Windows device (CON, NUL, COM1...)",
                             file.string()));
  // The documents may take the names of the installer's own three.
  const std::array<std::string, 5> own{line_description_name(s.name), train_description_name(s.name, s.train),
                                       plan_file_name(s.name), table_file_name(s.name, s.train),
                                       track_file_name(s.name, s.train)};
  for (const std::string& taken : own)
    if (ascii_lower(taken) == ascii_lower(name))
      throw PackageRefused(trf("{0}: {1} is a file the installer writes for the scenario itself", file.string(), name));
  for (const PackagedDocument& d : s.documents)
    if (ascii_lower(d.file_name) == ascii_lower(name))
      throw PackageRefused(trf("{0}: a document named {1} is already given", file.string(), name));
  s.documents.push_back({name, document_text(bytes, file.string())});
}

std::string packaged_program(std::string installer, const PackagedScenario& s) {
  if (carries_payload(installer))
    throw PackageRefused(std::string(tr("it already carries a scenario: give the generic installer, not a packaged one")));
  if (installer.starts_with("MZ")) {
    write_over(installer, LORVENA_PRODUCT_NAME_PLACEHOLDER, s.name);
    write_over(installer, LORVENA_FILE_DESCRIPTION_PLACEHOLDER, "Scenario " + s.name + " " + s.train + ": installazione");
  }
  return installer + payload_bytes(s);
}

std::filesystem::path tool_directory() {
#ifdef _WIN32
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
    buffer.resize(buffer.size() * 2);
  }
#else
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe.parent_path();
#endif
}

}  // namespace lorvena
