#pragma once
// Answers the dialogs this thread opens while the object lives, as a
// person would: when a dialog becomes active it records its caption and
// posts the chosen command to it. Windows only.
#include <windows.h>

#include <string>
#include <vector>

class DialogAnswerer {
public:
  explicit DialogAnswerer(int command);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  const std::vector<std::string>& Captions() const { return captions_; }

private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  HHOOK hook_;
  int command_;
  std::vector<std::string> captions_;
};
