// The launcher's question box.
#include "launcher/widgets/question_box.h"

#include <algorithm>

#include "launcher/services/language_strings.h"
#include "launcher/resources/resource_ids.h"

namespace vorbin {

CQuestionBox::CQuestionBox(std::wstring caption, std::wstring question)
    : CMappedDialog(IDD_QUESTION, static_cast<HINSTANCE>(resourceModule())),
      m_caption(std::move(caption)),
      m_question(std::move(question)) {
  m_usesCommonControls = false;
}

int CQuestionBox::ask(HWND owner) { return doModal(owner) == IDOK ? IDOK : IDCANCEL; }

bool CQuestionBox::onInitDialog() {
  SetWindowTextW(m_hwnd, m_caption.c_str());
  SetDlgItemTextW(m_hwnd, IDC_QUESTION_TEXT, m_question.c_str());
  SendDlgItemMessageW(m_hwnd, IDC_QUESTION_ICON, STM_SETICON,
                      reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
  fitText();
  return true;
}

void CQuestionBox::fitText() {
  HWND text = item(IDC_QUESTION_TEXT);
  if (!text) return;
  RECT box;
  GetWindowRect(text, &box);
  MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&box), 2);
  const int width = box.right - box.left, height = box.bottom - box.top;
  HDC dc = GetDC(text);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
  RECT need{0, 0, width, 0};
  DrawTextW(dc, m_question.c_str(), static_cast<int>(m_question.size()), &need,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
  SelectObject(dc, old);
  ReleaseDC(text, dc);
  const int grow = std::max(0, static_cast<int>(need.bottom) - height);
  if (grow == 0) return;
  // The text takes the room it needs; the buttons and the box move down by as much.
  SetWindowPos(text, nullptr, 0, 0, width, height + grow, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int id : {IDOK, IDCANCEL}) {
    HWND button = item(id);
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(button, nullptr, r.left, r.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame;
  GetWindowRect(m_hwnd, &frame);
  const int frameHeight = frame.bottom - frame.top + grow;
  // Keep the box centred where the system put it.
  SetWindowPos(m_hwnd, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left, frameHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vorbin
