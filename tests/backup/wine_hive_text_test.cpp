// The completeness check of Wine's registry text: a saved key passes, any cut
// inside a line and any malformed line fail.
#include <gtest/gtest.h>

#include <string>

#include "backup/wine_hive_text.h"

namespace backup {
namespace {

// As Wine 8 writes a key with values of every kind and a nested subkey.
const std::string kSaved =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\\\\Software\\\\VbrFmt\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[] 1796693841\n"
    "#time=1dd86b4ab389d0a\n"
    "@=dword:00000005\n"
    "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
    "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\n"
    "  c5,c6,c7\n"
    "\"M\"=str(7):\"a\\0b\\0\"\n"
    "\"none\"=hex(0):\n"
    "\"odd\"=hex(1):00,01,02\n"
    "\"q\"=hex(b):00,01,02,03,04,05,06,07\n"
    "\"Text\"=\"Yes \\\"q\\\" \\\\ \\x30a2\"\n"
    "\n"
    "[Sub Key] 1796693841\n"
    "#time=1dd86b4ab389d5a\n"
    "#class=\"cls\"\n"
    "\n"
    "[Sub Key\\\\In\\[ner\\]] 1796693841\n"
    "#time=1dd86b4ab389e04\n"
    "\"na\\\"me\\\\x\"=hex:00,01,02\n";

TEST(WineHiveText, ASavedKeyIsWellFormed) {
  EXPECT_TRUE(isWellFormedWineHiveText(kSaved));
  std::string crlf;
  for (char c : kSaved) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  EXPECT_TRUE(isWellFormedWineHiveText(crlf));
}

TEST(WineHiveText, EveryCutInsideALineIsFound) {
  for (size_t length = 0; length < kSaved.size(); ++length) {
    // A cut right after a line end (outside a continuation) leaves a complete shorter file.
    bool atLineEnd = length > 0 && kSaved[length - 1] == '\n';
    bool insideContinuation = length >= 2 && kSaved[length - 2] == '\\';
    if (atLineEnd && !insideContinuation) continue;
    EXPECT_FALSE(isWellFormedWineHiveText(kSaved.substr(0, length))) << "cut at " << length;
  }
}

TEST(WineHiveText, MalformedLinesAreFound) {
  struct Case {
    int line;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {__LINE__, "@=dword:00000005", "@=dword:0000005"},
      {__LINE__, "@=dword:00000005", "@=dword:0000000g"},
      {__LINE__, "\"odd\"=hex(1):00,01,02", "\"odd\"=hex(1):00,1,02"},
      {__LINE__, "\"odd\"=hex(1):00,01,02", "\"odd\"=hex(1):00,01,02,"},
      {__LINE__, "\"odd\"=hex(1):00,01,02", "\"odd\"=hex():00,01,02"},
      {__LINE__, "\"odd\"=hex(1):00,01,02", "\"odd\"=hex(1)00,01,02"},
      {__LINE__, "\"q\"=hex(b)", "\"q\"=bin(b)"},
      {__LINE__, "\"Text\"=\"Yes", "\"Text\"=Yes"},
      {__LINE__, "\"M\"=str(7):\"a\\0b\\0\"", "\"M\"=str(7):\"a\\0b\\0"},
      {__LINE__, "\"M\"=str(7)", "\"M\"=str(x7)"},
      {__LINE__, "[Sub Key] 1796693841", "[Sub Key 1796693841"},
      {__LINE__, "[Sub Key] 1796693841", "[Sub Key] 17966x3841"},
      {__LINE__, "#time=1dd86b4ab389d5a", "#time="},
      {__LINE__, "#class=\"cls\"", "#class=cls"},
      {__LINE__, "  c5,c6,c7", "c5,c6,c7"},
      {__LINE__, "\n\"none\"", "\nnone"},
      {__LINE__, "WINE REGISTRY Version 2", "WINE REGISTRY Version 1"},
      {__LINE__, "@=dword", "@dword"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::string text = kSaved;
    size_t at = text.find(c.before);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string(c.before).size(), c.after);
    EXPECT_FALSE(isWellFormedWineHiveText(text));
  }
}

TEST(WineHiveText, OtherFilesAreNotTaken) {
  EXPECT_FALSE(isWellFormedWineHiveText(""));
  EXPECT_FALSE(isWellFormedWineHiveText(std::string("regf\0\0\0\0", 8)));
  EXPECT_FALSE(isWellFormedWineHiveText("WINE REGISTRY Version 2"));
  // A value before any key has no key to go to.
  EXPECT_FALSE(isWellFormedWineHiveText("WINE REGISTRY Version 2\n@=dword:00000001\n"));
  EXPECT_TRUE(isWellFormedWineHiveText("WINE REGISTRY Version 2\n[] 1\n@=dword:00000001\n"));
}

}  // namespace
}  // namespace backup
