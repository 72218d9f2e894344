// The profile in the real registry under Wine: what the launcher writes it
// reads back the same, items are re-filed byte for byte, old records are
// renewed, settings are clamped and written back, item hot keys are real.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "launcher/app/resource_library.h"
#include "launcher/model/group_table.h"
#include "launcher/model/model_win.h"
#include "launcher/model/registry_profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/pair_codec.h"

namespace vorbin {
namespace {

IconImage patternImage(int depth, uint8_t seed) {
  IconImage image;
  image.depth = static_cast<uint32_t>(depth);
  image.bits.resize(imageByteSize(depth));
  for (size_t i = 0; i < image.bits.size(); ++i) image.bits[i] = static_cast<uint8_t>((i / 5) * seed + i % 3);
  return image;
}

class RegistryModel : public testing::Test {
 protected:
  // New groups take their title from the language library.
  static void SetUpTestSuite() {
    wchar_t path[MAX_PATH];
    std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    int language = kLanguageEnglish;
    ASSERT_TRUE(loadResourceLibraryFrom(exe.substr(0, exe.find_last_of(L'\\')), true, language, 1033));
  }
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKeyPath); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKeyPath); }

  ModelOptions options(bool keepCompression = false) {
    Settings s;
    s.isV416Later = true;
    s.keepCompression = keepCompression;
    ModelOptions o = launcherModelOptions(s);
    o.hotKeys = &hotKeys;
    return o;
  }
  RegistryProfile profile;
  ThreadHotKeys hotKeys;
};

TEST_F(RegistryModel, ValuesOfEveryKindRoundTripAndBadOnesAreSkipped) {
  EXPECT_TRUE(profile.setString(L"S", L"Text", L"日本語 text"));
  EXPECT_TRUE(profile.setDword(L"S", L"Number", 0xFFFFFFFE));
  std::vector<uint8_t> blob(40, 7);
  EXPECT_TRUE(profile.setBinary(L"S", L"Blob", blob));
  EXPECT_EQ(profile.getString(L"S", L"Text"), L"日本語 text");
  EXPECT_EQ(profile.getInt(L"S", L"Number", 0), -2);
  EXPECT_EQ(profile.getBinary(L"S", L"Blob"), blob);
  EXPECT_FALSE(profile.getBinary(L"S", L"Blob", 39));  // longer than allowed
  EXPECT_FALSE(profile.getDword(L"S", L"Text"));       // wrong type
  EXPECT_FALSE(profile.getString(L"Nowhere", L"Text"));

  // A string stored without terminator and a name too long to be an item.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Ornel\\vorbin96\\S", 0, KEY_SET_VALUE, &key), 0);
  const wchar_t raw[] = {L'a', L'b'};
  RegSetValueExW(key, L"Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof(raw));
  std::wstring longName(600, L'n');
  RegSetValueExW(key, longName.c_str(), 0, REG_BINARY, blob.data(), 4);
  RegCloseKey(key);
  EXPECT_EQ(profile.getString(L"S", L"Raw"), L"ab");

  std::vector<ProfileValue> values = profile.values(L"S", 30);
  ASSERT_EQ(values.size(), 3u);
  // The order of enumeration is the registry's own.
  std::map<std::wstring, ValueKind> kinds;
  for (const ProfileValue& v : values) kinds[v.name] = v.kind;
  EXPECT_EQ(kinds, (std::map<std::wstring, ValueKind>{{L"Text", ValueKind::kString},
                                                      {L"Number", ValueKind::kDword},
                                                      {L"Raw", ValueKind::kString}}));
  EXPECT_TRUE(profile.deleteValue(L"S", L"Raw"));
  EXPECT_FALSE(profile.deleteValue(L"S", L"Raw"));
  EXPECT_TRUE(profile.deleteSection(L"S"));
  EXPECT_TRUE(profile.values(L"S").empty());
  EXPECT_FALSE(profile.deleteSection(L""));
}

// What the registry itself holds, read past the profile.
std::optional<std::wstring> rawString(const wchar_t* section, const wchar_t* name) {
  wchar_t data[64] = {};
  DWORD size = sizeof(data);
  const std::wstring path = std::wstring(kProfileKeyPath) + L"\\" + section;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != 0)
    return std::nullopt;
  return std::wstring(data);
}

TEST_F(RegistryModel, KeptSectionKeysFollowDeletionsAndLongValuesReadWhole) {
  const std::wstring longText(3000, L'x');
  ASSERT_TRUE(profile.setString(L"S", L"Long", longText));
  ASSERT_TRUE(profile.setString(L"S\\Sub", L"A", L"one"));
  EXPECT_EQ(profile.getString(L"S", L"Long"), longText);
  EXPECT_EQ(profile.getString(L"S\\Sub", L"A"), L"one");

  // Another program (the backup tool, a second copy) deletes the whole profile.
  RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKeyPath);
  EXPECT_FALSE(profile.getString(L"S", L"Long"));
  EXPECT_TRUE(profile.values(L"S").empty());
  ASSERT_TRUE(profile.setString(L"S\\Sub", L"A", L"two"));
  EXPECT_EQ(rawString(L"S\\Sub", L"A"), L"two");

  // Deleting a section forgets the keys below it too.
  ASSERT_TRUE(profile.deleteSection(L"S"));
  EXPECT_FALSE(rawString(L"S\\Sub", L"A"));
  ASSERT_TRUE(profile.setString(L"S\\Sub", L"A", L"three"));
  EXPECT_EQ(rawString(L"S\\Sub", L"A"), L"three");
  EXPECT_EQ(profile.getString(L"S\\Sub", L"A"), L"three");
}

void rawSet(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
            size_t size) {
  HKEY key = nullptr;
  const std::wstring path = std::wstring(kProfileKeyPath) + L"\\" + section;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
      0);
  ASSERT_EQ(
      RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
      0);
  RegCloseKey(key);
}

// Everything the profile answers about a section, in one comparable text.
std::wstring describe(const Profile& p, const std::wstring& section, const std::vector<std::wstring>& names) {
  std::wstring out;
  auto bytes = [&](const std::vector<uint8_t>& d) {
    out += std::to_wstring(d.size()) + L":";
    for (uint8_t b : d) out += static_cast<wchar_t>(L'a' + b % 26);
    out += L";";
  };
  for (size_t limit : {size_t{30}, kMaxValueBytes, size_t{1} << 22}) {
    for (const ProfileValue& v : p.values(section, limit)) {
      out += v.name + L"=" + std::to_wstring(static_cast<int>(v.kind));
      bytes(v.data);
    }
    out += L"|";
  }
  for (const std::wstring& name : names) {
    out += name + L"[";
    if (auto s = p.getString(section, name)) out += L"s" + *s + L";";
    if (auto d = p.getDword(section, name)) out += L"d" + std::to_wstring(*d) + L";";
    for (size_t limit : {size_t{4}, kMaxValueBytes, size_t{1} << 22})
      if (auto b = p.getBinary(section, name, limit)) bytes(*b);
    out += L"]";
  }
  return out;
}

TEST_F(RegistryModel, SnapshotAnswersAsTheRegistryDoesUntilWritten) {
  // A section of many values (read by several threads), odd values among them.
  std::vector<std::wstring> names;
  for (int i = 0; i < 150; ++i) {
    names.push_back(L"Item " + std::to_wstring(i) + L"," + std::to_wstring(i + 1));
    std::vector<uint8_t> data(static_cast<size_t>(i * 7 % 300), static_cast<uint8_t>(i));
    rawSet(L"A", names.back(), REG_BINARY, data.data(), data.size());
  }
  const wchar_t text[] = L"text", unterminated[] = {L'a', L'b'};
  const DWORD number = 0xFFFFFFFE;
  const uint8_t six[6] = {1, 2, 3, 4, 5, 6};
  std::vector<uint8_t> big(70000, 9);
  const std::wstring longName(600, L'n');
  rawSet(L"A", L"Text", REG_SZ, text, sizeof(text));
  rawSet(L"A", L"Expand", REG_EXPAND_SZ, text, sizeof(text));
  rawSet(L"A", L"Raw", REG_SZ, unterminated, sizeof(unterminated));
  rawSet(L"A", L"Number", REG_DWORD, &number, sizeof(number));
  rawSet(L"A", L"Six", REG_DWORD, six, sizeof(six));
  rawSet(L"A", L"Big", REG_BINARY, big.data(), big.size());
  // One byte over the limits that the comparison reads with.
  rawSet(L"A", L"Five", REG_BINARY, big.data(), 5);
  rawSet(L"A", L"ThirtyOne", REG_BINARY, big.data(), 31);
  rawSet(L"A", longName, REG_BINARY, six, 4);
  rawSet(L"A", L"", REG_SZ, text, sizeof(text));
  rawSet(L"A\\Sub", L"Below", REG_SZ, text, sizeof(text));
  rawSet(L"Empty", L"Gone", REG_SZ, text, sizeof(text));
  ASSERT_TRUE(profile.deleteValue(L"Empty", L"Gone"));
  std::vector<uint8_t> huge(3u << 20, 1);  // over what any read takes
  rawSet(L"Huge", L"Huge", REG_BINARY, huge.data(), huge.size());
  rawSet(L"Huge", L"Small", REG_SZ, text, sizeof(text));

  for (const wchar_t* n : {L"Text", L"TEXT", L"expand", L"Raw", L"Number", L"Six", L"Big", L"Five", L"",
                           L"Missing", L"Below", L"Huge", L"Small", L"item 3,4"})
    names.push_back(n);
  names.push_back(longName);
  const std::vector<std::wstring> sections = {L"A", L"a", L"A\\Sub", L"Empty", L"Huge", L"Missing"};

  RegistryProfile live;
  std::map<std::wstring, std::wstring> expected;
  for (const std::wstring& s : sections) expected[s] = describe(live, s, names);
  ASSERT_NE(expected[L"A"].find(L"Item 149,150"), std::wstring::npos);

  profile.takeSnapshot();
  ASSERT_TRUE(profile.hasSnapshot());
  // Another program's change after the snapshot is not seen: the copy answers.
  rawSet(L"A", L"Text", REG_SZ, L"new", sizeof(L"new"));
  for (const std::wstring& s : sections) EXPECT_EQ(describe(profile, s, names), expected[s]) << s;

  // The launcher's own writes are read back at once, in every section.
  ASSERT_TRUE(profile.setString(L"A", L"Mine", L"x"));
  EXPECT_EQ(profile.getString(L"A", L"Mine"), L"x");
  EXPECT_EQ(profile.getString(L"a", L"Text"), L"new");
  ASSERT_TRUE(profile.setDword(L"Missing", L"Now", 5));
  EXPECT_EQ(profile.getDword(L"Missing", L"Now"), 5u);
  ASSERT_TRUE(profile.deleteSection(L"Huge"));
  EXPECT_FALSE(profile.getString(L"Huge", L"Small"));
  EXPECT_TRUE(profile.values(L"Huge").empty());
  profile.dropSnapshot();
  EXPECT_EQ(describe(profile, L"A", names), describe(live, L"A", names));

  // Without a profile key every section is absent until written.
  RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKeyPath);
  profile.takeSnapshot();
  EXPECT_FALSE(profile.getString(L"A", L"Text"));
  EXPECT_TRUE(profile.values(L"A").empty());
  ASSERT_TRUE(profile.setString(L"Settings", L"IsV416Later", L"Yes"));
  EXPECT_EQ(profile.getString(L"Settings", L"IsV416Later"), L"Yes");
  EXPECT_EQ(profile.values(L"Settings").size(), 1u);
  profile.dropSnapshot();
}

TEST_F(RegistryModel, GroupsAndItemsWrittenByTheLauncherReadBackTheSame) {
  Item sample;
  {
    GroupTable t(profile, options());
    t.loadGroups();
    const std::wstring title = L"ツール";
    ASSERT_EQ(t.ensureGroup(1, &title, false), 1);
    ASSERT_EQ(t.ensureGroup(2, nullptr, false), 2);
    t[1].image = patternImage(24, 2);
    t[1].count = 3;
    t.saveGroupHeader(1, true);
    sample.title = L"Editor, 2";
    sample.setTargetPath(L"C:\\windows\\notepad.exe");
    sample.folder = L"C:\\windows";
    sample.text5 = L"メモ帳";
    sample.flags = 2;
    sample.image = patternImage(32, 9);
    t.placeItem(1, 4, std::make_unique<Item>(sample));
    ASSERT_TRUE(t.saveItem(1, 4, false));
    Item list;
    list.title = L"Shell";
    list.flags = kItemIdList;
    list.target = {4, 0, 0x1F, 0x50, 0, 0};
    t.placeItem(2, 0, std::make_unique<Item>(list));
    ASSERT_TRUE(t.saveItem(2, 0, false));
    t.activeGroup = 2;
    Settings s;
    saveState(profile, s, t, CmdHistory{});
  }
  EXPECT_EQ(profile.getString(kSettingsSection, L"Order"), L" 0 1 2");
  EXPECT_TRUE(profile.getBinary(L"Group1", L"Editor, 2,5"));

  GroupTable t(profile, options());
  t.loadGroups();
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t.activeGroup, 2);
  EXPECT_EQ(t[1].title, L"ツール");
  EXPECT_EQ(t[1].count, 3);
  EXPECT_EQ(t[1].image.bits, patternImage(24, 2).bits);
  EXPECT_EQ(t[2].title, L"Group 2");
  const Item* it = t.item(1, 4);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(it->title, sample.title);
  EXPECT_EQ(it->targetPath(), sample.targetPath());
  EXPECT_EQ(it->folder, sample.folder);
  EXPECT_EQ(it->text5, sample.text5);
  EXPECT_EQ(it->flags & kItemFlagBits, 2u);
  EXPECT_EQ(it->image.bits, sample.image.bits);
  ASSERT_NE(t.item(2, 0), nullptr);
  EXPECT_EQ(t.item(2, 0)->target, (std::vector<uint8_t>{4, 0, 0x1F, 0x50, 0, 0}));
}

TEST_F(RegistryModel, MovingCopyingAndSwappingKeepTheStoredBytes) {
  GroupTable t(profile, options());
  t.loadGroups();
  t.ensureGroup(1, nullptr, false);
  t.ensureGroup(2, nullptr, false);
  for (int g = 1; g <= 2; ++g) {
    Item item;
    item.title = g == 1 ? L"A" : L"B";
    item.setTargetPath(g == 1 ? L"a.exe" : L"b.exe");
    item.image = patternImage(4, static_cast<uint8_t>(g));
    t.placeItem(g, g, std::make_unique<Item>(item));
    t.saveItem(g, g, false);
  }
  auto a = profile.getBinary(L"Group1", L"A,2");
  auto b = profile.getBinary(L"Group2", L"B,3");
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(t.moveItem(1, 1, 1, 6, MoveMode::kMove));
  EXPECT_FALSE(profile.getBinary(L"Group1", L"A,2"));
  EXPECT_EQ(profile.getBinary(L"Group1", L"A,7"), a);
  ASSERT_TRUE(t.moveItem(1, 6, 2, 0, MoveMode::kCopy));
  EXPECT_EQ(profile.getBinary(L"Group2", L"A,1"), a);
  EXPECT_EQ(profile.getBinary(L"Group1", L"A,7"), a);
  ASSERT_TRUE(t.moveItem(1, 6, 2, 2, MoveMode::kSwap));
  EXPECT_EQ(profile.getBinary(L"Group2", L"A,3"), a);
  EXPECT_EQ(profile.getBinary(L"Group1", L"B,7"), b);
  EXPECT_FALSE(profile.getBinary(L"Group2", L"B,3"));

  GroupTable again(profile, options());
  again.loadGroups();
  EXPECT_EQ(again.item(1, 6)->title, L"B");
  EXPECT_EQ(again.item(2, 2)->title, L"A");
  EXPECT_EQ(again.item(2, 0)->targetPath(), L"a.exe");
}

TEST_F(RegistryModel, OldRecordsAreRenewedOnTheirNextSave) {
  profile.setString(kSettingsSection, L"Order", L" 0 1");
  profile.setString(kSettingsSection, L"IsV416Later", L"Yes");
  std::vector<uint8_t> old{0x01, 0x00, 0, 0, 0, 0};
  old.resize(6 + 640, 0x11);
  for (const char* text : {"C:\\Old\\app.exe", "  C:\\Old", "", "", "old comment"})
    old.insert(old.end(), text, text + strlen(text) + 1);
  profile.setBinary(L"Group1", L"Old,1", packPairs(old));

  GroupTable t(profile, options());
  t.loadGroups();
  Item* it = t.item(1, 0);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(it->targetPath(), L"C:\\Old\\app.exe");
  EXPECT_EQ(it->folder, L"C:\\Old");
  EXPECT_EQ(it->text5, L"old comment");
  ASSERT_TRUE(t.saveItem(1, 0, false));
  auto packed = profile.getBinary(L"Group1", L"Old,1");
  ASSERT_TRUE(packed);
  std::vector<uint8_t> saved(kMaxItemRecordBytes);
  saved.resize(
      unpackPairs(saved, *packed, pairHeader(static_cast<uint32_t>(packed->size()), 0), saved.size()));
  ASSERT_GT(saved.size(), 6u + 640 + 4);
  EXPECT_EQ(saved[1] & 0x80, 0x80);
  EXPECT_EQ(saved[6 + 640], 'C');
  EXPECT_EQ(saved[6 + 641], 0);
}

TEST_F(RegistryModel, SettingsReadTheSystemAndWriteClampedValuesBack) {
  profile.setDword(kSettingsSection, L"ThumbQuality", 5);
  profile.setDword(kSettingsSection, L"HotKey", 0);
  Settings s;
  loadSettings(profile, s);
  EXPECT_EQ(s.thumbQuality, 25);
  EXPECT_EQ(s.hotKey, 0x074B);  // this system is later than Windows 2000
  EXPECT_FALSE(s.programFolder.empty());
  EXPECT_EQ(s.programFolder.back(), L'\\');
  EXPECT_FALSE(s.windowsFolder.empty());
  EXPECT_EQ(s.exeDirectory.path, s.windowsFolder);
  EXPECT_FALSE(s.runningAsShell);
  EXPECT_EQ(wildCardOrDefault(s), L"*.*");  // string 512 of the language library
  s.wildCard = L"*.exe;*.lnk";
  EXPECT_EQ(wildCardOrDefault(s), L"*.exe;*.lnk");

  GroupTable t(profile, options());
  t.loadGroups();
  saveState(profile, s, t, CmdHistory{L"cmd /k"});
  EXPECT_EQ(profile.getDword(kSettingsSection, L"ThumbQuality"), 25u);
  EXPECT_EQ(profile.getString(kHistorySection, L"1"), L"cmd /k");
}

TEST_F(RegistryModel, ItemHotKeysAreRegisteredForTheThread) {
  GroupTable t(profile, options());
  t.loadGroups();
  Item a, b;
  ASSERT_TRUE(t.setItemHotKey(a, 0x0677));  // Ctrl+Alt+F8
  EXPECT_EQ(a.hotKeyId, 1);
  // The system refuses a combination that is taken already.
  EXPECT_FALSE(t.setItemHotKey(b, 0x0677));
  EXPECT_EQ(b.hotKeyId, kNoHotKeyId);
  // The key reaches the thread as a hot-key message with the item's id.
  INPUT in[6] = {};
  WORD keys[3] = {VK_CONTROL, VK_MENU, VK_F8};
  for (int i = 0; i < 3; ++i) {
    in[i].type = in[5 - i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = in[5 - i].ki.wVk = keys[i];
    in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  SendInput(6, in, sizeof(INPUT));
  MSG msg{};
  bool got = false;
  for (int i = 0; i < 100 && !got; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message == WM_HOTKEY && msg.hwnd == nullptr && msg.wParam == static_cast<WPARAM>(a.hotKeyId))
        got = true;
    if (!got) Sleep(20);
  }
  EXPECT_TRUE(got);
  ASSERT_TRUE(t.setItemHotKey(a, 0));
  EXPECT_TRUE(t.setItemHotKey(b, 0x0677));
  EXPECT_EQ(b.hotKeyId, 1);
  t.setItemHotKey(b, 0);
}

}  // namespace
}  // namespace vorbin
