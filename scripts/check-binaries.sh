#!/usr/bin/env bash
# Checks the shipped binaries from outside: PE files for x86-64, the launcher
# imports the hook library by name, the hook library has its shared section
# and exactly its exports, the language libraries hold resources only,
# nothing needs a DLL beyond the system's and our own, no debug sections are
# loaded with the programs, and the launcher loads the common dialogs and OLE
# automation (and what they pull in) only when a command needs them.
# The 32-bit hook library and its companion (bin/x86) get the same checks.
set -u
BIN=${1:?bin folder}
OBJDUMP=${OBJDUMP:-x86_64-w64-mingw32-objdump}
fail=0
check() { if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi; }

for f in vorbin2k.exe Vorber2k.dll VorbinBR.exe Vorbr2ke.dll Vorbr2kj.dll; do
  check "$f is a PE file for x86-64" "$OBJDUMP -f '$BIN/$f' 2>/dev/null | grep -q 'file format pei-x86-64'"
done

imports() { $OBJDUMP -p "$BIN/$1" | sed -n 's/^\s*DLL Name: //p'; }
check "vorbin2k.exe imports Vorber2k.dll" "imports vorbin2k.exe | grep -qx 'Vorber2k.dll'"
check "Vorber2k.dll has a shared section share_da" \
  "$OBJDUMP -h '$BIN/Vorber2k.dll' | grep -A1 ' share_da ' | grep -q SHARED"
# The hook library is mapped into every program of the desktop: it exports
# its list and nothing else (the test entries live in Vorber2k_test.dll only).
hook_exports=(SetHook FreeHook ReMouseHook SetVorbMode SetDirectXFlag SetCtrlRect SetAnimate SetTaskMode
              GetTaskInfo GetNewPoint GetNewPos GetLastMouseDownHwnd CancelForeFlag CancelDeleteMenu
              MouseEventHookProc CBTHookProc ShellHookProc SendMessageHookProc GetTaskInfoHookProc)
named_exports() { $OBJDUMP -p "$BIN/$1" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p'; }
address_entries() { $OBJDUMP -p "$BIN/$1" | sed -n '/^Export Address Table/,/^$/p' | grep -c '^\s*\['; }
wanted=$(printf '%s\n' "${hook_exports[@]}" | sort)
actual=$(named_exports Vorber2k.dll | sort)
check "Vorber2k.dll exports by name exactly its ${#hook_exports[@]} functions" '[ "$actual" = "$wanted" ]'
[ "$actual" = "$wanted" ] || diff <(echo "$wanted") <(echo "$actual") | sed -n 's/^[<>]/     &/p'
check "Vorber2k.dll exports nothing by ordinal alone" \
  "[ \"\$(address_entries Vorber2k.dll)\" = ${#hook_exports[@]} ]"
for f in Vorbr2ke.dll Vorbr2kj.dll; do
  check "$f imports nothing (resources only)" "[ -z \"\$(imports $f)\" ]"
  check "$f has resources" "$OBJDUMP -h '$BIN/$f' | grep -q ' .rsrc '"
done
# System DLLs only, besides our own hook library: no runtime DLLs of the compiler.
for f in vorbin2k.exe Vorber2k.dll VorbinBR.exe; do
  check "$f needs no compiler runtime DLL" \
    "! imports $f | grep -Eiq '^(libstdc\+\+|libgcc|libwinpthread)'"
done
for f in vorbin2k.exe Vorber2k.dll VorbinBR.exe; do
  check "$f carries no debug sections" "! $OBJDUMP -h '$BIN/$f' | grep -q ' \.debug_'"
  check "$f has its debug information beside it" "[ -s '$BIN/$f.debug' ]"
done
for d in comdlg32.dll oleaut32.dll comctl32.dll shell32.dll shlwapi.dll; do
  check "vorbin2k.exe loads $d on first use" "! imports vorbin2k.exe | grep -qix '$d'"
done
# The 32-bit hook library and its companion, in their own folder (the
# library has the same name as the 64-bit one): the same checks for 32-bit x86.
for f in x86/Vorber2k.dll x86/VorbHook32.exe; do
  check "$f is a PE file for 32-bit x86" "$OBJDUMP -f '$BIN/$f' 2>/dev/null | grep -q 'file format pei-i386'"
  check "$f needs no compiler runtime DLL" "! imports $f | grep -Eiq '^(libstdc\+\+|libgcc|libwinpthread)'"
  check "$f carries no debug sections" "! $OBJDUMP -h '$BIN/$f' | grep -q ' \.debug_'"
  check "$f has its debug information beside it" "[ -s '$BIN/$f.debug' ]"
done
check "x86/Vorber2k.dll has a shared section share_da" \
  "$OBJDUMP -h '$BIN/x86/Vorber2k.dll' | grep -A1 ' share_da ' | grep -q SHARED"
actual32=$(named_exports x86/Vorber2k.dll | sort)
check "x86/Vorber2k.dll exports by name exactly the same ${#hook_exports[@]} functions (undecorated)" \
  '[ "$actual32" = "$wanted" ]'
[ "$actual32" = "$wanted" ] || diff <(echo "$wanted") <(echo "$actual32") | sed -n 's/^[<>]/     &/p'
check "x86/Vorber2k.dll exports nothing by ordinal alone" \
  "[ \"\$(address_entries x86/Vorber2k.dll)\" = ${#hook_exports[@]} ]"
exit $fail
