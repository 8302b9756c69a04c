#include "tools/text/language.h"

#include <atomic>
#include <cstdlib>

#include "tools/text/ascii_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lorvena {
namespace {

std::atomic<Language> current{Language::kEnglish};

bool is_c_locale(std::string_view locale) {
  return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

// The user's interface language on Windows, as a locale name; none elsewhere.
std::string_view system_locale() {
#ifdef _WIN32
  switch (PRIMARYLANGID(GetUserDefaultUILanguage())) {
    case LANG_ITALIAN: return "it";
    case LANG_ENGLISH: return "en";
    default: return "other";
  }
#else
  return "";
#endif
}

}  // namespace

Language language() { return current.load(std::memory_order_relaxed); }
void set_language(Language l) { current.store(l, std::memory_order_relaxed); }

std::optional<Language> language_named(std::string_view word) {
  if (word == "it") return Language::kItalian;
  if (word == "en") return Language::kEnglish;
  return std::nullopt;
}

// The language part of "ll_CC.codeset@modifier".
std::optional<Language> language_of_locale(std::string_view locale) {
  std::string name = ascii_lower(locale.substr(0, locale.find_first_of("_-.@")));
  if (name == "it" || name == "italian") return Language::kItalian;
  if (name == "en" || name == "english") return Language::kEnglish;
  return std::nullopt;
}

Language language_from(const char* (*variable)(const char* name), std::string_view system) {
  auto set = [variable](const char* name) -> std::string_view {
    const char* value = variable(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
  };
  std::string_view locale = set("LC_ALL");
  if (locale.empty()) locale = set("LC_MESSAGES");
  if (locale.empty()) locale = set("LANG");
  if (locale.empty()) locale = system;
  if (locale.empty() || is_c_locale(locale)) return Language::kEnglish;
  std::string_view list = set("LANGUAGE");
  while (!list.empty()) {
    size_t colon = list.find(':');
    if (std::optional<Language> l = language_of_locale(list.substr(0, colon))) return *l;
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  return language_of_locale(locale).value_or(Language::kEnglish);
}

Language language_from_environment() {
  return language_from([](const char* name) -> const char* { return std::getenv(name); }, system_locale());
}

}  // namespace lorvena
