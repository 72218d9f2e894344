// Property sheets with real pages: activation, validation when leaving a
// page, apply on OK, cancel, wizard navigation, modal runs.
#include <gtest/gtest.h>

#include "framework/property_sheet.h"

namespace {

constexpr UINT kPageOne = 201;
constexpr UINT kPageTwo = 202;
constexpr int kValue = 1001;

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Page one holds a number in 1..99; leaving it with anything else is refused.
class NumberPage : public fw::CPropertyPage {
 public:
  NumberPage() : CPropertyPage(kPageOne) {}
  int number = 5;
  int activations = 0, applies = 0, resets = 0;
  bool allowCancel = true;

 protected:
  void doDataExchange(fw::DataExchange& dx) override { dx.integer(kValue, number, 1, 99); }
  bool onSetActive() override {
    ++activations;
    return true;
  }
  bool onApply() override {
    ++applies;
    return true;
  }
  void onReset() override { ++resets; }
  bool onQueryCancel() override { return allowCancel; }
  void onDataRefused(int) override {}  // no beep in tests
};

class FlagPage : public fw::CPropertyPage {
 public:
  FlagPage() : CPropertyPage(kPageTwo) {}
  bool flag = false;
  int applies = 0;
  bool refuseApply = false;
  LRESULT nextAnswer = 0;
  int finishes = 0;

 protected:
  void doDataExchange(fw::DataExchange& dx) override { dx.check(kValue, flag); }
  bool onApply() override {
    ++applies;
    return !refuseApply && updateData(true);
  }
  LRESULT onWizardNext() override { return nextAnswer; }
  bool onWizardFinish() override {
    ++finishes;
    return updateData(true);
  }
};

class Sheet : public fw::CPropertySheet {
 public:
  using CPropertySheet::CPropertySheet;
  int initialized = 0;

 protected:
  void onInitialized() override { ++initialized; }
};

TEST(Sheets, ModelessSheetBindsPagesAndSwitchesBetweenThem) {
  NumberPage one;
  FlagPage two;
  Sheet sheet(L"Settings");
  sheet.addPage(&one);
  sheet.addPage(&two);
  ASSERT_TRUE(sheet.create(nullptr));
  pump();
  EXPECT_EQ(sheet.initialized, 1);
  EXPECT_NE(sheet.hwnd(), nullptr);
  ASSERT_TRUE(one.initialized());
  EXPECT_FALSE(two.initialized()) << "pages are created when first shown";
  EXPECT_EQ(one.activations, 1);

  // Data went into the controls when the page was created.
  wchar_t text[16];
  GetDlgItemTextW(one.hwnd(), kValue, text, 16);
  EXPECT_STREQ(text, L"5");

  SetDlgItemTextW(one.hwnd(), kValue, L"42");
  ASSERT_TRUE(sheet.setActiveIndex(1));
  pump();
  EXPECT_EQ(sheet.activeIndex(), 1);
  EXPECT_TRUE(two.initialized());
  EXPECT_EQ(one.number, 42) << "leaving a page saves its data";
  sheet.destroy();
}

TEST(Sheets, LeavingAPageWithRefusedDataIsBlocked) {
  NumberPage one;
  FlagPage two;
  Sheet sheet;
  sheet.addPage(&one);
  sheet.addPage(&two);
  ASSERT_TRUE(sheet.create(nullptr));
  pump();
  SetDlgItemTextW(one.hwnd(), kValue, L"500");
  sheet.setActiveIndex(1);
  pump();
  EXPECT_EQ(sheet.activeIndex(), 0) << "an out-of-range value must keep the page";
  EXPECT_EQ(one.number, 5) << "a refused value must not be stored";
  sheet.destroy();
}

TEST(Sheets, OkAppliesEveryCreatedPageAndFinishesTheSheet) {
  NumberPage one;
  FlagPage two;
  Sheet sheet;
  sheet.addPage(&one);
  sheet.addPage(&two);
  ASSERT_TRUE(sheet.create(nullptr));
  pump();
  sheet.setActiveIndex(1);
  pump();
  CheckDlgButton(two.hwnd(), kValue, BST_CHECKED);
  sheet.pressButton(PSBTN_OK);
  pump();
  EXPECT_EQ(one.applies, 1);
  EXPECT_EQ(two.applies, 1);
  EXPECT_TRUE(two.flag);
  EXPECT_TRUE(sheet.finished());
  sheet.destroy();
}

TEST(Sheets, RefusedApplyKeepsTheSheetOpen) {
  NumberPage one;
  FlagPage two;
  two.refuseApply = true;
  Sheet sheet;
  sheet.addPage(&one);
  sheet.addPage(&two);
  sheet.setStartPage(1);
  ASSERT_TRUE(sheet.create(nullptr));
  pump();
  sheet.pressButton(PSBTN_OK);
  pump();
  EXPECT_EQ(two.applies, 1);
  EXPECT_FALSE(sheet.finished());
  sheet.destroy();
}

TEST(Sheets, CancelResetsPagesUnlessAPageObjects) {
  NumberPage one;
  one.allowCancel = false;
  Sheet sheet;
  sheet.addPage(&one);
  ASSERT_TRUE(sheet.create(nullptr));
  pump();
  sheet.pressButton(PSBTN_CANCEL);
  pump();
  EXPECT_FALSE(sheet.finished()) << "the page refused to cancel";
  one.allowCancel = true;
  sheet.pressButton(PSBTN_CANCEL);
  pump();
  EXPECT_TRUE(sheet.finished());
  EXPECT_EQ(one.resets, 1);
  EXPECT_EQ(one.applies, 0);
  sheet.destroy();
}

TEST(Sheets, WizardNextCanStayOrMoveOn) {
  FlagPage first;
  NumberPage second;
  Sheet sheet;
  sheet.setWizardMode();
  sheet.addPage(&first);
  sheet.addPage(&second);
  ASSERT_TRUE(sheet.create(nullptr));
  pump();
  first.nextAnswer = -1;
  sheet.pressButton(PSBTN_NEXT);
  pump();
  EXPECT_EQ(sheet.activeIndex(), 0) << "Next answered -1: stay";
  first.nextAnswer = 0;
  sheet.pressButton(PSBTN_NEXT);
  pump();
  EXPECT_EQ(sheet.activeIndex(), 1);
  sheet.destroy();
}

// A modal sheet: a timer presses OK once the loop runs.
TEST(Sheets, ModalSheetReturnsAfterOk) {
  NumberPage one;
  Sheet sheet(L"Modal");
  sheet.addPage(&one);
  static Sheet* running = nullptr;
  running = &sheet;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (running && running->hwnd()) {
      KillTimer(nullptr, id);
      running->pressButton(PSBTN_OK);
    }
  });
  INT_PTR result = sheet.doModal(nullptr);
  KillTimer(nullptr, timer);
  running = nullptr;
  EXPECT_GT(result, 0);
  EXPECT_EQ(one.applies, 1);
  EXPECT_EQ(sheet.initialized, 1);
}

}  // namespace
