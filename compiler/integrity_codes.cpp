#include "compiler/integrity_codes.h"

#include <string>

#include "compiler/fatal_error.h"

namespace lorvena {
namespace {

constexpr int kSummedCharacters = 25;

unsigned char lower_char(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

const std::string& summed_text(Scenario& m) {
  m.code_text = lower_1252(m.table[kTrainEntry].nome + m.table[kScenarioEntry].nome);
  m.code_text += kCodeFill;
  return m.code_text;
}

unsigned char code_at(const std::string& text, int q) { return static_cast<unsigned char>(text[q - 1]); }

}  // namespace

std::string lower_1252(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(lower_char(static_cast<unsigned char>(c)));
  return out;
}

int32_t codice_gara_st(Scenario& m) {
  const std::string& text = summed_text(m);
  int32_t sum = 0;
  for (int q = 1; q <= kSummedCharacters; ++q) sum += code_at(text, q) * q;
  return sum;
}

int16_t codice_gara_og(Scenario& m) {
  const std::string& text = summed_text(m);
  int32_t sum = 0;
  for (int q = 1; q <= kSummedCharacters; ++q) sum += code_at(text, q);
  return static_cast<int16_t>(sum);
}

void stamp_codes(Scenario& m) {
  TableEntry& scenario = m.table[kScenarioEntry];
  TrackCell& first = m.track.at(1);
  if (scenario.val1 != 0 || first.param1 != 0) errore(std::to_string(error::kStampSlotTaken));
  scenario.val1 = 610;
  first.param1 = 5121;
  if (scenario.ora != 0 || first.param2 != 0) errore(std::to_string(error::kCodeSlotTaken));
  scenario.ora = codice_gara_st(m);
  first.param2 = codice_gara_og(m);
}

}  // namespace lorvena
