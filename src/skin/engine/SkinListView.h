#pragma once
// List views: scroll panels like every scrolling control, and the column
// header of the report style painted from the skin in its own window.
#include <windows.h>

#include "skin/engine/SkinScrollBars.h"

class TSkinListView : public TSkinScrollWinControl {
public:
  using TSkinScrollWinControl::TSkinScrollWinControl;
  ~TSkinListView() override;
  void Init() override;
  void Apply() override;
  void Release() override;
  void Paint() override;
  // The header window taken over, or none (no report style shown yet).
  HWND Header() const { return header_; }
  // The header composed from the skin and put on its window.
  void PaintHeader();

private:
  // Takes over the header once the list view has one.
  void HookHeader();
  void UnhookHeader();
  static LRESULT CALLBACK HeaderProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
  HWND header_ = nullptr;
};
