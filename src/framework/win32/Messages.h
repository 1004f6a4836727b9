#pragma once
// The framework's own notifications, as private window messages. The skin
// engine listens for them beside the system's.
#include <windows.h>

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_MOUSEENTER = CM_BASE + 1;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 2;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 3;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 4;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 5;
constexpr UINT CM_GOTFOCUS = CM_BASE + 6;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 7;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 8; // a mnemonic: wParam is the character
constexpr UINT CM_RELEASE = CM_BASE + 9;    // a form asked to be freed once its messages are done
constexpr UINT CM_RECREATEWND = CM_BASE + 10;
constexpr UINT CM_FLOAT = CM_BASE + 11;
constexpr UINT CM_EXECUTE = CM_BASE + 12; // a queued command: lParam is the command's id

// A control's own notifications, reflected back to it by its parent.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
