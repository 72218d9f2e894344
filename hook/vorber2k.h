// Exports of the hook library Vorber2k.dll, as the launcher imports them.
#pragma once
#include <windows.h>

#ifdef VORBER2K_BUILD
#define VORBER2K_API extern "C" __declspec(dllexport)
#else
#define VORBER2K_API extern "C" __declspec(dllimport)
#endif

// Messages the library posts to the launcher's bar window.
#define WM_HOOK_ACTIVATE 0x0523
#define WM_HOOK_TASKCHANGE 0x0525
#define WM_HOOK_NEWWINDOWACTIVE 0x0526

VORBER2K_API void WINAPI SetHook(HWND launcher, LONG_PTR reserved);
VORBER2K_API void WINAPI FreeHook();
VORBER2K_API HHOOK WINAPI ReMouseHook();
VORBER2K_API void WINAPI SetVorbMode(UINT mode, UINT edges);
VORBER2K_API void WINAPI SetDirectXFlag(BOOL flag);
VORBER2K_API void WINAPI SetCtrlRect(const RECT* rect);
VORBER2K_API void WINAPI SetAnimate(BOOL restore);
VORBER2K_API void WINAPI SetTaskMode(BOOL on);
VORBER2K_API UINT WINAPI GetTaskInfo(HWND window);
VORBER2K_API void WINAPI GetNewPoint(POINT* point);
VORBER2K_API DWORD WINAPI GetNewPos();
VORBER2K_API HWND WINAPI GetLastMouseDownHwnd();
VORBER2K_API void WINAPI CancelForeFlag();
VORBER2K_API BOOL WINAPI CancelDeleteMenu();

VORBER2K_API LRESULT CALLBACK MouseEventHookProc(int code, WPARAM wParam, LPARAM lParam);
VORBER2K_API LRESULT CALLBACK CBTHookProc(int code, WPARAM wParam, LPARAM lParam);
VORBER2K_API LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam);
VORBER2K_API LRESULT CALLBACK SendMessageHookProc(int code, WPARAM wParam, LPARAM lParam);
VORBER2K_API LRESULT CALLBACK GetTaskInfoHookProc(int code, WPARAM wParam, LPARAM lParam);
