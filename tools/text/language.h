// The language the tool speaks to the author: English, the texts as written
// in the sources, or Italian from the catalogue po/it.po built into the tool.
// Chosen by --lang, else by the locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG;
// on Windows the user's interface language); English when it names neither.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lorvena {

enum class Language { kEnglish, kItalian };

// The language of the texts the tool writes now; English until set.
Language language();
void set_language(Language l);

// Sets a language for as long as it lives, then puts back the one before.
class LanguageScope {
 public:
  explicit LanguageScope(Language l) : before_(language()) { set_language(l); }
  ~LanguageScope() { set_language(before_); }
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;

 private:
  Language before_;
};

// "it" or "en" as --lang takes them.
std::optional<Language> language_named(std::string_view word);

// What a locale name ("it_IT.UTF-8", "en", "C") says, if it names either language.
std::optional<Language> language_of_locale(std::string_view locale);

// The locale's variables as gettext reads them: the first set of LC_ALL,
// LC_MESSAGES and LANG (else the `system` locale), and before it LANGUAGE,
// a list such as "it:en", unless the locale is C or POSIX. `variable`
// returns null for an unset one.
Language language_from(const char* (*variable)(const char* name), std::string_view system = "");

// The language of this process's environment; on Windows, the user's
// interface language when no variable says.
Language language_from_environment();

}  // namespace lorvena
