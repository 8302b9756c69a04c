#include "tools/text/message_catalogue.h"

namespace lorvena {
namespace {

constexpr uint32_t kMagic = 0x950412de;
constexpr uint32_t kSwappedMagic = 0xde120495;

uint32_t swapped(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xff00) | ((v << 8) & 0xff0000) | (v << 24);
}

}  // namespace

MessageCatalogue::MessageCatalogue(std::string_view bytes) : bytes_(bytes) {
  if (bytes.size() < 28) return;
  uint32_t magic = word(0);
  if (magic != kMagic && magic != kSwappedMagic) return;
  swapped_ = magic == kSwappedMagic;
  size_t count = word(8), originals = word(12), translations = word(16);
  // Both tables of (length, offset) pairs must lie inside the file, and every text with its NUL.
  for (size_t table : {originals, translations})
    if (table > bytes.size() || count > (bytes.size() - table) / 8) return;
  for (size_t table : {originals, translations})
    for (size_t i = 0; i < count; ++i) {
      size_t length = word(table + 8 * i), offset = word(table + 8 * i + 4);
      if (offset > bytes.size() || length >= bytes.size() - offset) return;
    }
  count_ = count, originals_ = originals, translations_ = translations;
}

uint32_t MessageCatalogue::word(size_t at) const {
  uint32_t v = 0;
  for (size_t k = 0; k < 4; ++k) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes_[at + k])) << (8 * k);
  return swapped_ ? swapped(v) : v;
}

std::string_view MessageCatalogue::text(size_t table, size_t i) const {
  return bytes_.substr(word(table + 8 * i + 4), word(table + 8 * i));
}

std::optional<std::string_view> MessageCatalogue::find(std::string_view original) const {
  size_t low = 0, high = count_;
  while (low < high) {
    size_t mid = low + (high - low) / 2;
    int order = this->original(mid).compare(original);
    if (order == 0) {
      std::string_view t = translation(mid);
      if (t.empty()) return std::nullopt;
      return t;
    }
    if (order < 0) low = mid + 1;
    else high = mid;
  }
  return std::nullopt;
}

}  // namespace lorvena
