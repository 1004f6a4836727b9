#pragma once
// Menus: items with captions, shortcuts, images, states and sub-items; the
// form's main menu and popup menus that deliver the chosen item as a
// queued command.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win32/ActnList.h"
#include "framework/win32/Controls.h"

// A key with modifiers, as menus show them.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
std::string ShortCutToText(TShortCut shortCut);

class TMenu;

class TMenuItem : public TComponent, public IActionClient {
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  PLIMET_CLASS_NAME(TMenuItem)

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  TShortCut ShortCut = 0;
  int ImageIndex = -1;
  HBITMAP Bitmap = nullptr; // a glyph, not owned
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);

  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  TMenuItem* Parent() const { return parent_; }
  UINT Command() const { return command_; }
  TMenuItem* Find(UINT command);
  TMenuItem* FindShortCut(TShortCut shortCut);

  TAction* Action() const { return action_; }
  void SetAction(TAction* action);
  void ActionChanged(TAction& action) override;
  void ActionGone() override { action_ = nullptr; }

  // Runs the action, or OnClick.
  void Click();
  TNotifyEvent OnClick;
  // Owner drawing: the item measures and paints itself when these are set.
  std::function<void(TMenuItem* item, HDC dc, int& width, int& height)> OnMeasureItem;
  std::function<void(TMenuItem* item, HDC dc, const RECT& rect, bool selected)> OnDrawItem;

  // Appends the native items of the sub-items to a menu.
  void AppendTo(HMENU menu);
  // The caption the native item shows, with the mnemonic AutoHotkeys gives it.
  std::string NativeCaption() const;
  // The menu the item belongs to, or none while it stands alone.
  TMenu* OwningMenu() const;

private:
  friend class TMenu;
  void Changed();

  std::string caption_;
  bool ownCaption_ = false;
  std::string nativeText_; // what the native item shows, kept alive while it is built
  bool visible_ = true, enabled_ = true, checked_ = false, default_ = false;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  UINT command_;
  TAction* action_ = nullptr;
  TMenu* menu_ = nullptr; // set on the root item of a menu
};

enum class TBiDiMode { bdLeftToRight, bdRightToLeft };

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem* Items() const { return items_; }
  HMENU Handle();
  // Builds the native menu again from the items.
  void Rebuild();

  // Every item, separators included, measured and painted by its handlers.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool ownerDraw);
  // The images the items' ImageIndex names (an image list; not owned).
  TComponentRef<TComponent> Images{this};
  // Items without a mnemonic get one: the first letter of the caption not
  // taken by an item beside it.
  bool AutoHotkeys() const { return autoHotkeys_; }
  void SetAutoHotkeys(bool autoHotkeys);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode mode);
  bool IsRightToLeft() const { return biDiMode_ == TBiDiMode::bdRightToLeft; }

protected:
  void Notification(TComponent* component, TOperation operation) override;
  virtual HMENU CreateNative() = 0;
  virtual void Rebuilding() {} // before the native items of a built menu go
  virtual void Rebuilt() {}
  HMENU handle_ = nullptr;

private:
  TMenuItem* items_;
  bool ownerDraw_ = false;
  bool autoHotkeys_ = false;
  TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
};

class TMainMenu : public TMenu {
public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  ~TMainMenu() override;
  PLIMET_CLASS_NAME(TMainMenu)
  // The window the menu bar is shown on (set by the form).
  HWND Window = nullptr;

protected:
  HMENU CreateNative() override { return CreateMenu(); }
  void Rebuilding() override;
  void Rebuilt() override;
};

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* owner);
  PLIMET_CLASS_NAME(TPopupMenu)
  // Shows the menu at a screen point and returns once it has closed; the
  // chosen item's command runs afterwards, from the message queue.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;
  TComponent* PopupComponent = nullptr;

protected:
  HMENU CreateNative() override { return CreatePopupMenu(); }

private:
  TUtilWindow window_;
};

// Owner-drawn menu items: WM_MEASUREITEM and WM_DRAWITEM for a menu, sent to
// whichever window owns it. True when handled.
bool DispatchMenuOwnerDraw(UINT msg, LPARAM lParam, LRESULT& result);
