#include "framework/win32/Spin.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace {
// The up-down's own range: wide, with the position in the middle, so both
// arrows always report a step and the value is ours alone.
constexpr int kUpDownRange = 100;
} // namespace

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
  text_ = "0";
}

void TSpinEdit::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN; // the edit's text never paints over the arrows
}

void TSpinEdit::HandleCreated() {
  TCustomEdit::HandleCreated();
  upDown_ = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS, 0, 0, 0, 0, Handle(),
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(upDown_, UDM_SETRANGE32, 0, kUpDownRange);
  SendMessageA(upDown_, UDM_SETPOS32, 0, kUpDownRange / 2);
  PlaceUpDown();
}

void TSpinEdit::PlaceUpDown() {
  if (!upDown_) return;
  RECT client;
  GetClientRect(Handle(), &client);
  const int width = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), client.right / 2);
  SetWindowPos(upDown_, nullptr, client.right - width, 0, width, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  // The text stops short of the arrows.
  SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width + 2));
}

int TSpinEdit::CheckValue(int value) const {
  if (maxValue_ != minValue_) return std::clamp(value, minValue_, maxValue_);
  return value;
}

int TSpinEdit::Value() const {
  const std::string& text = text_;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || end == text.c_str() || *end != '\0') return CheckValue(minValue_);
  return CheckValue(static_cast<int>(std::clamp<long>(parsed, INT_MIN, INT_MAX)));
}

void TSpinEdit::SetValue(int value) {
  const std::string text = std::to_string(CheckValue(value));
  if (text != text_) SetText(text); // the same number is no change
}

void TSpinEdit::SetMinValue(int value) {
  minValue_ = value;
  SetValue(Value());
}

void TSpinEdit::SetMaxValue(int value) {
  maxValue_ = value;
  SetValue(Value());
}

void TSpinEdit::Step(int steps) {
  if (ReadOnly) {
    MessageBeep(MB_OK);
    return;
  }
  const long long next = static_cast<long long>(Value()) + static_cast<long long>(steps) * Increment;
  SetValue(static_cast<int>(std::clamp<long long>(next, INT_MIN, INT_MAX)));
  SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TSpinEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
  case WM_KEYDOWN:
    if (m.WParam == VK_UP || m.WParam == VK_DOWN) {
      Step(m.WParam == VK_UP ? 1 : -1);
      return;
    }
    break;
  case WM_CHAR: {
    // Digits, a minus sign in front, and the editing keys.
    const char c = static_cast<char>(m.WParam);
    if (static_cast<unsigned char>(c) >= 32 && !std::isdigit(static_cast<unsigned char>(c)) && c != '-') {
      MessageBeep(MB_OK);
      return;
    }
    break;
  }
  case WM_NOTIFY: {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->hwndFrom == upDown_ && header->code == UDN_DELTAPOS) {
      Step(reinterpret_cast<NMUPDOWN*>(m.LParam)->iDelta);
      if (GetFocus() != Handle()) SetFocus();
      m.Result = 1; // the up-down keeps its middle position
      return;
    }
    break;
  }
  case WM_VSCROLL:
    if (reinterpret_cast<HWND>(m.LParam) == upDown_) return; // told through UDN_DELTAPOS already
    break;
  case WM_SIZE:
    TCustomEdit::WndProc(m);
    PlaceUpDown();
    return;
  case WM_KILLFOCUS:
    TCustomEdit::WndProc(m);
    // Leaving the edit shows the value it stands for.
    if (HandleAllocated() && std::to_string(Value()) != text_) SetValue(Value());
    return;
  case WM_NCDESTROY:
    upDown_ = nullptr;
    break;
  default:
    break;
  }
  TCustomEdit::WndProc(m);
}
