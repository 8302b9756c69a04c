// A compiled gettext catalogue (.mo, as msgfmt writes it) read in place: the
// translation of an original text, found by a binary search of the
// originals, which msgfmt sorts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lorvena {

class MessageCatalogue {
 public:
  // An empty catalogue when `bytes` is no well-formed .mo file.
  explicit MessageCatalogue(std::string_view bytes);

  size_t size() const { return count_; }
  // The translation of `original`; none when the catalogue lacks it or its translation is empty.
  std::optional<std::string_view> find(std::string_view original) const;
  // The original and translated texts of entry `i`, in the catalogue's order.
  std::string_view original(size_t i) const { return text(originals_, i); }
  std::string_view translation(size_t i) const { return text(translations_, i); }

 private:
  uint32_t word(size_t at) const;
  std::string_view text(size_t table, size_t i) const;

  std::string_view bytes_;
  bool swapped_ = false;
  size_t count_ = 0, originals_ = 0, translations_ = 0;
};

}  // namespace lorvena
