#include "tools/text/messages.h"

#include "tools/text/message_catalogue.h"

namespace lorvena {

// Built from po/it.po by msgfmt and cmake/embed_catalogue.cmake.
extern const unsigned char kItalianCatalogue[];
extern const size_t kItalianCatalogueSize;

std::string_view tr(std::string_view english) { return translated(english, language()); }

std::string_view translated(std::string_view english, Language l) {
  if (l != Language::kItalian || english.empty()) return english;
  static const MessageCatalogue italian(std::string_view(reinterpret_cast<const char*>(kItalianCatalogue),
                                                         kItalianCatalogueSize));
  return italian.find(english).value_or(english);
}

std::string filled(std::string_view pattern, std::span<const std::string> values) {
  std::string out;
  out.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string_view::npos;
    if (close != std::string_view::npos && close > i + 1 && close - i <= 3) {
      std::string_view digits = pattern.substr(i + 1, close - i - 1);
      bool number = digits.find_first_not_of("0123456789") == std::string_view::npos;
      size_t n = number ? std::stoul(std::string(digits)) : values.size();
      if (n < values.size()) {
        out += values[n];
        i = close;
        continue;
      }
    }
    out += pattern[i];
  }
  return out;
}

}  // namespace lorvena
