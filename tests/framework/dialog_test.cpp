// The dialog base class under Wine: binding, table dispatch, data exchange
// and the results that modal dialogs end with.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/dialog.h"
#include "tests/framework/dialog_test_ids.h"

namespace {

constexpr UINT kDoubleMessage = WM_APP + 1;  // mapped: returns wParam * 2
constexpr UINT kRunScript = WM_APP + 2;      // mapped: runs the test's script
constexpr UINT kUnmapped = WM_APP + 3;
constexpr UINT kTestNotifyCode = 0x7F01;

class ExchangeDialog : public fw::CMappedDialog<ExchangeDialog> {
 public:
  ExchangeDialog() : CMappedDialog(IDD_EXCHANGE) {}

  std::wstring name = L"alpha";
  bool flag = true;
  int number = 7;
  int choice = 1;

  int countClicks = 0;
  int nameNotifications = 0;
  int notifications = 0;
  int refusedControl = 0;
  int finalMessages = 0;
  // Runs inside the dialog's own message loop, once it is up.
  std::function<void(ExchangeDialog&)> script;

  static std::span<const fw::MessageEntry<ExchangeDialog>> messageMap() {
    static const fw::MessageEntry<ExchangeDialog> map[] = {
        {kDoubleMessage, &ExchangeDialog::onDouble},
        {kRunScript, &ExchangeDialog::onRunScript},
        {WM_SETTEXT, &ExchangeDialog::onSetText},
    };
    return map;
  }
  static std::span<const fw::CommandEntry<ExchangeDialog>> commandMap() {
    static const fw::CommandEntry<ExchangeDialog> map[] = {
        {IDC_COUNT, BN_CLICKED, &ExchangeDialog::onCount},
        {IDC_NAME, fw::CommandEntry<ExchangeDialog>::kAnyCode, &ExchangeDialog::onNameCommand},
    };
    return map;
  }
  static std::span<const fw::NotifyEntry<ExchangeDialog>> notifyMap() {
    static const fw::NotifyEntry<ExchangeDialog> map[] = {
        {IDC_COUNT, static_cast<int>(kTestNotifyCode), &ExchangeDialog::onTestNotify},
    };
    return map;
  }

  using CDialog::updateData;

 protected:
  bool onInitDialog() override {
    for (const wchar_t* entry : {L"zero", L"one", L"two"})
      SendDlgItemMessageW(m_hwnd, IDC_CHOICE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    CMappedDialog::onInitDialog();
    if (script) PostMessageW(m_hwnd, kRunScript, 0, 0);
    return true;
  }
  void doDataExchange(fw::DataExchange& dx) override {
    dx.text(IDC_NAME, name, 20);
    dx.check(IDC_FLAG, flag);
    dx.integer(IDC_NUMBER, number, 1, 100);
    dx.comboSelection(IDC_CHOICE, choice);
  }
  void onDataRefused(int controlId) override { refusedControl = controlId; }
  void onFinalMessage() override { ++finalMessages; }

 private:
  LRESULT onDouble(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam * 2); }
  LRESULT onRunScript(WPARAM, LPARAM) {
    script(*this);
    return 0;
  }
  // Captions starting with '!' are swallowed; the rest go on to the dialog manager.
  LRESULT onSetText(WPARAM, LPARAM text) {
    if (text && reinterpret_cast<const wchar_t*>(text)[0] == L'!') return TRUE;
    return notHandled();
  }
  void onCount() { ++countClicks; }
  void onNameCommand() { ++nameNotifications; }
  LRESULT onTestNotify(NMHDR*) {
    ++notifications;
    return 1234;
  }
};

std::wstring controlText(HWND dialog, int id) {
  wchar_t buffer[256] = {};
  GetDlgItemTextW(dialog, id, buffer, 256);
  return buffer;
}

class ModelessDialog : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.create(nullptr)); }
  ExchangeDialog dialog;
};

// ---------------------------------------------------------------------------
// Data exchange

TEST_F(ModelessDialog, LoadFillsEveryKindOfControl) {
  HWND h = dialog.hwnd();
  EXPECT_EQ(fw::CDialog::fromHandle(h), &dialog);
  EXPECT_EQ(controlText(h, IDC_NAME), L"alpha");
  EXPECT_EQ(IsDlgButtonChecked(h, IDC_FLAG), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(controlText(h, IDC_NUMBER), L"7");
  EXPECT_EQ(SendDlgItemMessageW(h, IDC_CHOICE, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendDlgItemMessageW(h, IDC_NAME, EM_GETLIMITTEXT, 0, 0), 20);
}

TEST_F(ModelessDialog, SaveReadsBackWhatTheControlsHold) {
  HWND h = dialog.hwnd();
  SetDlgItemTextW(h, IDC_NAME, L"beta gamma");
  CheckDlgButton(h, IDC_FLAG, BST_UNCHECKED);
  SetDlgItemTextW(h, IDC_NUMBER, L" 42 ");
  SendDlgItemMessageW(h, IDC_CHOICE, CB_SETCURSEL, 2, 0);
  ASSERT_TRUE(dialog.updateData(true));
  EXPECT_EQ(dialog.name, L"beta gamma");
  EXPECT_FALSE(dialog.flag);
  EXPECT_EQ(dialog.number, 42);
  EXPECT_EQ(dialog.choice, 2);
  EXPECT_EQ(dialog.refusedControl, 0);

  // And the other way again: the saved values come back into fresh controls.
  SetDlgItemTextW(h, IDC_NAME, L"");
  SetDlgItemTextW(h, IDC_NUMBER, L"");
  SendDlgItemMessageW(h, IDC_CHOICE, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ASSERT_TRUE(dialog.updateData(false));
  EXPECT_EQ(controlText(h, IDC_NAME), L"beta gamma");
  EXPECT_EQ(controlText(h, IDC_NUMBER), L"42");
  EXPECT_EQ(IsDlgButtonChecked(h, IDC_FLAG), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_EQ(SendDlgItemMessageW(h, IDC_CHOICE, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(ModelessDialog, IntegerBoundsAndSyntax) {
  struct Case {
    int line;
    const wchar_t* text;
    bool accepted;
    int value;
  };
  const Case cases[] = {
      {__LINE__, L"1", true, 1},
      {__LINE__, L"100", true, 100},
      {__LINE__, L"+55", true, 55},
      {__LINE__, L"0", false, 0},
      {__LINE__, L"101", false, 0},
      {__LINE__, L"-5", false, 0},
      {__LINE__, L"", false, 0},
      {__LINE__, L"  ", false, 0},
      {__LINE__, L"12x", false, 0},
      {__LINE__, L"x12", false, 0},
      {__LINE__, L"1 2", false, 0},
      {__LINE__, L"-", false, 0},
      {__LINE__, L"99999999999999999999", false, 0},
  };
  HWND h = dialog.hwnd();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    dialog.number = 7;
    dialog.choice = 1;
    dialog.refusedControl = 0;
    SetDlgItemTextW(h, IDC_NUMBER, c.text);
    SendDlgItemMessageW(h, IDC_CHOICE, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(dialog.updateData(true), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(dialog.number, c.value);
      EXPECT_EQ(dialog.choice, 0);
    } else {
      EXPECT_EQ(dialog.number, 7) << "a refused value must not be stored";
      EXPECT_EQ(dialog.choice, 1) << "saving stops at a refused control";
      EXPECT_EQ(dialog.refusedControl, IDC_NUMBER);
      EXPECT_EQ(GetFocus(), GetDlgItem(h, IDC_NUMBER));
    }
  }
}

// ---------------------------------------------------------------------------
// Table dispatch

TEST_F(ModelessDialog, MessageTableResultsReachTheSender) {
  EXPECT_EQ(SendMessageW(dialog.hwnd(), kDoubleMessage, 21, 0), 42);
  EXPECT_EQ(SendMessageW(dialog.hwnd(), kUnmapped, 21, 0), 0);
  // A handler that declines leaves the message to the dialog manager.
  wchar_t caption[64]{};
  SetWindowTextW(dialog.hwnd(), L"Taken by the default");
  GetWindowTextW(dialog.hwnd(), caption, 64);
  EXPECT_STREQ(caption, L"Taken by the default");
  SetWindowTextW(dialog.hwnd(), L"!swallowed");
  GetWindowTextW(dialog.hwnd(), caption, 64);
  EXPECT_STREQ(caption, L"Taken by the default") << "the handler's own answer did not stand";
}

TEST_F(ModelessDialog, CommandsRouteByControlAndCode) {
  HWND h = dialog.hwnd();
  SendDlgItemMessageW(h, IDC_COUNT, BM_CLICK, 0, 0);
  SendDlgItemMessageW(h, IDC_COUNT, BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.countClicks, 2);

  // Another code from the same control does not reach a BN_CLICKED entry.
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_COUNT, BN_DBLCLK),
               reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_COUNT)));
  EXPECT_EQ(dialog.countClicks, 2);

  // An entry for any code takes every notification of its edit.
  int before = dialog.nameNotifications;
  SetDlgItemTextW(h, IDC_NAME, L"changed");
  EXPECT_GT(dialog.nameNotifications, before);
  before = dialog.nameNotifications;
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDC_NAME, EN_KILLFOCUS),
               reinterpret_cast<LPARAM>(GetDlgItem(h, IDC_NAME)));
  EXPECT_EQ(dialog.nameNotifications, before + 1);
}

TEST_F(ModelessDialog, NotificationsRouteByControlAndCode) {
  NMHDR header{GetDlgItem(dialog.hwnd(), IDC_COUNT), IDC_COUNT, kTestNotifyCode};
  EXPECT_EQ(SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_COUNT, reinterpret_cast<LPARAM>(&header)), 1234);
  EXPECT_EQ(dialog.notifications, 1);

  NMHDR otherControl{GetDlgItem(dialog.hwnd(), IDC_NAME), IDC_NAME, kTestNotifyCode};
  EXPECT_EQ(SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_NAME, reinterpret_cast<LPARAM>(&otherControl)), 0);
  NMHDR otherCode{GetDlgItem(dialog.hwnd(), IDC_COUNT), IDC_COUNT, kTestNotifyCode + 1};
  EXPECT_EQ(SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_COUNT, reinterpret_cast<LPARAM>(&otherCode)), 0);
  EXPECT_EQ(dialog.notifications, 1);
}

TEST_F(ModelessDialog, EndingAModelessDialogDestroysItAndUnbinds) {
  HWND h = dialog.hwnd();
  EXPECT_FALSE(dialog.isModal());
  SendDlgItemMessageW(h, IDCANCEL, BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(dialog.hwnd(), nullptr);
  EXPECT_EQ(dialog.finalMessages, 1);
}

// ---------------------------------------------------------------------------
// Modal results

TEST(ModalDialog, OkSavesAndEndsWithIdok) {
  ExchangeDialog dialog;
  dialog.script = [](ExchangeDialog& d) {
    EXPECT_TRUE(d.isModal());
    SetDlgItemTextW(d.hwnd(), IDC_NAME, L"typed");
    SetDlgItemTextW(d.hwnd(), IDC_NUMBER, L"64");
    SendDlgItemMessageW(d.hwnd(), IDOK, BM_CLICK, 0, 0);
  };
  EXPECT_EQ(dialog.doModal(nullptr), IDOK);
  EXPECT_EQ(dialog.name, L"typed");
  EXPECT_EQ(dialog.number, 64);
  EXPECT_EQ(dialog.hwnd(), nullptr);
  EXPECT_FALSE(dialog.isModal());
}

TEST(ModalDialog, CancelAndEscapeKeepTheVariables) {
  for (bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "escape" : "cancel button");
    ExchangeDialog dialog;
    dialog.script = [escape](ExchangeDialog& d) {
      SetDlgItemTextW(d.hwnd(), IDC_NAME, L"discarded");
      if (escape) {
        SendMessageW(d.hwnd(), WM_COMMAND, IDCANCEL, 0);  // what the dialog manager sends for Esc
      } else {
        SendDlgItemMessageW(d.hwnd(), IDCANCEL, BM_CLICK, 0, 0);
      }
    };
    EXPECT_EQ(dialog.doModal(nullptr), IDCANCEL);
    EXPECT_EQ(dialog.name, L"alpha");
  }
}

TEST(ModalDialog, RefusedValueKeepsTheDialogOpen) {
  ExchangeDialog dialog;
  bool stillOpen = false;
  dialog.script = [&](ExchangeDialog& d) {
    SetDlgItemTextW(d.hwnd(), IDC_NUMBER, L"1000");
    SendDlgItemMessageW(d.hwnd(), IDOK, BM_CLICK, 0, 0);
    stillOpen = IsWindow(d.hwnd()) != FALSE;
    d.endDialog(42);
  };
  EXPECT_EQ(dialog.doModal(nullptr), 42);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(dialog.number, 7);
  EXPECT_EQ(dialog.refusedControl, IDC_NUMBER);
}

TEST(ModalDialog, MissingTemplateGivesMinusOne) {
  class Missing : public fw::CDialog {
   public:
    Missing() : CDialog(4321) {}
  } dialog;
  EXPECT_EQ(dialog.doModal(nullptr), -1);
  EXPECT_FALSE(dialog.create(nullptr));
}

}  // namespace
