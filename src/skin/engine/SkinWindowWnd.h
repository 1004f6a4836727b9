#pragma once
// The frame of a plain system window: a message box, a common dialog, a
// dock host. Its window procedure is subclassed; the window grows around
// the skinned frame and its dialog children take the form colour.
#include <windows.h>

#include "skin/engine/SkinWindow.h"

class TSkinWindowWnd : public TSkinWindow {
public:
  TSkinWindowWnd(TComponent* owner, bool fromHook, TSkinEngine& engine);
  ~TSkinWindowWnd() override;
  PLIMET_CLASS_NAME(TSkinWindowWnd)

  LONG Style = 0;     // at attach time
  LONG SeenStyle = 0; // at the first WM_ERASEBKGND
  bool StyleSeen = false, Grown = false, HasAnimation = false, IsFileDialog = false, IsFolderBrowser = false;
  HWND InnerDialog = nullptr;

  void ApplySkin() override;
  void CallDefault(TMessage& message) override;
  void SaveOriginal() override;
  void SkinChildren() override;
  void UnskinChildren() override { FreeChildren(); }
  HWND Handle() override { return handle_; }
  bool BeforeDefault(TMessage& message) override;
  void AfterDefault(TMessage& message) override;
  void Attach(HWND window) override;
  void Detach() override;

private:
  static LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK InnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void ScanChildren();
  void SubclassInnerDialog(HWND inner);

  HWND handle_ = nullptr;
  SIZE grownBy_{0, 0}; // what skinning added to the window's size
  WNDPROC savedProc_ = nullptr;
  WNDPROC savedInnerProc_ = nullptr;
};
