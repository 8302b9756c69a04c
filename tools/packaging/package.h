// `package`: an author's checked pair and documents turned into a program
// that installs them, made from the generic installer's bytes with the
// scenario written into its version block and its payload appended.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "payload/payload.h"

namespace lorvena {

// What cannot be packaged as given: nothing is written.
class PackageRefused : public std::runtime_error {
 public:
  explicit PackageRefused(const std::string& what) : std::runtime_error(what) {}
};

// The generic installer's name beside the tool, when no --installer is given.
inline constexpr const char* kGenericInstallerName = "scenario_installer.exe";

// The bytes of a document as the installer writes its own: Windows-1252 (a
// UTF-8 file is converted, a byte-order mark dropped; any other file is taken
// as Windows-1252 already), each line ended by CR LF, the last one too.
// `file` names it in a refusal.
std::string document_text(std::string_view bytes, const std::string& file);

// Adds a document named after the last part of `file`; refuses a name that is
// not plain, that one of the scenario's own files has, or that another
// document has (letter case aside, as Windows compares names).
void add_document(PackagedScenario& scenario, const std::filesystem::path& file, std::string_view bytes);

// The generic installer with the scenario: a Windows program gets the name in
// its version block's product name and description; the payload follows.
// Refuses a program that already carries a payload, or a Windows program
// without the version block's placeholders.
std::string packaged_program(std::string installer, const PackagedScenario& scenario);

// The folder of the running tool, where the generic installer is looked for.
std::filesystem::path tool_directory();

}  // namespace lorvena
