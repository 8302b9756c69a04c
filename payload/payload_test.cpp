#include "payload/payload.h"

#include <gtest/gtest.h>

#include "payload/crc32.h"

namespace lorvena {
namespace {

PackagedScenario sample() {
  return {"VALDORNO", "2417", "[generale]\r\nlunghezza percorso, 9000\r\n", "[treno]\r\n",
          {{"VALDORNO_2417_note.txt", "Buon viaggio\xE0\r\n"}, {"orario.txt", ""}}};
}

// A body sealed with a sound trailer: what a damaged writer could have made.
std::string sealed(const std::string& body, uint32_t format = kPayloadFormat) {
  std::string out = body;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((format >> (8 * i)) & 0xFF));
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((uint64_t{body.size()} >> (8 * i)) & 0xFF));
  uint32_t sum = crc32(out);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((sum >> (8 * i)) & 0xFF));
  return out + std::string(kPayloadMagic);
}

std::string field(std::string_view text) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((text.size() >> (8 * i)) & 0xFF));
  return out + std::string(text);
}

TEST(Crc32, GivesTheCheckValuesOfTheStandard) {
  EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc32(""), 0u);
  EXPECT_EQ(crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

TEST(Payload, ReadsBackWhatWasAppendedAfterAnyProgram) {
  const std::string program = std::string("MZ\x90\0", 4) + std::string(5000, '\x7F') + "LVNPAYLD";
  for (const PackagedScenario& s : {sample(), PackagedScenario{"A", "1", "", "", {}}}) {
    std::string packaged = program + payload_bytes(s);
    EXPECT_TRUE(carries_payload(packaged));
    EXPECT_EQ(read_payload(packaged), s);
  }
  EXPECT_FALSE(carries_payload(program.substr(0, 100)));
}

// Every way a payload can be wrong is refused with its kind, never read.
TEST(Payload, RefusesAMissingCutDamagedOrLaterPayload) {
  const std::string program(3000, 'p');
  const std::string good = program + payload_bytes(sample());
  const size_t body_start = program.size();
  auto flipped = [&](size_t at) {
    std::string bytes = good;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    return bytes;
  };
  std::string cut_inside = good;
  cut_inside.erase(body_start + 10, 7);
  std::string later = good;
  later[later.size() - kPayloadTrailerSize] = 2;
  std::string format_zero = good;
  format_zero[format_zero.size() - kPayloadTrailerSize] = 0;
  std::string too_long = good;
  too_long[too_long.size() - kPayloadTrailerSize + 4 + 5] = 1;  // the length's sixth byte

  using Kind = PayloadError::Kind;
  const struct {
    const char* what;
    std::string bytes;
    Kind kind;
  } cases[] = {
      {"no payload", program, Kind::kMissing},
      {"empty", "", Kind::kMissing},
      {"the last byte cut", good.substr(0, good.size() - 1), Kind::kMissing},
      {"half the payload cut", good.substr(0, body_start + 40), Kind::kMissing},
      {"bytes cut inside the body", cut_inside, Kind::kDamaged},
      {"a flipped byte in the name", flipped(body_start + 5), Kind::kDamaged},
      {"a flipped byte in a document", flipped(good.size() - kPayloadTrailerSize - 3), Kind::kDamaged},
      {"a flipped byte in the checksum", flipped(good.size() - 9), Kind::kDamaged},
      {"a flipped byte in the length", flipped(good.size() - kPayloadTrailerSize + 4), Kind::kDamaged},
      {"a length past the program", too_long, Kind::kDamaged},
      {"format 0", format_zero, Kind::kDamaged},
      {"a later format", later, Kind::kNewerFormat},
      {"a sealed body with a field past its end", sealed(field("VALDORNO") + "\xFF\xFF\xFF\x7F"), Kind::kDamaged},
      {"a sealed body with bytes after its fields",
       sealed(field("A") + field("1") + field("") + field("") + std::string(4, '\0') + "x"), Kind::kDamaged},
      {"a sealed body whose document climbs out of the folder",
       sealed(field("A") + field("1") + field("") + field("") + std::string("\x01\0\0\0", 4) + field("../x.txt") +
              field("")),
       Kind::kDamaged},
      {"a sealed body whose document is a device",
       sealed(field("A") + field("1") + field("") + field("") + std::string("\x01\0\0\0", 4) + field("nul.txt") +
              field("")),
       Kind::kDamaged},
      {"a sealed body whose name holds a separator",
       sealed(field("A\\B") + field("1") + field("") + field("") + std::string(4, '\0')), Kind::kDamaged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      read_payload(c.bytes);
      ADD_FAILURE() << "read";
    } catch (const PayloadError& e) {
      EXPECT_EQ(e.kind(), c.kind) << e.what();
      if (c.kind == Kind::kNewerFormat) {
        EXPECT_EQ(e.format(), 2u);
      }
    }
  }
}

TEST(Payload, TellsPlainNamesFromOthers) {
  for (const char* name : {"LORVENA PF", "4316", "VALDORNO", "a-b_c.(1)", "x.txt"}) {
    EXPECT_TRUE(is_plain_name_part(name)) << name;
    EXPECT_TRUE(is_plain_document_name(name)) << name;
  }
  for (const char* name : {"", "a/b", "a\\b", "c:", "a*", "a?", "\"", "<", ">", "|", "Societ\xC3\xA0", "tab\t"})
    EXPECT_FALSE(is_plain_name_part(name)) << name;
  EXPECT_FALSE(is_plain_name_part(std::string(65, 'a')));
  for (const char* name : {".", "..", "note.", "note ", "CON", "con.txt", "Nul", "COM1.txt", "lpt9", "aux .txt"})
    EXPECT_FALSE(is_plain_document_name(name)) << name;
  for (const char* name : {"CONSOLE.txt", "COM.txt", "com10.txt", "nulla.txt"})
    EXPECT_TRUE(is_plain_document_name(name)) << name;
}

}  // namespace
}  // namespace lorvena
