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

namespace {

constexpr DWORD kPollMs = 50;

HWND WaitForShownWindow(const wchar_t* pszTitle, DWORD dwTimeoutMs) {
  for (DWORD dwWaited = 0; dwWaited <= dwTimeoutMs; dwWaited += kPollMs) {
    HWND hWnd = FindWindowW(nullptr, pszTitle);
    if (hWnd != nullptr && IsWindowVisible(hWnd))
      return hWnd;
    Sleep(kPollMs);
  }
  return nullptr;
}

bool WaitForWindowToGo(HWND hWnd, DWORD dwTimeoutMs) {
  for (DWORD dwWaited = 0; dwWaited <= dwTimeoutMs; dwWaited += kPollMs) {
    if (!IsWindow(hWnd))
      return true;
    Sleep(kPollMs);
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool bLeaveOpen = argc > 1 && std::wcscmp(argv[1], L"--leave-open") == 0;
  argc -= bLeaveOpen;
  argv += bLeaveOpen;
  if (argc < 2 || argc > 3) {
    std::fputs("usage: wait_window [--leave-open] TITLE [SECONDS]\n", stderr);
    return 2;
  }
  const DWORD dwSeconds = argc == 3 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 10;
  const DWORD dwTimeoutMs = 1000 * dwSeconds;
  HWND hWnd = WaitForShownWindow(argv[1], dwTimeoutMs);
  if (hWnd == nullptr) {
    std::fprintf(stderr, "wait_window: no window \"%ls\" within %lu s\n", argv[1], dwSeconds);
    return 1;
  }
  if (bLeaveOpen)
    return 0;
  PostMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (!WaitForWindowToGo(hWnd, dwTimeoutMs)) {
    std::fprintf(stderr, "wait_window: \"%ls\" still open after its close box\n", argv[1]);
    return 2;
  }
  return 0;
}
