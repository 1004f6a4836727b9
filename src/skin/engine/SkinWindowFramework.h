#pragma once
// The frame of one of the program's forms: it takes the form's replaceable
// window procedure, shows the form's menu in a skinned bar, moves the
// controls under the bar, keeps the client size and the minimum size, and
// follows MDI forms and their children.
#include <array>
#include <memory>
#include <vector>

#include "skin/engine/SkinMenuBar.h"
#include "skin/engine/SkinWindow.h"

class TForm;
class TMainMenu;
class TMenuItem;
class TApplicationEvents;

class TSkinWindowFramework : public TSkinWindow {
public:
  TSkinWindowFramework(TComponent* owner, bool fromHook, TSkinEngine& engine);
  ~TSkinWindowFramework() override;
  PLIMET_CLASS_NAME(TSkinWindowFramework)

  TForm* Form = nullptr;
  TMainMenu* FormMenu = nullptr;
  TMainMenu* MDIMenu = nullptr;
  TMainMenu* ShownMenu = nullptr;
  TSkinMenuBar* MenuBar = nullptr;
  TColor SavedColor = 0;
  std::array<TSkinMenuBarControlButton*, 3> MDIButtons{}; // close, restore, minimize
  TApplicationEvents* Events = nullptr;
  bool SkinAllDone = false, InSize = false, ControlsShifted = false, MinWidthSet = false, MinHeightSet = false;
  // The form's components are being freed ahead of its window: the frame
  // changes nothing more.
  bool FormLeaving = false;
  std::vector<TMenuItem*> WindowListItems;

  void ApplySkin() override;
  void CallDefault(TMessage& message) override;
  void SaveOriginal() override;
  void SkinChildren() override;
  void UnskinChildren() override { FreeChildren(); }
  bool CanShapeRegion() override;
  int MenuBarHeight() override;
  HICON IconHandle() override;
  bool HasHelpButton() override;
  bool IsMDIForm() override;
  bool IsMDIChild() override;
  bool IsDialog() override;
  bool HasSystemIcon() override;
  bool HasCloseButton() override;
  bool HasMaximizeButton() override;
  bool HasMinimizeButton() override;
  bool InitBeforeShow() override { return true; }
  HWND Handle() override;
  bool BeforeDefault(TMessage& message) override;
  void AfterDefault(TMessage& message) override;
  void Attach(HWND window) override;
  void Detach() override;

  // The bar shows the menu that belongs there now; rebuilt when it changed or when forced.
  void RefreshMenuBar(bool force);
  void BuildMenuBar(TMainMenu* menu);
  void MenuButtonDraw(TToolBar* bar, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw);
  void RefreshWindowList();

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  void HoldMenu(TMainMenu*& held, TMainMenu* menu);
  void WalkComponents(TComponent* owner);
  void SetMinimumSize(bool set);
  void ShiftControls(int by);
  void PlaceMDIButtons();
  void ShowMDIButtons();
  void HideMDIButtons();
  void MDIButtonClick(int tag);
  void FollowFrameStyle(bool always);
  void HandleAppMessage(MSG& message, bool& handled);
  static LRESULT CALLBACK ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ClientMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void CascadeChildren();
  void TileChildren(bool vertically);

  TWndMethod savedWindowProc_;
  bool hooked_ = false;
  HWND clientWindow_ = nullptr;
  WNDPROC savedClientProc_ = nullptr;
  HWND handle_ = nullptr;
  int shiftedBy_ = 0; // how far the controls were moved down
  WPARAM menuKey_ = 0; // F10 or Alt pressed alone, waiting for its release
};
