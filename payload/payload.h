// The scenario a packaged installer carries: its name and train, the bytes of
// its two descriptions and its documents, appended after the generic
// installer's image with a trailer that finds, dates and checks them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lorvena {

// The payload's format; a reader refuses any later one.
inline constexpr uint32_t kPayloadFormat = 1;

// The last bytes of a packaged program: "LVNPAYLD" after the format, the
// body's length and its CRC-32.
inline constexpr std::string_view kPayloadMagic = "LVNPAYLD";
inline constexpr size_t kPayloadTrailerSize = 4 + 8 + 4 + 8;

struct PackagedDocument {
  std::string file_name;  // a plain name: the file is written beside the program
  std::string bytes;      // Windows-1252 text, each line ended by CR LF

  bool operator==(const PackagedDocument&) const = default;
};

struct PackagedScenario {
  std::string name;   // the scenario name and the train number, in the
  std::string train;  // plain characters of is_plain_name_part
  std::string line_description;   // NAME_linea.txt as the author wrote it
  std::string train_description;  // NAME_TRAIN-.txt
  std::vector<PackagedDocument> documents;

  bool operator==(const PackagedScenario&) const = default;
};

// A name or train every system takes in a file name as it is: 1 to 64
// printable ASCII characters, none of \ / : * ? " < > |.
bool is_plain_name_part(std::string_view text);

// A document's file name: a plain name part that is not "." or "..", ends in
// neither a blank nor a dot, and names no Windows device (CON, NUL, COM1...).
bool is_plain_document_name(std::string_view text);

// The body and its trailer, to append to the generic installer.
std::string payload_bytes(const PackagedScenario& scenario);

class PayloadError : public std::runtime_error {
 public:
  enum class Kind { kMissing, kDamaged, kNewerFormat };
  PayloadError(Kind kind, const std::string& what, uint32_t format = 0)
      : std::runtime_error(what), kind_(kind), format_(format) {}
  Kind kind() const { return kind_; }
  uint32_t format() const { return format_; }  // the payload's, for kNewerFormat

 private:
  Kind kind_;
  uint32_t format_;
};

// The scenario at the end of `program`'s bytes. Throws PayloadError when
// there is none, when its checksum or its body does not hold, or when it is
// of a later format.
PackagedScenario read_payload(std::string_view program);

// Whether `program` ends with a payload's trailer, sound or not.
bool carries_payload(std::string_view program);

}  // namespace lorvena
