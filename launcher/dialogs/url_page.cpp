// The web-link page (see url_page.h).
#include "launcher/dialogs/url_page.h"

#include <algorithm>
#include <utility>

#include "launcher/dialogs/skin_rules.h"
#include "launcher/model/item_record.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/shell_helpers.h"

namespace vorbin {
namespace {

std::wstring programFolderPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, std::min<DWORD>(n, MAX_PATH));
  const size_t cut = folder.find_last_of(L'\\');
  return cut == std::wstring::npos ? std::wstring() : folder.substr(0, cut + 1);
}

}  // namespace

std::optional<JpegPicture> loadThumbnail(const std::wstring& name) {
  if (!isBarePictureName(name)) return std::nullopt;
  return readJpegFile(dataFolder(name.c_str(), programFolderPath(), false));
}

void drawThumbnail(HDC dc, const RECT& box, const JpegPicture& picture) {
  const int bw = box.right - box.left, bh = box.bottom - box.top;
  if (bw <= 0 || bh <= 0 || picture.width <= 0 || picture.height <= 0) return;
  // Fit inside the box; a small picture keeps its size.
  int w = picture.width, h = picture.height;
  if (w > bw || h > bh) {
    if (static_cast<long long>(w) * bh > static_cast<long long>(h) * bw) {
      h = std::max(1, static_cast<int>(static_cast<long long>(h) * bw / w));
      w = bw;
    } else {
      w = std::max(1, static_cast<int>(static_cast<long long>(w) * bh / h));
      h = bh;
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, box.left + (bw - w) / 2, box.top + (bh - h) / 2, w, h, 0, 0, picture.width, picture.height,
                picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

CSetUrl::CSetUrl(std::wstring thumbnail, std::function<std::wstring()> url, const ThumbnailContext& context)
    : CMappedDialog(IDD_URL_PAGE, context.resources),
      m_thumbnail(std::move(thumbnail)),
      m_url(std::move(url)),
      m_context(context) {}

std::span<const fw::MessageEntry<CSetUrl>> CSetUrl::messageMap() {
  static const fw::MessageEntry<CSetUrl> entries[] = {{WM_DRAWITEM, &CSetUrl::onDrawItem}};
  return entries;
}

std::span<const fw::CommandEntry<CSetUrl>> CSetUrl::commandMap() {
  static const fw::CommandEntry<CSetUrl> entries[] = {{IDC_URL_CAPTURE, BN_CLICKED, &CSetUrl::onCapture}};
  return entries;
}

bool CSetUrl::onInitDialog() {
  loadPicture();
  return true;
}

void CSetUrl::loadPicture() {
  m_picture = m_thumbnail.empty() ? std::nullopt : loadThumbnail(m_thumbnail);
  InvalidateRect(item(IDC_URL_PICTURE), nullptr, TRUE);
}

LRESULT CSetUrl::onDrawItem(WPARAM wParam, LPARAM lParam) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (wParam != IDC_URL_PICTURE || !draw) return notHandled();
  FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(draw->hDC, &draw->rcItem, EDGE_SUNKEN, BF_RECT);
  if (m_picture) {
    RECT inner = draw->rcItem;
    InflateRect(&inner, -3, -3);
    drawThumbnail(draw->hDC, inner, *m_picture);
  }
  return TRUE;
}

void CSetUrl::onCapture() {
  // Repeated captures from this page reuse the one file it made.
  const std::wstring made =
      makeThumbnail(m_url ? m_url() : std::wstring(), m_madeNew ? m_thumbnail : std::wstring(), m_hwnd, m_context);
  if (made.empty()) return;
  m_thumbnail = made;
  m_madeNew = true;
  loadPicture();
}

std::wstring CSetUrl::commitTo(Item& item) const {
  if (!m_madeNew || item.text4 == m_thumbnail) return {};
  return std::exchange(item.text4, m_thumbnail);
}

void CSetUrl::discardNewFile() {
  if (!m_madeNew) return;
  DeleteFileW((dataFolder(nullptr, L"", false) + m_thumbnail).c_str());
  m_madeNew = false;
  m_thumbnail.clear();
}

}  // namespace vorbin
