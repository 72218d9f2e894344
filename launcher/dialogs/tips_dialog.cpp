// The tip-of-the-day dialog and the reading of the tips file.
#include "launcher/dialogs/tips_dialog.h"

#include "framework/handle.h"
#include "framework/trace.h"
#include "launcher/dialogs/tips_rules.h"
#include "launcher/model/profile.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"

namespace vorbin {
namespace {

const std::wstring kSection = L"Tip";

bool readWhole(const std::wstring& path, TipsFile& out) {
  fw::FileHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) return false;
  FILETIME written{};
  if (!GetFileTime(file.get(), nullptr, nullptr, &written)) FW_TRACE_FAILURE("GetFileTime");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
  const size_t want = static_cast<size_t>(std::min<int64_t>(size.QuadPart, kMaxTipsFileBytes));
  out.bytes.resize(want);
  size_t got = 0;
  while (got < want) {
    DWORD chunk = 0;
    if (!ReadFile(file.get(), out.bytes.data() + got, static_cast<DWORD>(want - got), &chunk, nullptr) ||
        chunk == 0)
      break;
    got += chunk;
  }
  // A short read keeps what came: the tips in it are still good.
  out.bytes.resize(got);
  out.stamp = tipsTimeStamp(
      secondsSince1970((static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime));
  out.opened = true;
  return true;
}

}  // namespace

TipsFile readTipsFile(const std::wstring& folder, int language) {
  TipsFile file;
  const TipsFileNames names = tipsFileNames(language);
  if (!readWhole(folder + std::wstring(names.first), file))
    readWhole(folder + std::wstring(names.second), file);
  return file;
}

bool tipsWantedAtStartUp(const Profile& profile, const std::wstring& folder, int language, bool noLogo) {
  if (noLogo) return false;
  const uint32_t startUp = profile.getDword(kSection, L"StartUp").value_or(0);
  const std::wstring stored = profile.getString(kSection, L"TimeStamp").value_or(L"");
  return tipsAtStartUp(false, startUp, stored, readTipsFile(folder, language).stamp);
}

CTipsDialog::CTipsDialog(Profile& profile, const std::wstring& folder, int language)
    : CMappedDialog(IDD_TIPS, static_cast<HINSTANCE>(resourceModule())),
      m_profile(profile),
      m_file(readTipsFile(folder, language)) {
  m_usesCommonControls = false;
  const uint32_t startUp = m_profile.getDword(kSection, L"StartUp").value_or(0);
  // Stored as a double word; a negative position written by hand comes back as one.
  const int64_t storedPos = static_cast<int32_t>(m_profile.getDword(kSection, L"FilePos").value_or(0));
  m_atStartUp = startUp == 0;
  if (!m_file.opened) {
    m_tip = resourceString(IDS_TIPS_NONE);
    return;
  }
  const std::wstring stored = m_profile.getString(kSection, L"TimeStamp").value_or(L"");
  const TipsStart start =
      startTips(startUp, storedPos, stored, m_file.stamp, static_cast<int64_t>(m_file.bytes.size()));
  m_atStartUp = start.showAtStartUp;
  m_pos = start.pos;
  if (start.stampChanged) m_profile.setString(kSection, L"TimeStamp", m_file.stamp);
  readNextTip();
}

CTipsDialog::~CTipsDialog() {
  if (m_file.opened) m_profile.setDword(kSection, L"FilePos", static_cast<uint32_t>(m_pos));
}

std::span<const fw::MessageEntry<CTipsDialog>> CTipsDialog::messageMap() {
  static const fw::MessageEntry<CTipsDialog> map[] = {
      {WM_PAINT, &CTipsDialog::onPaint},
      {WM_CTLCOLORSTATIC, &CTipsDialog::onCtlColorStatic},
  };
  return map;
}

std::span<const fw::CommandEntry<CTipsDialog>> CTipsDialog::commandMap() {
  static const fw::CommandEntry<CTipsDialog> map[] = {
      {IDC_TIPS_NEXT, BN_CLICKED, &CTipsDialog::onNext},
  };
  return map;
}

void CTipsDialog::readNextTip() {
  const TipFound tip = nextTip(m_file.bytes, m_pos);
  m_haveTip = tip.found;
  if (!tip.found) {
    m_tip = resourceString(IDS_TIPS_NONE);
    return;
  }
  m_tip.assign(tip.text.begin(), tip.text.end());
  m_pos = tip.nextPos;
}

bool CTipsDialog::onInitDialog() {
  CheckDlgButton(m_hwnd, IDC_TIPS_AT_STARTUP, m_atStartUp ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(item(IDC_TIPS_NEXT), m_haveTip);
  // The page, the band and the heading only mark out where the dialog paints
  // them: shown, their own background would cover that painting.
  for (int guide : {IDC_TIPS_PAGE, IDC_TIPS_BAND, IDC_TIPS_HEADING}) ShowWindow(item(guide), SW_HIDE);
  HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW heading{};
  GetObjectW(gui, sizeof(heading), &heading);
  heading.lfHeight *= 2;
  heading.lfWeight = FW_BOLD;
  m_headingFont.reset(CreateFontIndirectW(&heading));
  m_white.reset(CreateSolidBrush(RGB(255, 255, 255)));
  SendDlgItemMessageW(m_hwnd, IDC_TIPS_TEXT, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
  SetDlgItemTextW(m_hwnd, IDC_TIPS_TEXT, m_tip.c_str());
  // Centred on the desktop, whoever owns it.
  RECT frame{}, desk{};
  GetWindowRect(m_hwnd, &frame);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &desk, 0);
  SetWindowPos(m_hwnd, nullptr, (desk.left + desk.right - (frame.right - frame.left)) / 2,
               (desk.top + desk.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void CTipsDialog::onOK() {
  m_profile.setDword(kSection, L"StartUp",
                     IsDlgButtonChecked(m_hwnd, IDC_TIPS_AT_STARTUP) == BST_CHECKED ? 0 : 1);
  endDialog(IDOK);
}

void CTipsDialog::onNext() {
  readNextTip();
  SetDlgItemTextW(m_hwnd, IDC_TIPS_TEXT, m_tip.c_str());
  if (!m_haveTip) EnableWindow(item(IDC_TIPS_NEXT), FALSE);
}

RECT CTipsDialog::controlRect(int id) const {
  RECT r{};
  GetWindowRect(item(id), &r);
  MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LRESULT CTipsDialog::onPaint(WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hwnd, &ps);
  const RECT page = controlRect(IDC_TIPS_PAGE);
  const RECT band = controlRect(IDC_TIPS_BAND);
  const RECT heading = controlRect(IDC_TIPS_HEADING);
  FillRect(dc, &page, m_white.get());
  fw::Brush teal(CreateSolidBrush(RGB(64, 192, 192)));
  FillRect(dc, &band, teal.get());
  if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(178)))
    DrawIconEx(dc, heading.left, heading.top, icon, 0, 0, 0, nullptr, DI_NORMAL);
  RECT text{band.right, heading.top, page.right, heading.bottom};
  const std::wstring title = resourceString(IDS_TIPS_HEADING);
  {
    fw::SelectScope font(dc, m_headingFont.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  EndPaint(m_hwnd, &ps);
  return 0;
}

LRESULT CTipsDialog::onCtlColorStatic(WPARAM wParam, LPARAM lParam) {
  if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_TIPS_TEXT) return notHandled();
  SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(m_white.get());
}

}  // namespace vorbin
