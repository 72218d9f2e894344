// Fuzzes the Program Manager conversation core: any command memory in either
// encoding, and request answers for any titles, names and request items.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "launcher/bar/dde_answers.h"
#include "launcher/bar/dde_commands.h"
#include "launcher/model/profile.h"

namespace {

using namespace vorbin;

void check(bool condition) {
  if (!condition) abort();
}

void fuzzExecute(std::span<const uint8_t> memory, bool unicode) {
  const std::wstring text = ddeExecuteText(memory, unicode);
  check(text.size() <= kMaxDdeExecuteChars && text.find(L'\0') == std::wstring::npos);
  const std::vector<DdeCommand> commands = parseDdeCommands(text);
  check(commands.size() <= kMaxDdeCommands);
  size_t chars = 0;
  std::wstring rebuilt;
  std::vector<const DdeCommand*> plain;
  for (const DdeCommand& c : commands) {
    check(!c.name.empty() && c.name.find_first_of(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ(") == std::wstring::npos);
    check(!c.arguments.empty() && c.arguments.size() <= kMaxDdeArguments);
    chars += c.name.size();
    bool quoteFree = true;
    for (const std::wstring& a : c.arguments) {
      check(a.size() <= kMaxDdeArgumentChars);
      chars += a.size();
      quoteFree = quoteFree && a.find(L'"') == std::wstring::npos;
    }
    const DdeOperation op = interpretDdeCommand(c);
    if (op.action == DdeAction::kAddItem)
      check(op.item.target == c.arguments[0] && op.item.flags <= 1);
    else if (op.action != DdeAction::kUnknown)
      check(op.group == c.arguments[0] && !op.group.empty());
    // Commands whose arguments hold no quote come back the same once every argument is quoted.
    if (quoteFree) {
      plain.push_back(&c);
      rebuilt += L"[" + c.name + L"(";
      for (size_t i = 0; i < c.arguments.size(); ++i)
        rebuilt += (i ? L",\"" : L"\"") + c.arguments[i] + L"\"";
      rebuilt += L")]";
    }
  }
  check(chars <= text.size());
  const std::vector<DdeCommand> again = parseDdeCommands(rebuilt);
  check(again.size() == plain.size());
  for (size_t i = 0; i < again.size(); ++i)
    check(again[i].name == plain[i]->name && again[i].arguments == plain[i]->arguments);
}

// Fields separated by "|": titles of 1-4 groups, then item titles, targets and
// folders in turn, the last field the request item.
void fuzzAnswers(std::span<const uint8_t> memory, bool unicode, unsigned shape) {
  const std::wstring text = ddeExecuteText(memory, unicode);
  std::vector<std::wstring> fields;
  for (size_t pos = 0; fields.size() < 64;) {
    size_t bar = text.find(L'|', pos);
    fields.push_back(text.substr(pos, bar == std::wstring::npos ? std::wstring::npos : bar - pos));
    if (bar == std::wstring::npos) break;
    pos = bar + 1;
  }
  const std::wstring item = fields.back();
  const size_t groupCount = 1 + (shape & 3);
  std::vector<Group> groups(groupCount);
  size_t f = 0;
  for (Group& g : groups)
    if (f < fields.size()) g.title = fields[f++];
  for (size_t slot = 0; f + 2 < fields.size(); f += 3, ++slot) {
    Group& g = groups[slot % groupCount];
    auto it = std::make_unique<Item>();
    it->title = fields[f];
    it->setTargetPath(fields[f + 1]);
    it->folder = fields[f + 2];
    it->flags = static_cast<uint32_t>(slot ^ shape) & kItemFlagBits;
    g.items.resize(g.items.size() + 1 + (slot & 1));  // leave some slots empty
    g.items.back() = std::move(it);
  }
  std::vector<const Group*> view;
  for (const Group& g : groups) view.push_back(&g);
  const DdeProgramPart programPart = [](const std::wstring& target) {
    return target.substr(0, target.find(L' '));
  };

  const int active = static_cast<int>((shape >> 2) & 3);
  const bool taskMode = shape & 16;
  const std::wstring answer = ddeRequestText(view, item, active, taskMode, programPart);
  const int found = findDdeGroup(view, item);
  if (ddeNamesEqual(item, L"groups")) {
    size_t size = 0;
    for (const Group& g : groups) size += g.title.size() + 2;
    check(answer.size() == size);
  } else if (found < 0) {
    check(answer.empty());
  } else {
    check(ddeNamesEqual(groups[found].title, item));
    const std::wstring head = L"\"" + groups[found].title + L"\",,";
    check(answer.compare(0, head.size(), head) == 0 && answer.ends_with(L"\r\n"));
  }
  std::vector<uint8_t> wide = ddeDataBlock(answer, kClipboardUnicodeText);
  const std::vector<uint8_t> utf16 = utf16Bytes(answer);
  check(wide.size() == kDdeDataHeaderBytes + utf16.size() + 2);
  check(std::equal(utf16.begin(), utf16.end(), wide.begin() + kDdeDataHeaderBytes));
  check(ddeDataBlock(answer, kClipboardText).size() == kDdeDataHeaderBytes + answer.size() + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const unsigned mode = data[0];
  // The memory gets its own allocation, so a read past its end is caught.
  std::unique_ptr<uint8_t[]> copy(new uint8_t[size - 1]);
  std::copy(data + 1, data + size, copy.get());
  std::span<const uint8_t> memory(copy.get(), size - 1);
  if (mode & 0x80)
    fuzzAnswers(memory, mode & 1, mode >> 1);
  else
    fuzzExecute(memory, mode & 1);
  return 0;
}
