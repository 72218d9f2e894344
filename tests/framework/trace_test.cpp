// Failure traces as a debug build writes them: this file is compiled without
// NDEBUG whatever the build type, and reads the debugger output the way a
// debugger does, from the exception OutputDebugString raises.
#undef NDEBUG
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/trace.h"

namespace {

std::vector<std::string>* g_captured = nullptr;

LONG CALLBACK captureDebugOutput(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (g_captured && record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    if (text && length > 0) g_captured->emplace_back(text, length - 1);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

class DebugOutput : public testing::Test {
 protected:
  void SetUp() override {
    g_captured = &lines;
    handler = AddVectoredExceptionHandler(1, captureDebugOutput);
    ASSERT_NE(handler, nullptr);
  }
  void TearDown() override {
    RemoveVectoredExceptionHandler(handler);
    g_captured = nullptr;
  }
  std::vector<std::string> lines;
  void* handler = nullptr;
};

TEST_F(DebugOutput, AFailedCallIsTracedWithItsLastErrorWhichStaysSet) {
  ASSERT_EQ(GetFileAttributesW(L"C:\\no such folder\\no such file"), INVALID_FILE_ATTRIBUTES);
  const DWORD error = GetLastError();
  ASSERT_NE(error, 0u);
  const int line = __LINE__ + 1;
  FW_TRACE_FAILURE("GetFileAttributesW");
  EXPECT_EQ(GetLastError(), error) << "the trace changed the error the caller reads next";
  ASSERT_EQ(lines.size(), 1u);
  char hex[16];
  wsprintfA(hex, "%08lX", error);
  EXPECT_EQ(lines[0], "GetFileAttributesW failed: error " + std::to_string(error) + " (0x" + hex +
                          ") at framework/trace_test.cpp:" + std::to_string(line) + "\n");
}

TEST_F(DebugOutput, AReturnedCodeIsTracedInPlaceOfTheLastError) {
  SetLastError(ERROR_ACCESS_DENIED);
  const int line = __LINE__ + 1;
  FW_TRACE_FAILURE_CODE("CoInitializeEx", RPC_E_CHANGED_MODE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "CoInitializeEx failed: error 2147549446 (0x80010106) at framework/trace_test.cpp:" +
                          std::to_string(line) + "\n");
}

}  // namespace
