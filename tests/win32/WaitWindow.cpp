// Waits for a top-level window with the given title to be shown, then
// closes it as its close box would and waits for it to go:
//
//   wait_window [--leave-open] TITLE [SECONDS]     (10 s when not given)
//
// Exits 0 when the window came (and, unless left open, went), 1 when it did
// not come in time, 2 when it did not go. For tests that start a program as
// the shell does (a Start-menu shortcut) and must see its window.
#include <windows.h>

#include <cstdio>
#include <cwchar>

// Polls until isDone() holds; false when it does not within dwTimeoutMs.
template <typename Done>
bool WaitFor(DWORD dwTimeoutMs, Done isDone) {
  for (const DWORD dwStart = GetTickCount(); !isDone(); Sleep(50))
    if (GetTickCount() - dwStart > dwTimeoutMs)
      return false;
  return true;
}

int wmain(int argc, wchar_t** argv) {
  const bool bLeaveOpen = argc > 1 && std::wcscmp(argv[1], L"--leave-open") == 0;
  argc -= bLeaveOpen;
  argv += bLeaveOpen;
  if (argc < 2 || argc > 3) {
    std::fputs("usage: wait_window [--leave-open] TITLE [SECONDS]\n", stderr);
    return 2;
  }
  const DWORD dwSeconds = argc == 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 10;
  HWND hWnd = nullptr;
  if (!WaitFor(1000 * dwSeconds, [&] {
        hWnd = FindWindowW(nullptr, argv[1]);
        return hWnd != nullptr && IsWindowVisible(hWnd);
      })) {
    std::fprintf(stderr, "wait_window: no window \"%ls\" within %lu s\n", argv[1], dwSeconds);
    return 1;
  }
  if (bLeaveOpen)
    return 0;
  PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (!WaitFor(1000 * dwSeconds, [hWnd] { return !IsWindow(hWnd); })) {
    std::fprintf(stderr, "wait_window: \"%ls\" still open after its close box\n", argv[1]);
    return 2;
  }
  return 0;
}
