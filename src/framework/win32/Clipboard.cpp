#include "framework/win32/Clipboard.h"

#include <cstring>

#include "platform/Errors.h"

namespace {

// Another program may hold the clipboard for a moment.
bool OpenClipboardSoon(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

class OpenedClipboard {
public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboardSoon(owner)) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool Open() const { return open_; }

private:
  bool open_;
};

HGLOBAL GlobalCopy(const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    return memory;
  }
  GlobalFree(memory);
  return nullptr;
}

// Hands memory to the clipboard, which owns it from then on.
bool Give(UINT format, HGLOBAL memory) {
  if (!memory) return false;
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

std::string TextOfOpenClipboard() {
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return {};
  const auto* text = static_cast<const char*>(GlobalLock(data));
  if (!text) return {};
  std::string result(text, strnlen(text, GlobalSize(data)));
  GlobalUnlock(data);
  return result;
}

} // namespace

TClipboardMark SetPrivateClipboardText(HWND owner, const std::string& text) {
  {
    OpenedClipboard clipboard(owner);
    if (!clipboard.Open()) throw EPlimetError("The clipboard is in use by another program. Try again.");
    EmptyClipboard();
    const DWORD no = 0;
    // The keep-out formats go first, so no one sees the text without them.
    const bool placed = Give(RegisterClipboardFormatA(kExcludeFromMonitoring), GlobalCopy(&no, sizeof no)) &&
                        Give(RegisterClipboardFormatA(kCanIncludeInHistory), GlobalCopy(&no, sizeof no)) &&
                        Give(RegisterClipboardFormatA(kCanUploadToCloud), GlobalCopy(&no, sizeof no)) &&
                        Give(CF_TEXT, GlobalCopy(text.c_str(), text.size() + 1));
    if (!placed) {
      EmptyClipboard();
      throw EPlimetError("The text could not be put on the clipboard.");
    }
  }
  return {GetClipboardSequenceNumber(), text};
}

std::string ClipboardText(HWND owner) {
  OpenedClipboard clipboard(owner);
  return clipboard.Open() ? TextOfOpenClipboard() : std::string();
}

bool ClipboardHasFormat(const char* registeredName) {
  return IsClipboardFormatAvailable(RegisterClipboardFormatA(registeredName)) != FALSE;
}

TClearResult ClearClipboardIfStill(HWND owner, const TClipboardMark& mark) {
  if (mark.text.empty() && mark.sequence == 0) return TClearResult::NotOurs;
  // The change count tells a copy made since, even of the same text.
  if (mark.sequence != 0 && GetClipboardSequenceNumber() != mark.sequence) return TClearResult::NotOurs;
  OpenedClipboard clipboard(owner);
  if (!clipboard.Open()) return TClearResult::Busy;
  if (TextOfOpenClipboard() != mark.text) return TClearResult::NotOurs;
  return EmptyClipboard() ? TClearResult::Cleared : TClearResult::Busy;
}
