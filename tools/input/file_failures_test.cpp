#include "tools/input/file_failures.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tools/text/language.h"

namespace lorvena {
namespace {

// In English a failure reads as the file-system module words it; in Italian
// it keeps the file and the system's words.
TEST(FileFailures, ToldAsTheModuleWordsThemInEnglishAndTranslatedInItalian) {
  for (FileAction action : {FileAction::kWrite, FileAction::kRead, FileAction::kRemove, FileAction::kFlushFolder,
                            FileAction::kList, FileAction::kMakeFolder}) {
    FileSystemError e(action, "out/VALDORNO_2417.dat", ENOSPC);
    EXPECT_EQ(told(e), e.what());
    LanguageScope italian(Language::kItalian);
    std::string text = told(e);
    EXPECT_TRUE(text.starts_with("impossibile ")) << text;
    EXPECT_NE(text.find("out/VALDORNO_2417.dat: " + e.system_text()), std::string::npos) << text;
  }
  for (std::string why : {"is already there", "changed since it was read"}) {
    FileInTheWay e("DIR/VALDORNO_linea.txt", why);
    EXPECT_EQ(told(e), e.what());
    LanguageScope italian(Language::kItalian);
    EXPECT_NE(told(e), e.what());
    EXPECT_TRUE(told(e).starts_with("DIR/VALDORNO_linea.txt ")) << told(e);
  }
}

}  // namespace
}  // namespace lorvena
