// The built files read back as Windows reads them: each of the five carries a
// version resource with the build's version and its own name, both programs a
// manifest that the loader accepts and that brings in common controls 6, and
// the launcher's icon has every size the shell asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "tests/support/e2e.h"
#include "vb_version.h"

namespace {

struct Shipped {
  const wchar_t* file;
  DWORD type;
};
constexpr Shipped kShipped[] = {{L"vorbin2k.exe", VFT_APP},
                                {L"VorbinBR.exe", VFT_APP},
                                {L"Vorber2k.dll", VFT_DLL},
                                {L"Vorbr2ke.dll", VFT_DLL},
                                {L"Vorbr2kj.dll", VFT_DLL}};

std::wstring versionString(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &size) ||
      size < sizeof(Translation))
    return L"(no translation)";
  wchar_t path[80];
  swprintf(path, 80, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language, translations->codePage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size) || !value) return L"(none)";
  return value;
}

TEST(Release, EveryFileCarriesTheBuildsVersionAndItsOwnName) {
  for (const Shipped& shipped : kShipped) {
    SCOPED_TRACE(testing::Message() << "file " << std::string(shipped.file, shipped.file + wcslen(shipped.file)));
    const std::wstring path = e2e::binPath(shipped.file);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(VB_VERSION_MINOR, VB_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, VB_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, shipped.type);
    EXPECT_EQ(versionString(block, L"OriginalFilename"), shipped.file);
    EXPECT_EQ(versionString(block, L"FileVersion"), L"" VB_VERSION_TEXT);
    EXPECT_EQ(versionString(block, L"ProductName"), L"Vorb in");
    EXPECT_GT(versionString(block, L"FileDescription").size(), 8u);
  }
}

// The manifest as text, from the program's resources.
std::string manifestOf(const wchar_t* file) {
  HMODULE module = LoadLibraryExW(e2e::binPath(file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::string text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    if (bytes) text.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

TEST(Release, BothProgramsAskForCommonControlsSixAndRunAsTheUser) {
  for (const wchar_t* file : {L"vorbin2k.exe", L"VorbinBR.exe"}) {
    SCOPED_TRACE(testing::Message() << std::string(file, file + wcslen(file)));
    const std::string manifest = manifestOf(file);
    ASSERT_FALSE(manifest.empty()) << "no manifest";
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10";
    EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos) << "Windows 7";
    // Sharp on every monitor: per-monitor v2, falling back to per-monitor and
    // then to system awareness on systems that know only the older entry.
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);

    // The loader takes it: in its activation context comctl32 is version 6.
    const std::wstring path = e2e::binPath(file);
    ACTCTXW context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE actCtx = CreateActCtxW(&context);
    ASSERT_NE(actCtx, INVALID_HANDLE_VALUE) << "the loader refused the manifest, error " << GetLastError();
    // The loader reads both DPI entries from their own namespaces.
    struct Setting {
      const wchar_t *space, *name, *expected;
    };
    for (const Setting& setting :
         {Setting{L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
          Setting{L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                  L"PerMonitorV2, PerMonitor"}}) {
      const wchar_t* name = setting.name;
      wchar_t value[64] = L"";
      SIZE_T written = 0;
      EXPECT_TRUE(QueryActCtxSettingsW(0, actCtx, setting.space, name, value, 64, &written))
          << "no " << std::string(name, name + wcslen(name)) << ", error " << GetLastError();
      EXPECT_STREQ(value, setting.expected);
    }
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(actCtx, &cookie));
    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    wchar_t loaded[MAX_PATH] = L"";
    GetModuleFileNameW(comctl, loaded, MAX_PATH);
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(actCtx);
    std::wstring lowered = loaded;
    for (wchar_t& c : lowered) c = towlower(c);
    EXPECT_NE(lowered.find(L"common-controls_6595b64144ccf1df_6."), std::wstring::npos)
        << "comctl32 loaded from " << std::string(lowered.begin(), lowered.end());
    if (comctl) FreeLibrary(comctl);
  }
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(Release, TheLaunchersIconHasEverySizeTheShellAsksFor) {
  HMODULE module = LoadLibraryExW(e2e::binPath(L"vorbin2k.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  // The first icon group is the one the shell shows for the program.
  WORD first = 0;
  EnumResourceNamesW(
      module, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
        if (!IS_INTRESOURCE(name)) return TRUE;
        WORD& lowest = *reinterpret_cast<WORD*>(param);
        const WORD id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        if (lowest == 0 || id < lowest) lowest = id;
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&first));
  EXPECT_EQ(first, 101);
  std::set<int> sizes;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(first), RT_GROUP_ICON)) {
    const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const WORD count = reinterpret_cast<const WORD*>(group)[2];
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(group + 6);
    for (WORD i = 0; i < count; ++i)
      if (entries[i].bitCount == 32) sizes.insert(entries[i].width ? entries[i].width : 256);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
  // The large image loads as a real 256-pixel icon.
  HICON big = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(first), IMAGE_ICON, 256, 256, 0));
  ASSERT_NE(big, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(big, &info));
  BITMAP bits{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bits), &bits);
  EXPECT_EQ(bits.bmWidth, 256);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  DestroyIcon(big);
  FreeLibrary(module);
}

}  // namespace
