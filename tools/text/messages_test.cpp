#include "tools/text/messages.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "tools/text/message_catalogue.h"

namespace lorvena {

extern const unsigned char kItalianCatalogue[];
extern const size_t kItalianCatalogueSize;

namespace {

std::string_view italian_bytes() {
  return {reinterpret_cast<const char*>(kItalianCatalogue), kItalianCatalogueSize};
}

TEST(Messages, PlaceholdersAreFilledInAnyOrder) {
  struct Case {
    std::string_view pattern;
    std::vector<std::string> values;
    std::string filled;
  };
  const std::vector<Case> cases = {
      {"{0}: inizio {1} is not a multiple of 50 m", {"segnale", "125 m"}, "segnale: inizio 125 m is not a multiple of 50 m"},
      {"{1} prima di {0}, poi {1}", {"a", "b"}, "b prima di a, poi b"},
      {"{2} has no value", {"a"}, "{2} has no value"},        // a number past the values stays
      {"{x} and {} and {", {"a"}, "{x} and {} and {"},        // braces that open no number stay
      {"{0}{0}", {"{1}", "z"}, "{1}{1}"},                     // a value is not filled again
      {"", {}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(filled(c.pattern, c.values), c.filled) << c.pattern;
}

TEST(Messages, EnglishIsTheSourceTextAndItalianComesFromTheCatalogue) {
  EXPECT_EQ(tr("no error"), "no error");
  EXPECT_EQ(trf("error {0}: {1}\n", 25, "x"), "error 25: x\n");
  LanguageScope italian(Language::kItalian);
  EXPECT_EQ(tr("no error"), "nessun errore");
  EXPECT_EQ(trf("error {0}: {1}\n", 25, "x"), "errore 25: x\n");
  EXPECT_EQ(tr("a text no catalogue holds"), "a text no catalogue holds");
}

TEST(Messages, LanguageScopePutsBackTheLanguageBefore) {
  ASSERT_EQ(language(), Language::kEnglish);
  {
    LanguageScope italian(Language::kItalian);
    EXPECT_EQ(language(), Language::kItalian);
    LanguageScope english(Language::kEnglish);
    EXPECT_EQ(language(), Language::kEnglish);
  }
  EXPECT_EQ(language(), Language::kEnglish);
}

// Every translation keeps the values of its English text: the same {N},
// each as often, so none is lost or invented.
TEST(Messages, EveryTranslationHasThePlaceholdersOfItsText) {
  MessageCatalogue catalogue(italian_bytes());
  ASSERT_GT(catalogue.size(), 1u);
  const std::regex placeholder("\\{[0-9]\\}");
  auto placeholders = [&](std::string_view text) {
    std::multiset<std::string> out;
    std::string s(text);
    for (auto it = std::sregex_iterator(s.begin(), s.end(), placeholder); it != std::sregex_iterator(); ++it)
      out.insert(it->str());
    return out;
  };
  for (size_t i = 0; i < catalogue.size(); ++i) {
    std::string_view original = catalogue.original(i);
    if (original.empty()) continue;  // the header
    EXPECT_FALSE(catalogue.translation(i).empty()) << original;
    EXPECT_EQ(placeholders(catalogue.translation(i)), placeholders(original)) << original;
    EXPECT_EQ(catalogue.find(original), catalogue.translation(i)) << original;
  }
}

// A damaged catalogue is read as an empty one, whatever its bytes.
TEST(Messages, ADamagedCatalogueIsEmpty) {
  std::string bytes(italian_bytes());
  for (size_t length : {size_t{0}, size_t{3}, size_t{27}, size_t{28}, bytes.size() / 2, bytes.size() - 1}) {
    MessageCatalogue cut(std::string_view(bytes).substr(0, length));
    EXPECT_FALSE(cut.find("no error").has_value()) << length;
  }
  std::string huge_count = bytes;
  huge_count[8] = huge_count[9] = huge_count[10] = huge_count[11] = '\xff';
  EXPECT_EQ(MessageCatalogue(huge_count).size(), 0u);
  std::string wrong_magic = bytes;
  wrong_magic[0] = 'x';
  EXPECT_EQ(MessageCatalogue(wrong_magic).size(), 0u);
}

TEST(Messages, TheLocaleChoosesTheLanguageAsGettextReadsIt) {
  using Env = std::map<std::string, std::string>;
  struct Case {
    Env env;
    std::string_view system;
    Language expected;
  };
  const Language it = Language::kItalian, en = Language::kEnglish;
  const std::vector<Case> cases = {
      {{}, "", en},
      {{{"LANG", "it_IT.UTF-8"}}, "", it},
      {{{"LANG", "it_CH"}}, "", it},
      {{{"LANG", "de_DE.UTF-8"}}, "", en},                                     // names neither
      {{{"LANG", "it_IT.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, "", en},
      {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "it_IT.UTF-8"}}, "", it},
      {{{"LC_MESSAGES", "it_IT.UTF-8"}, {"LC_ALL", "en_US.UTF-8"}}, "", en},  // LC_ALL first
      {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "it:en"}}, "", it},
      {{{"LANG", "it_IT.UTF-8"}, {"LANGUAGE", "fr:en"}}, "", en},             // the first of the list it knows
      {{{"LANG", "it_IT.UTF-8"}, {"LANGUAGE", "fr:de"}}, "", it},             // none known: the locale
      {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "it"}}, "", en},                    // C ignores LANGUAGE
      {{{"LC_ALL", "POSIX"}, {"LANG", "it_IT"}}, "", en},
      {{}, "it", it},                                                          // Windows: the interface language
      {{{"LANG", "en_US"}}, "it", en},
      {{{"LANGUAGE", "it"}}, "en", it},
      {{}, "other", en},
  };
  for (const Case& c : cases) {
    static const Env* current = nullptr;
    current = &c.env;
    Language got = language_from(
        [](const char* name) -> const char* {
          auto found = current->find(name);
          return found == current->end() ? nullptr : found->second.c_str();
        },
        c.system);
    std::string shown;
    for (const auto& [name, value] : c.env) shown += name + "=" + value + " ";
    EXPECT_EQ(got, c.expected) << shown << "system " << c.system;
  }
  EXPECT_EQ(language_named("it"), it);
  EXPECT_EQ(language_named("en"), en);
  EXPECT_EQ(language_named("IT"), std::nullopt);
  EXPECT_EQ(language_named("italiano"), std::nullopt);
}

}  // namespace
}  // namespace lorvena
