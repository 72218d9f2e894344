// What the bar tells Program Manager clients: request answer texts, their
// data block, and the rule for taking part in a conversation.
#include "launcher/bar/dde_answers.h"

#include "launcher/model/profile.h"

namespace vorbin {
namespace {

wchar_t foldCase(wchar_t c) {
  auto in = [c](unsigned first, unsigned last) {
    return static_cast<unsigned>(c) >= first && static_cast<unsigned>(c) <= last;
  };
  if (in(L'A', L'Z') || (in(0xC0, 0xDE) && c != 0xD7) || (in(0x391, 0x3A9) && c != 0x3A2) ||
      in(0x410, 0x42F) || in(0xFF21, 0xFF3A))
    return static_cast<wchar_t>(c + 0x20);
  if (in(0x400, 0x40F)) return static_cast<wchar_t>(c + 0x50);
  return c;
}

void putWord(std::vector<uint8_t>& out, unsigned word) {
  out.push_back(static_cast<uint8_t>(word & 0xFF));
  out.push_back(static_cast<uint8_t>((word >> 8) & 0xFF));
}

}  // namespace

std::string latin1Encoder(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) out.push_back(static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

bool ddeNamesEqual(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (foldCase(a[i]) != foldCase(b[i])) return false;
  return true;
}

std::vector<const Group*> ddeGroupView(const GroupTable& table) {
  std::vector<const Group*> groups;
  for (size_t i = 0; i + 1 < table.size(); ++i) groups.push_back(&table[i]);
  return groups;
}

int findDdeGroup(std::span<const Group* const> groups, std::wstring_view title) {
  for (size_t i = 0; i < groups.size(); ++i)
    if (ddeNamesEqual(groups[i]->title, title)) return static_cast<int>(i);
  return -1;
}

std::wstring ddeGroupsText(std::span<const Group* const> groups) {
  std::wstring text;
  for (const Group* g : groups) {
    text += g->title;
    text += L"\r\n";
  }
  return text;
}

std::wstring ddeGroupText(const Group& group, bool onView, const DdeProgramPart& programPart) {
  std::wstring text =
      L"\"" + group.title + L"\",," + std::to_wstring(group.itemCount()) + (onView ? L",1" : L",7") + L"\r\n";
  for (const auto& item : group.items) {
    if (!item) continue;
    std::wstring target = item->targetPath();
    std::wstring program = target.empty() || !programPart ? std::wstring() : programPart(target);
    text += L"\"" + item->title + L"\",\"" + target + L"\"," + item->folder + L"," + program + L",0,0,0,0," +
            ((item->flags & 1) ? L"1" : L"0") + L"\r\n";
  }
  return text;
}

std::wstring ddeRequestText(std::span<const Group* const> groups, std::wstring_view item, int activeGroup,
                            bool taskMode, const DdeProgramPart& programPart) {
  if (ddeNamesEqual(item, L"groups")) return ddeGroupsText(groups);
  int index = findDdeGroup(groups, item);
  if (index < 0) return {};
  return ddeGroupText(*groups[index], index == activeGroup && !taskMode, programPart);
}

std::vector<uint8_t> ddeDataBlock(std::wstring_view text, unsigned format, const AnsiEncoder& encodeAnsi) {
  std::vector<uint8_t> block;
  if (format != kClipboardText && format != kClipboardUnicodeText) return block;
  putWord(block, kDdeDataResponse | kDdeDataRelease);
  putWord(block, format);
  if (format == kClipboardUnicodeText) {
    appendUtf16(block, std::wstring(text));
    putWord(block, 0);
  } else {
    std::string ansi = (encodeAnsi ? encodeAnsi : latin1Encoder)(text);
    block.insert(block.end(), ansi.begin(), ansi.end());
    block.push_back(0);
  }
  return block;
}

bool acceptDdeInitiate(std::optional<std::wstring_view> application, std::optional<std::wstring_view> topic,
                       bool broadcast, bool runningAsShell) {
  if (application && !ddeNamesEqual(*application, L"PROGMAN")) return false;
  if (topic && !ddeNamesEqual(*topic, L"PROGMAN")) return false;
  return !broadcast || runningAsShell;
}

}  // namespace vorbin
