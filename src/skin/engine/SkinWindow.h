#pragma once
// The frame of a skinned top-level window: it paints the caption, caption
// buttons, borders and region from the skin, answers the non-client
// messages so that the client area sits inside the skin's frame, and runs
// the caption buttons and the system menu. Two kinds serve the two kinds of
// window: the framework's forms and plain system windows.
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/Component.h"
#include "framework/win32/Controls.h"
#include "skin/SkinBitmap.h"
#include "skin/engine/SkinControl.h"

class TSkinEngine;

class TSkinWindow : public TComponent {
public:
  // Owned by the form it serves, or by none when that form carries the
  // engine (the engine frees it then). Call Create next.
  TSkinWindow(TComponent* owner, bool fromHook, TSkinEngine& engine);
  ~TSkinWindow() override;
  PLIMET_CLASS_NAME(TSkinWindow)

  // Takes the window over: Attach, the children, then skinning as the
  // engine stands.
  void Create(HWND window);

  TSkinEngine& Engine;
  bool CaptionVisible = true;
  bool BorderVisible = true;
  bool Destroying = false;
  TBitmap CaptionBuffer, BottomBuffer;
  std::unique_ptr<TBitmap> CaptionMaskBuffer, BottomMaskBuffer;
  int SavedClientHeight = 0, SavedClientWidth = 0;
  bool FromHook = false;
  std::vector<std::unique_ptr<TSkinControl>> Children; // the control skinners of this window
  bool MaxButtonShown = false, MaxItemEnabled = false, MinButtonShown = false, CloseButtonShown = false;
  int HotButton = -1; // -1 none, 0 system icon, 1 close, 2 maximize/restore, 3 minimize, 4 help
  bool MouseDown = false;
  bool Active = true;
  bool Skinned = false;
  bool Initialised = false;
  bool MDIMaximizedSent = false;
  bool Enabled = true;
  bool CaptionNeedsRegion = false, BottomNeedsRegion = false;
  int NativeTop = 0, NativeBottom = 0, NativeSide = 0;
  int CaptionExtra = 0;

  // --- What each kind of frame answers.
  virtual void ApplySkin() = 0;
  virtual void CallDefault(TMessage& message) = 0;
  virtual void SaveOriginal() {}
  virtual void SkinChildren() = 0;
  virtual void UnskinChildren() = 0;
  virtual bool CanShapeRegion() { return true; }
  virtual int MenuBarHeight() { return 0; }
  virtual HICON IconHandle() { return nullptr; }
  virtual bool HasHelpButton() { return false; }
  virtual bool IsMDIForm() { return false; }
  virtual bool IsMDIChild() { return false; }
  virtual bool IsDialog() { return false; }
  virtual bool HasSystemIcon() { return false; }
  virtual bool HasCloseButton() { return true; }
  virtual bool HasMaximizeButton() { return false; }
  virtual bool HasMinimizeButton() { return false; }
  virtual bool InitBeforeShow() { return false; }
  virtual HWND Handle() = 0;
  virtual bool BeforeDefault(TMessage&) { return true; }
  virtual void AfterDefault(TMessage&) {}
  virtual void Attach(HWND window) = 0;
  virtual void Detach() = 0;

  void SetSkinned(bool on);
  void Initialise();
  void ApplySkinOptions();
  void SetCaptionVisible(bool on);
  void SetBorderVisible(bool on);
  int CaptionHeight() const;
  void PaintFrame();
  void UpdateRegion();
  void DoClose();
  void DoMinimize();
  void DoHelp();
  void DoMaximizeRestore();
  void ShowSystemMenu();
  void ShowSystemMenuAt(POINT screen);
  // The handler in place of the window's own procedure.
  void WindowProc(TMessage& message);

protected:
  // The frame-changed SetWindowPos.
  void FrameChanged();
  // Every skinner applied again and its control repainted (an error of one
  // does not keep the others from it).
  void ReapplyChildren(bool postPaint);
  // Takes a skinner on: its procedure in place, Init, into the list, Apply.
  void AddChild(std::unique_ptr<TSkinControl> skinner);
  // Every skinner given back and freed.
  void FreeChildren();
  // A skinned control that goes on its own takes its skinner with it.
  void Notification(TComponent* component, TOperation operation) override;
  void BeforeDestruction() override;

private:
  // Made at the first paint and kept for the frame's life: the caption is
  // painted at every mouse move over it.
  HFONT CaptionFontHandle();
  gdi::TFontHandle captionFont_;
  gdi::TIconHandle programIcon_;
  int lastRunButton_ = -1; // the caption button whose command the last release ran
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true); // false once the frame is going
  void CalcSize(TMessage& message);
  bool ZoomedMDIChild();
};
