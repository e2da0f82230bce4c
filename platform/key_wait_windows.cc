#include "platform/key_wait.h"

#include <windows.h>

namespace {

// Keys that change what another key means, and lock keys: pressed on their
// own they do not end the wait.
bool isModifier(WORD key) {
  switch (key) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
      return true;
    default:
      return false;
  }
}

}  // namespace

void waitForKey() {
  // A process started without a console window (by a service, or with
  // CREATE_NO_WINDOW, as publish-webmap.cmd starts the generator) has
  // nobody to press a key.
  if (GetConsoleWindow() == nullptr) return;
  // The console itself, not standard input: a redirected input cannot
  // answer, and without a console there is nobody to ask.
  const HANDLE console =
      CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                  0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return;
  DWORD saved = 0;
  if (!GetConsoleMode(console, &saved)) {
    CloseHandle(console);
    return;
  }
  // No line editing, no echo, and Ctrl-C as a key, not a signal: the stop
  // ends with its own status.
  SetConsoleMode(console, 0);
  for (;;) {
    INPUT_RECORD record{};
    DWORD got = 0;
    if (!ReadConsoleInputW(console, &record, 1, &got)) break;
    if (got == 1 && record.EventType == KEY_EVENT &&
        record.Event.KeyEvent.bKeyDown &&
        !isModifier(record.Event.KeyEvent.wVirtualKeyCode)) {
      break;
    }
  }
  SetConsoleMode(console, saved);
  CloseHandle(console);
}
