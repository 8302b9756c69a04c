// The authors' guide in English and in Italian kept in step: section by
// section, the same headings' levels, the same codes and the same commands
// and options.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "testing/test_files.h"

namespace lorvena {
namespace {

std::filesystem::path docs_dir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "docs";
}

struct Section {
  std::string heading;
  size_t level = 0;
  std::set<std::string> codes, commands;
};

void collect(const std::string& line, Section& s) {
  static const std::regex code(R"(\b(E\d+|W-[a-z]+(?:-[a-z0-9]+)*)\b)");
  static const std::regex error_row(R"(^\| (\d+) \|)");
  static const std::regex command(R"(scenario_tool ([a-z]+)\b|(--[a-zA-Z][a-zA-Z-]*))");
  for (auto it = std::sregex_iterator(line.begin(), line.end(), code); it != std::sregex_iterator(); ++it)
    s.codes.insert((*it)[1]);
  std::smatch row;
  if (std::regex_search(line, row, error_row)) s.codes.insert("E" + row[1].str());
  for (auto it = std::sregex_iterator(line.begin(), line.end(), command); it != std::sregex_iterator(); ++it)
    s.commands.insert((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
}

// The sections of a guide, fenced code left out of the headings.
std::vector<Section> sections(const std::filesystem::path& file) {
  std::vector<Section> out(1);
  std::istringstream in(testing::read_bytes(file));
  bool fenced = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("```")) fenced = !fenced;
    if (!fenced && line.starts_with("#")) {
      size_t level = line.find_first_not_of('#');
      out.push_back({line.substr(level + 1), level, {}, {}});
      continue;
    }
    collect(line, out.back());
  }
  return out;
}

std::string listed(const std::set<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += " " + w;
  return out;
}

TEST(AuthorsGuides, TheItalianGuideHasTheSectionsCodesAndCommandsOfTheEnglish) {
  std::vector<Section> english = sections(docs_dir() / "authors-guide.md");
  std::vector<Section> italian = sections(docs_dir() / "guida-autori.md");
  ASSERT_GT(english.size(), 10u);
  ASSERT_EQ(italian.size(), english.size()) << "the guides have different numbers of sections";
  for (size_t i = 0; i < english.size(); ++i) {
    const Section &e = english[i], &t = italian[i];
    SCOPED_TRACE("section " + std::to_string(i) + ": '" + e.heading + "' / '" + t.heading + "'");
    EXPECT_EQ(t.level, e.level);
    EXPECT_EQ(t.codes, e.codes) << "English:" << listed(e.codes) << "\nItalian:" << listed(t.codes);
    EXPECT_EQ(t.commands, e.commands) << "English:" << listed(e.commands) << "\nItalian:" << listed(t.commands);
  }
}

}  // namespace
}  // namespace lorvena
