#pragma once
// The clipboard as a password book needs it: text that the system's
// clipboard history, its cloud clipboard and clipboard monitors are asked
// to leave alone, and a way to take it back only while it is still there.
#include <windows.h>

#include <string>

// The formats that ask others to keep their hands off the clipboard's content.
constexpr const char* kExcludeFromMonitoring = "ExcludeClipboardContentFromMonitorProcessing";
constexpr const char* kCanIncludeInHistory = "CanIncludeInClipboardHistory";
constexpr const char* kCanUploadToCloud = "CanUploadToCloudClipboard";

// What Plimet put on the clipboard, to recognise it later.
struct TClipboardMark {
  DWORD sequence = 0; // the clipboard's change count after our change
  std::string text;
};

// Puts the text on the clipboard, owned by the window, with the three
// formats above. Raises EPlimetError when the clipboard stays busy.
TClipboardMark SetPrivateClipboardText(HWND owner, const std::string& text);
// The clipboard's text (CF_TEXT), "" for none.
std::string ClipboardText(HWND owner);
// Whether the clipboard holds a format of that registered name.
bool ClipboardHasFormat(const char* registeredName);
enum class TClearResult {
  Cleared,
  NotOurs, // something was copied since: it is the user's, left alone
  Busy,    // another program holds the clipboard: try again
};

// Empties the clipboard when it still holds exactly what the mark says.
// Something copied since is never touched.
TClearResult ClearClipboardIfStill(HWND owner, const TClipboardMark& mark);
