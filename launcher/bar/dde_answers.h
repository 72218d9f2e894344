// What the bar tells Program Manager clients: the texts of request answers,
// the data block they travel in, and which conversations it takes part in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/model/group_table.h"

namespace vorbin {

// Clipboard formats an answer can take (the system's values).
inline constexpr unsigned kClipboardText = 1;
inline constexpr unsigned kClipboardUnicodeText = 13;
// Data block flags: the data answers a request; the client frees the block.
inline constexpr uint16_t kDdeDataResponse = 0x1000;
inline constexpr uint16_t kDdeDataRelease = 0x2000;
inline constexpr size_t kDdeDataHeaderBytes = 4;

// The program part of a target: the target with its arguments split off, or
// empty when the whole target names an existing file (the glue asks the file
// system; see splitCommand).
using DdeProgramPart = std::function<std::wstring(const std::wstring& target)>;
// Wide text in the system's ANSI code page; Latin-1 stands in natively.
using AnsiEncoder = std::function<std::string(std::wstring_view)>;
std::string latin1Encoder(std::wstring_view text);

// Titles and names as clients give them: without regard to case (ASCII,
// Latin-1, basic Greek and Cyrillic, and full-width Latin letters).
bool ddeNamesEqual(std::wstring_view a, std::wstring_view b);

// The groups that requests see, by table index: the quick group first, the
// placeholder left out.
std::vector<const Group*> ddeGroupView(const GroupTable& table);
// Index of the first group with that title, or -1.
int findDdeGroup(std::span<const Group* const> groups, std::wstring_view title);

// Every title followed by "\r\n".
std::wstring ddeGroupsText(std::span<const Group* const> groups);
// The header line "title",,count,show then one line per occupied slot; show
// is 1 for the group on view (active and not in task mode), else 7.
std::wstring ddeGroupText(const Group& group, bool onView, const DdeProgramPart& programPart);
// The answer to a request item: "groups" (any case) or a group's title; empty
// when no group has that title.
std::wstring ddeRequestText(std::span<const Group* const> groups, std::wstring_view item, int activeGroup,
                            bool taskMode, const DdeProgramPart& programPart);

// The data block of an answer: flags word, format word, then the text with
// its terminator, in UTF-16 for kClipboardUnicodeText and ANSI for
// kClipboardText; sized to the text. Empty for any other format (refused).
std::vector<uint8_t> ddeDataBlock(std::wstring_view text, unsigned format,
                                  const AnsiEncoder& encodeAnsi = latin1Encoder);

// Whether the bar answers an initiate. application and topic: nothing for an
// absent atom (any name). Only "PROGMAN" in any case is taken. A broadcast is
// answered only while the launcher is the shell: otherwise the system's own
// Program Manager server answers it, and two answers confuse clients.
bool acceptDdeInitiate(std::optional<std::wstring_view> application, std::optional<std::wstring_view> topic,
                       bool broadcast, bool runningAsShell);

}  // namespace vorbin
