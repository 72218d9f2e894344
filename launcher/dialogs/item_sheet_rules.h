// Decisions of the item property sheet, the new-item wizard and the shortcut
// files, without windows: kinds and options, limits, renaming, and the texts
// of ".url" files and of the ".lnk" description that carries our own flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// ---- Kinds and options -----------------------------------------------------

// Flags of the kind and its options; the sheets clear these before they merge
// what their controls say.
inline constexpr uint32_t kKindAndOptionBits = 0x08E0;  // prompt, folder, explorer, root/find
inline constexpr uint32_t kKeepOnKindChange = 0xF71F;

// What the kind radio buttons and the three option check boxes show.
struct KindOptions {
  int kind = 0;           // option page order: 0 program, 1 prompting, 2 folder
  bool explorer = false;  // A
  bool rooted = false;    // B (only with A)
  bool find = false;      // C (only without A)
};
KindOptions kindOptionsFromFlags(uint32_t flags);
// flags without the kind and option bits, plus those the controls give.
uint32_t flagsWithKindOptions(uint32_t flags, const KindOptions& options);
// The wizard's radio order is prompting, folder, program.
int wizardKindFromOptionKind(int kind);
int optionKindFromWizardKind(int kind);

enum class OptionBox { kExplorer, kRooted, kFind };
// A click on one check box with the others adjusted: C and A exclude each
// other, and B needs A.
KindOptions afterOptionClick(KindOptions options, OptionBox box, bool checked);

// Which option controls take input for a kind (option page order).
struct OptionEnabling {
  bool pattern = false;
  bool explorer = false, rooted = false, find = false;
};
OptionEnabling optionEnabling(const KindOptions& options);

// OK on the common page: a command, or a folder for prompting and folder items.
bool sheetAcceptable(std::wstring_view command, std::wstring_view folder, uint32_t flags);

// The patterns of the WildCard setting ("description|pattern|..."): the
// second field of each pair, in order.
std::vector<std::wstring> wildCardPatterns(std::wstring_view wildCard);

// Whether the item's picture is made again from its target after the sheet:
// only when what the picture shows changed.
struct PictureSource {
  uint32_t flags = 0;
  std::wstring path;  // the program part of a command, or the folder of a folder item
  std::vector<uint8_t> idList;
};
bool pictureNeedsRebuild(const PictureSource& before, const PictureSource& after);

// ---- Texts and limits ------------------------------------------------------

inline constexpr size_t kMaxCommandChars = 260;
inline constexpr size_t kMaxPatternChars = 260;
// The comment kept with the item; longer text is cut.
std::wstring boundedComment(std::wstring_view comment);

// A hot key as the hot-key control gives it (high byte 1 Shift, 2 Control,
// 4 Alt, 8 extended): a key without a modifier becomes Control+Alt+key; the
// extended-key bit is not part of an item's key.
uint16_t itemHotKeyFromControl(uint16_t controlKey);

// "C:\Program Files\a.exe" gets quotes; a quoted or blank-free text stays.
std::wstring quotedIfBlank(std::wstring_view path);
// Surrounding quotes removed (a lone leading quote too), blanks trimmed.
std::wstring withoutQuotes(std::wstring_view text);
// The program, quoted when it holds a blank, and " " + arguments when there are any.
std::wstring joinCommand(std::wstring_view program, std::wstring_view arguments);

// ---- The wizard's first page -----------------------------------------------

enum class WizardTargetKind {
  kIdList,  // a virtual object chosen by browsing
  kUrl,     // any text with ":/"
  kPath,    // a program, document or folder that must exist
};
WizardTargetKind wizardTargetKind(std::wstring_view text, bool hasIdList);
// The flags after Next on page 1. found/isFolder matter for kPath only.
uint32_t wizardFlagsAfterTarget(WizardTargetKind kind, uint32_t flags, bool isFolder);

// ---- Renaming --------------------------------------------------------------

// A changed title or slot files the item under a new value name; the old
// value is deleted first, by its exact name, so that a name differing only in
// case (the same value to the registry) is not deleted after the new write.
struct RenamePlan {
  std::optional<std::wstring> deleteFirst;
  std::wstring write;
};
RenamePlan renamePlan(std::wstring_view oldName, const std::wstring& newTitle, int slot);
// The exact stored name among a section's value names that files this title
// at this slot ("Edit,03" as well as "Edit,3"); nothing when none does.
std::optional<std::wstring> storedItemName(std::span<const std::wstring> names, std::wstring_view title,
                                           int slot);

// ---- Shortcut records ------------------------------------------------------

// An item as a shortcut file describes it.
struct ShortcutRecord {
  std::wstring target;          // command line, or a URL
  std::vector<uint8_t> idList;  // with kItemIdList
  std::wstring comment;
  std::wstring title;
  std::wstring folder;
  std::wstring iconFile;
  int iconIndex = 0;
  uint16_t hotKey = 0;
  uint32_t flags = 0;
};

// The description of a ".lnk": "_vosc:0x<flags>" when the flags carry what a
// shortcut cannot say (prompting, explorer view, root or find), then the
// prompting item's command, a line break, and the comment.
inline constexpr wchar_t kDescriptionTag[] = L"_vosc:";
inline constexpr size_t kMaxDescriptionChars = 1303;
std::wstring encodeShortcutDescription(uint32_t flags, std::wstring_view target, std::wstring_view comment);

struct DescriptionParts {
  bool tagged = false;
  uint32_t flags = 0;
  std::wstring command;  // tagged with the prompting flag only
  std::wstring comment;
};
DescriptionParts decodeShortcutDescription(std::wstring_view description);

// What the shell's link object told about a ".lnk" file.
struct LinkFields {
  std::wstring shortcutFile;  // the file itself
  std::wstring path;          // empty when the link has no file-system target
  std::optional<uint32_t> pathAttributes;
  std::wstring arguments, workingFolder, description;
  std::vector<uint8_t> idList;
  bool idListIsSelf = false;    // the list names the shortcut file itself
  bool idListIsFolder = false;  // the shell calls the listed object a folder
  std::wstring iconFile;
  int iconIndex = 0;
  uint16_t hotKey = 0;
  int showCommand = 1;
};
// The record, or nothing for a link to itself. decoration is removed from the title.
std::optional<ShortcutRecord> shortcutRecordFromLink(const LinkFields& link, std::wstring_view decoration);

// "C:\Links\Shortcut to Edit.lnk" -> "Edit" for the decoration "Shortcut to ".
std::wstring shortcutTitle(std::wstring_view file, std::wstring_view decoration);

// What a ".lnk" is written with for an item.
struct LinkPlan {
  std::wstring path, arguments, workingFolder, description;
  bool useIdList = false;
  uint16_t hotKey = 0;
  int showCommand = 5;
};
// program and arguments: a program item's command as the launcher splits it.
LinkPlan linkPlanForItem(const ShortcutRecord& item, std::wstring_view program, std::wstring_view arguments);

// The show command a ".lnk" header holds (offset 0x3C), read from the file's
// bytes; nothing when they are not a link header.
std::optional<uint32_t> linkHeaderShowCommand(std::span<const uint8_t> bytes);

// ---- Internet shortcuts (".url") -------------------------------------------

inline constexpr size_t kMaxUrlFileChars = 64 * 1024;
inline constexpr size_t kMaxUrlFieldChars = 2083;

struct UrlFields {
  std::wstring url;
  uint16_t hotKey = 0;
  std::wstring iconFile;
  int iconIndex = 0;
};
// The fields of the [InternetShortcut] section; nothing without a URL there.
// Names are matched without regard to case; lines and values are bounded.
std::optional<UrlFields> parseUrlShortcut(std::wstring_view text);
// A complete file for fields (CR LF line ends; absent fields left out).
std::wstring urlShortcutText(const UrlFields& fields);
// The keys whose written values differ from what was read back ("URL",
// "HotKey", "IconFile", "IconIndex"), each with the text it should have.
std::vector<std::pair<std::wstring, std::wstring>> urlFieldsToRepair(const UrlFields& wanted,
                                                                     const std::optional<UrlFields>& read);
// "C:\icons.dll,3" -> ("C:\icons.dll", 3); no comma: index 0.
std::pair<std::wstring, int> splitIconLocation(std::wstring_view text);

}  // namespace vorbin
