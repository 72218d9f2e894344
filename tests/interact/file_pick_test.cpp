// The file-pick start: names from the dialog's text, packed prompt options,
// the program line's file name.
#include "launcher/interact/file_pick.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

TEST(FilePick, DocumentsFromTheDialogText) {
  EXPECT_TRUE(pickedDocuments(L"C:\\Docs", L"").empty());
  EXPECT_TRUE(pickedDocuments(L"C:\\Docs", L"   ").empty());
  EXPECT_EQ(pickedDocuments(L"C:\\Docs", L"a.txt"), std::vector<std::wstring>{L"C:\\Docs\\a.txt"});
  EXPECT_EQ(pickedDocuments(L"C:\\", L"\"my file.txt\"  b.txt \"c d\""),
            (std::vector<std::wstring>{L"C:\\my file.txt", L"C:\\b.txt", L"C:\\c d"}));
  // An unbalanced quote takes the rest as one name.
  EXPECT_EQ(pickedDocuments(L"D:\\x\\", L"a \"b c"), (std::vector<std::wstring>{L"D:\\x\\a", L"D:\\x\\b c"}));
  EXPECT_EQ(pickedDocuments(L"", L"a"), std::vector<std::wstring>{L"a"});
}

TEST(FilePick, PromptOptionsRoundTripAndKeepTheHighBits) {
  const PromptOptions o = decodePromptOptions(0xA3C5);
  EXPECT_EQ(o.sortMode, 5);
  EXPECT_EQ(o.filterIndex, 0xC);
  EXPECT_EQ(o.viewMode, 3);
  EXPECT_EQ(encodePromptOptions(o, 0xA000), 0xA3C5);
  EXPECT_EQ(encodePromptOptions({1, 2, 3}, 0xF0FF), 0xF321);
  EXPECT_EQ(encodePromptOptions({17, 18, 19}, 0), 0x0321);  // out-of-range values keep their low 4 bits
}

TEST(FilePick, ProgramFileNameInLowerCase) {
  EXPECT_EQ(programFileName(L"C:\\Program Files\\Editor\\EDIT.Exe"), L"edit.exe");
  EXPECT_EQ(programFileName(L"NOTEPAD"), L"notepad");
  EXPECT_EQ(programFileName(L"C:\\dir\\"), L"");
}

}  // namespace
}  // namespace vorbin
