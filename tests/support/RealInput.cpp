#include "support/RealInput.h"

#include <vector>

#include "framework/win32/Forms.h"

namespace {

INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (key == VK_APPS || key == VK_DELETE || key == VK_INSERT || key == VK_HOME || key == VK_END ||
      (key >= VK_PRIOR && key <= VK_DOWN))
    input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  return input;
}

void Send(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

} // namespace

void RealKey(WORD virtualKey, std::initializer_list<WORD> held) {
  std::vector<INPUT> inputs;
  for (WORD modifier : held) inputs.push_back(KeyInput(modifier, false));
  inputs.push_back(KeyInput(virtualKey, false));
  inputs.push_back(KeyInput(virtualKey, true));
  for (auto it = held.end(); it != held.begin();) inputs.push_back(KeyInput(*--it, true));
  Send(inputs);
}

void RealType(const std::string& text) {
  for (const char c : text) {
    const SHORT scan = VkKeyScanA(c);
    const WORD key = LOBYTE(scan);
    if (HIBYTE(scan) & 1) {
      RealKey(key, {VK_SHIFT});
    } else {
      RealKey(key);
    }
  }
}

void RealMove(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE; // no distance: the move is told where the pointer now is
  Send({input});
}

void RealLeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  Send({input});
}

void RealClick(POINT screen, bool right, int clicks) {
  SetCursorPos(screen.x, screen.y);
  std::vector<INPUT> inputs;
  for (int i = 0; i < clicks; ++i)
    for (const DWORD flag : {right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN,
                             right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP}) {
      INPUT input{};
      input.type = INPUT_MOUSE;
      input.mi.dwFlags = flag;
      inputs.push_back(input);
    }
  Send(inputs);
}

POINT ScreenPoint(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

void PumpFor(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    if (Application) Application->ProcessMessages();
    Sleep(10);
  }
}

bool FindCaptionButton(HWND window, LRESULT hitCode, POINT& screen) {
  RECT r;
  GetWindowRect(window, &r);
  for (int y = r.top; y < r.top + 40; y += 2)
    for (int x = r.right - 1; x > r.left; --x)
      if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hitCode) {
        screen = {x - 3, y + 3};
        return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == hitCode;
      }
  return false;
}
