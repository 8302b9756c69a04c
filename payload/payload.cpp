#include "payload/payload.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "payload/crc32.h"

namespace lorvena {
namespace {

using Kind = PayloadError::Kind;

constexpr size_t kLargestDocumentCount = 1000;

void put_u32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void put_u64(std::string& out, uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void put_text(std::string& out, std::string_view text) {
  put_u32(out, static_cast<uint32_t>(text.size()));
  out.append(text);
}

uint64_t get_le(std::string_view bytes, size_t width) {
  uint64_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return value;
}

PayloadError damaged(const std::string& why) { return PayloadError(Kind::kDamaged, "payload damaged: " + why); }

// Reads the body's fields in order; any field that runs past the body is damage.
class BodyReader {
 public:
  explicit BodyReader(std::string_view body) : rest_(body) {}

  uint32_t number() {
    if (rest_.size() < 4) throw damaged("a length runs past the end");
    uint32_t value = static_cast<uint32_t>(get_le(rest_, 4));
    rest_.remove_prefix(4);
    return value;
  }
  std::string text() {
    uint32_t size = number();
    if (size > rest_.size()) throw damaged("a field runs past the end");
    std::string value(rest_.substr(0, size));
    rest_.remove_prefix(size);
    return value;
  }
  bool done() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

bool is_device_name(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static constexpr std::array<std::string_view, 4> kFixed{"CON", "PRN", "AUX", "NUL"};
  if (std::find(kFixed.begin(), kFixed.end(), base) != kFixed.end()) return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' && base[3] <= '9';
}

// The body as payload_bytes made it, every field checked again.
PackagedScenario parsed_body(std::string_view body) {
  BodyReader reader(body);
  PackagedScenario s;
  s.name = reader.text();
  s.train = reader.text();
  s.line_description = reader.text();
  s.train_description = reader.text();
  uint32_t count = reader.number();
  if (count > kLargestDocumentCount) throw damaged("too many documents");
  for (uint32_t i = 0; i < count; ++i) {
    PackagedDocument d;
    d.file_name = reader.text();
    d.bytes = reader.text();
    if (!is_plain_document_name(d.file_name)) throw damaged("a document's name is not a plain file name");
    s.documents.push_back(std::move(d));
  }
  if (!reader.done()) throw damaged("bytes after the last field");
  if (!is_plain_name_part(s.name) || !is_plain_name_part(s.train)) throw damaged("the name or the train is not plain");
  return s;
}

}  // namespace

bool is_plain_name_part(std::string_view text) {
  if (text.empty() || text.size() > 64) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return c >= 0x20 && c <= 0x7E && std::string_view("\\/:*?\"<>|").find(c) == std::string_view::npos;
  });
}

bool is_plain_document_name(std::string_view text) {
  if (!is_plain_name_part(text) || text == "." || text == "..") return false;
  if (text.back() == ' ' || text.back() == '.') return false;
  return !is_device_name(text);
}

std::string payload_bytes(const PackagedScenario& s) {
  std::string body;
  put_text(body, s.name);
  put_text(body, s.train);
  put_text(body, s.line_description);
  put_text(body, s.train_description);
  put_u32(body, static_cast<uint32_t>(s.documents.size()));
  for (const PackagedDocument& d : s.documents) {
    put_text(body, d.file_name);
    put_text(body, d.bytes);
  }
  std::string out = body;
  put_u32(out, kPayloadFormat);
  put_u64(out, body.size());
  put_u32(out, crc32(out));
  out.append(kPayloadMagic);
  return out;
}

bool carries_payload(std::string_view program) {
  return program.size() >= kPayloadTrailerSize && program.ends_with(kPayloadMagic);
}

// The trailer's place and the first two of its fields are the same in every
// format, so that an older reader can tell a later payload from a damaged one.
PackagedScenario read_payload(std::string_view program) {
  if (!carries_payload(program)) throw PayloadError(Kind::kMissing, "no payload at the end of the program");
  std::string_view trailer = program.substr(program.size() - kPayloadTrailerSize);
  uint32_t format = static_cast<uint32_t>(get_le(trailer, 4));
  uint64_t length = get_le(trailer.substr(4), 8);
  uint32_t sum = static_cast<uint32_t>(get_le(trailer.substr(12), 4));
  if (format > kPayloadFormat)
    throw PayloadError(Kind::kNewerFormat, "payload of format " + std::to_string(format), format);
  if (format == 0) throw damaged("format 0");
  if (length > program.size() - kPayloadTrailerSize) throw damaged("its length runs past the program");
  size_t start = program.size() - kPayloadTrailerSize - static_cast<size_t>(length);
  std::string_view checked = program.substr(start, static_cast<size_t>(length) + 12);
  if (crc32(checked) != sum) throw damaged("its checksum does not match");
  return parsed_body(checked.substr(0, static_cast<size_t>(length)));
}

}  // namespace lorvena
