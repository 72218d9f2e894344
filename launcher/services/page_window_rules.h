// Finding the browser window that shows a web address, without a window:
// the address comparison, which top-level windows are looked at and which
// child is taken as the page pane.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorbin {

// The address with blanks around it and trailing slashes removed.
std::wstring_view trimAddress(std::wstring_view text);
// True when an address field's text shows url: equal after trimAddress,
// ignoring the case of Latin letters.
bool addressMatches(std::wstring_view fieldText, std::wstring_view url);
// Address fields longer than this cannot show an address the launcher keeps
// (a stored address is at most 2,083 characters): reading stops there.
inline constexpr int kMaxFieldChars = 4096;

// A top-level window is searched when it is visible and has a frame (any of
// caption, system menu, sizing frame, minimize or maximize box).
bool searchedTopLevel(std::uint32_t style);

// Window classes of a browser's page pane.
bool isPagePaneClass(std::wstring_view className);
// Class of the children whose text is compared with the address.
bool isAddressFieldClass(std::wstring_view className);

// The pane chosen among a window's children: the largest page-pane child if
// any, else the child with the largest client area (the first of equals).
class PaneChoice {
 public:
  void consider(std::uintptr_t child, std::wstring_view className, long long width, long long height);
  bool found() const { return m_largest != 0; }
  std::uintptr_t pane() const { return m_page ? m_page : m_largest; }

 private:
  std::uintptr_t m_page = 0, m_largest = 0;
  long long m_pageArea = -1, m_largestArea = -1;
};

}  // namespace vorbin
