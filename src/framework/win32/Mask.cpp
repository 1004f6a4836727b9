#include "framework/win32/Mask.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/win32/Clipboard.h"

// --- TEditMask ----------------------------------------------------------------------

TEditMask::TEditMask(const std::string& mask) {
  // The mask itself ends at the first ';' that is not a literal.
  std::size_t end = 0;
  int letterCase = 0;
  for (; end < mask.size(); ++end) {
    const char c = mask[end];
    if (c == ';') break;
    if (c == '\\' && end + 1 < mask.size()) {
      slots_.push_back({0, mask[++end], false, 0});
      continue;
    }
    if (c == '<' && end + 1 < mask.size() && mask[end + 1] == '>') {
      letterCase = 0;
      ++end;
      continue;
    }
    if (c == '>' || c == '<') {
      letterCase = c == '>' ? 1 : -1;
      continue;
    }
    switch (c) {
    case '0': case 'L': case 'A': case 'C':
      slots_.push_back({c, 0, true, letterCase});
      break;
    case '9': case '#': case 'l': case 'a': case 'c':
      slots_.push_back({c, 0, false, letterCase});
      break;
    default:
      slots_.push_back({0, c, false, 0});
      break;
    }
  }
  if (end < mask.size()) { // ";1" or ";0", then ";" and the blank
    const std::size_t save = end + 1;
    if (save < mask.size() && mask[save] != ';') saveLiterals_ = mask[save] != '0';
    const std::size_t blank = mask.find(';', save);
    if (blank != std::string::npos && blank + 1 < mask.size()) blank_ = mask[blank + 1];
  }
}

char TEditMask::Accept(std::size_t position, char c) const {
  if (position >= slots_.size()) return 0;
  const TSlot& slot = slots_[position];
  const auto u = static_cast<unsigned char>(c);
  bool fits = false;
  switch (slot.kind) {
  case '0': case '9': fits = std::isdigit(u) != 0; break;
  case '#': fits = std::isdigit(u) || c == '+' || c == '-'; break;
  case 'L': case 'l': fits = std::isalpha(u) != 0; break;
  case 'A': case 'a': fits = std::isalnum(u) != 0; break;
  case 'C': case 'c': fits = u >= 32; break;
  default: break; // a literal takes nothing
  }
  if (!fits) return 0;
  if (slot.letterCase > 0) return static_cast<char>(std::toupper(u));
  if (slot.letterCase < 0) return static_cast<char>(std::tolower(u));
  return c;
}

std::string TEditMask::EmptyText() const {
  std::string text;
  for (const TSlot& slot : slots_) text += slot.kind ? blank_ : slot.literal;
  return text;
}

std::size_t TEditMask::NextInput(std::size_t from) const {
  while (from < slots_.size() && slots_[from].kind == 0) ++from;
  return std::min(from, slots_.size());
}

std::size_t TEditMask::PreviousInput(std::size_t before) const {
  while (before > 0) {
    --before;
    if (slots_[before].kind != 0) return before;
  }
  return std::string::npos;
}

bool TEditMask::IsComplete(const std::string& editText) const {
  for (std::size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i].required && (i >= editText.size() || editText[i] == blank_)) return false;
  return true;
}

std::string TEditMask::Value(const std::string& editText) const {
  std::string value;
  for (std::size_t i = 0; i < slots_.size() && i < editText.size(); ++i) {
    if (slots_[i].kind == 0) {
      if (saveLiterals_) value += editText[i];
    } else if (editText[i] != blank_) {
      value += editText[i];
    } else if (saveLiterals_) {
      value += ' ';
    }
  }
  if (saveLiterals_) value.erase(value.find_last_not_of(' ') + 1);
  return value;
}

// --- TCustomMaskEdit ----------------------------------------------------------------

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
  const std::string value = IsMasked() ? Value() : text_;
  editMask_ = mask;
  mask_ = TEditMask(mask);
  SetMaxLength(static_cast<int>(mask_.Length()));
  SetText(value);
}

std::string TCustomMaskEdit::Value() const { return IsMasked() ? mask_.Value(text_) : text_; }

bool TCustomMaskEdit::IsComplete() const { return !IsMasked() || mask_.IsComplete(text_); }

void TCustomMaskEdit::HandleCreated() {
  TCustomEdit::HandleCreated();
  if (IsMasked()) SendMessageA(Handle(), EM_LIMITTEXT, mask_.Length(), 0);
}

void TCustomMaskEdit::SetText(const std::string& text) {
  if (!IsMasked()) {
    TCustomEdit::SetText(text);
    return;
  }
  // Every character typed from the start: literals given where they stand
  // are passed over, characters that do not fit are left out.
  std::string shown = mask_.EmptyText();
  std::size_t at = 0;
  for (const char c : text) {
    if (at >= mask_.Length()) break;
    if (mask_.IsLiteral(at) && shown[at] == c) {
      ++at;
      continue;
    }
    at = mask_.NextInput(at);
    if (at >= mask_.Length()) break;
    if (const char stored = mask_.Accept(at, c)) shown[at++] = stored;
  }
  TCustomEdit::SetText(shown);
  text_ = shown;
}

std::pair<std::size_t, std::size_t> TCustomMaskEdit::Selection() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

void TCustomMaskEdit::Show(const std::string& text, std::size_t caret) {
  if (text != WindowText(Handle())) SetWindowTextA(Handle(), text.c_str()); // EN_CHANGE keeps Text
  SendMessageA(Handle(), EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

void TCustomMaskEdit::ClearRange(std::size_t from, std::size_t to) {
  std::string shown = WindowText(Handle());
  if (shown.size() != mask_.Length()) shown = mask_.EmptyText();
  for (std::size_t i = from; i < to && i < shown.size(); ++i)
    if (!mask_.IsLiteral(i)) shown[i] = mask_.Blank();
  Show(shown, from);
}

bool TCustomMaskEdit::TypeChar(char c) {
  auto [start, end] = Selection();
  std::string shown = WindowText(Handle());
  if (shown.size() != mask_.Length()) shown = mask_.EmptyText();
  for (std::size_t i = start; i < end && i < shown.size(); ++i)
    if (!mask_.IsLiteral(i)) shown[i] = mask_.Blank();
  // The literal standing at the caret, typed: the caret passes it.
  if (start < shown.size() && mask_.IsLiteral(start) && shown[start] == c) {
    Show(shown, start + 1);
    return true;
  }
  const std::size_t at = mask_.NextInput(start);
  const char stored = mask_.Accept(at, c);
  if (!stored) return false;
  shown[at] = stored;
  Show(shown, mask_.NextInput(at + 1));
  return true;
}

void TCustomMaskEdit::WndProc(TMessage& m) {
  if (!IsMasked() || ReadOnly) {
    TCustomEdit::WndProc(m);
    return;
  }
  switch (m.Msg) {
  case WM_CHAR: {
    const char c = static_cast<char>(m.WParam);
    if (c == '\b') {
      auto [start, end] = Selection();
      if (end > start) {
        ClearRange(start, end);
      } else if (const std::size_t before = mask_.PreviousInput(start); before != std::string::npos) {
        ClearRange(before, before + 1);
      }
      return;
    }
    if (static_cast<unsigned char>(c) < 32) break; // Ctrl+C, Ctrl+V and the like
    if (!TypeChar(c)) MessageBeep(MB_OK);
    return;
  }
  case WM_KEYDOWN:
    if (m.WParam == VK_DELETE) {
      auto [start, end] = Selection();
      const std::size_t to = end > start ? end : mask_.NextInput(start) + 1;
      ClearRange(start, to);
      return;
    }
    break;
  case WM_CLEAR:
  case WM_CUT: {
    if (m.Msg == WM_CUT) SendMessageA(Handle(), WM_COPY, 0, 0);
    auto [start, end] = Selection();
    ClearRange(start, end);
    return;
  }
  case WM_PASTE: {
    bool refused = false;
    for (const char c : ClipboardText(Handle()))
      if (!TypeChar(c)) refused = true;
    if (refused) MessageBeep(MB_OK);
    return;
  }
  default:
    break;
  }
  TCustomEdit::WndProc(m);
}
