#pragma once
// Common controls: image lists, the tree view over the tree model, the
// status bar.
#include <windows.h>
#include <commctrl.h>

#include <unordered_map>
#include <vector>

#include "model/TreeNodes.h"
#include "framework/win32/Controls.h"

class TImageList : public TComponent, public ITreeImages {
public:
  explicit TImageList(TComponent* owner, int width = 16, int height = 16);
  ~TImageList() override;
  PLIMET_CLASS_NAME(TImageList)
  HIMAGELIST Handle() const { return handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Appends a copy of the icon; returns its index or -1.
  int AddIcon(HICON icon);
  int AddIcon(std::unique_ptr<platform::TIcon> icon) override;
  // Appends a bitmap whose pixels of the mask colour are transparent.
  int AddMasked(HBITMAP bitmap, COLORREF maskColor);
  int Count() const override;
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  void Clear();

private:
  HIMAGELIST handle_;
  int width_, height_;
};

using TTVChangedEvent = std::function<void(TComponent* sender, TTreeNode* node)>;

// A SysTreeView32 that shows a tree model and keeps in step with it.
class TCustomTreeView : public TWinControl, private ITreeNodesObserver {
public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;
  PLIMET_CLASS_NAME(TCustomTreeView)

  TTreeNodes& Items() { return model_.Items; }
  TTreeModel& Model() { return model_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  int Indent() const { return indent_; }
  void SetIndent(int indent);
  bool ReadOnly = true;
  bool HideSelection = false;

  TTreeNode* Selected();
  void SetSelected(TTreeNode* node);
  // Opens the nodes above it and scrolls it into view; the selection stays.
  void MakeVisible(TTreeNode* node);
  // The node at a point of the client area, or none.
  TTreeNode* GetNodeAt(int x, int y);
  // The native item of a node (for tests and skinning).
  HTREEITEM ItemOf(const TTreeNode* node) const;

  TTVChangedEvent OnChange;
  TPublishedValue BorderStyleProperty() const override { return {true, "TBorderStyle", 1}; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;
  bool NotifiesDblClick() const override { return true; }
  POINT KeyboardMenuPoint() override;

private:
  void NodeAdded(TTreeNode& node) override;
  void NodeDeleting(TTreeNode& node) override;
  void NodeChanged(TTreeNode& node) override;
  void Cleared() override;
  void UpdateBegun() override;
  void UpdateEnded() override;
  void InsertItem(TTreeNode& node);
  void InsertSubtree(TTreeNode& node);
  void ForgetSubtree(const TTreeNode& node);

  TTreeModel model_;
  TImageList* images_ = nullptr;
  int indent_ = 19;
  std::unordered_map<const TTreeNode*, HTREEITEM> items_;
};

class TTreeView : public TCustomTreeView {
public:
  using TCustomTreeView::TCustomTreeView;
  PLIMET_CLASS_NAME(TTreeView)
};

class TCustomStatusBar : public TWinControl {
public:
  explicit TCustomStatusBar(TComponent* owner);
  PLIMET_CLASS_NAME(TCustomStatusBar)
  bool SimplePanel = true;
  bool SizeGrip = true;
  void SetSimpleText(const std::string& text);
  const std::string& SimpleText() const { return simpleText_; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

private:
  std::string simpleText_;
};

class TStatusBar : public TCustomStatusBar {
public:
  using TCustomStatusBar::TCustomStatusBar;
  PLIMET_CLASS_NAME(TStatusBar)
};

// The base of the tab controls: the page control and the plain tab control.
class TCustomTabControl : public TWinControl {
public:
  explicit TCustomTabControl(TComponent* owner) : TWinControl(owner) {}
  PLIMET_CLASS_NAME(TCustomTabControl)
};

class TPageControl;

// One page of a page control; its tab can be hidden.
class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  PLIMET_CLASS_NAME(TTabSheet)
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pageControl);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible);

private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

class TPageControl : public TCustomTabControl {
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  PLIMET_CLASS_NAME(TPageControl)
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;

private:
  friend class TTabSheet;
  void UpdateTabs();
  void PlacePages();
  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
};

enum class TToolButtonStyle { tbsButton, tbsSeparator };

class TToolBar;

class TToolButton : public TGraphicControl {
public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;
  PLIMET_CLASS_NAME(TToolButton)
  TToolBar* ToolBar() const { return toolBar_; }
  void SetToolBar(TToolBar* toolBar);
  TToolButtonStyle Style = TToolButtonStyle::tbsButton;
  int ImageIndex = -1;
  int Command() const { return command_; }
  void ActionChanged(TAction& action) override;
  void SetText(const std::string& text) override;
  void SetEnabled(bool enabled) override;

private:
  friend class TToolBar;
  TToolBar* toolBar_ = nullptr;
  int command_;
  bool ownCaption_ = false;
};

// Tool bar buttons drawn by the program: the handler may draw the button
// itself and clear defaultDraw.
using TToolBarCustomDrawEvent =
    std::function<void(TToolBar* sender, TToolButton* button, NMTBCUSTOMDRAW& draw, bool& defaultDraw)>;

// The base of the bars that hold buttons and bands: tool bars, cool bars.
class TToolWindow : public TWinControl {
public:
  explicit TToolWindow(TComponent* owner) : TWinControl(owner) {}
  PLIMET_CLASS_NAME(TToolWindow)
};

class TToolBar : public TToolWindow {
public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  PLIMET_CLASS_NAME(TToolBar)
  TImageList* Images = nullptr;
  bool ShowCaptions = true; // captions under the images
  bool Flat = true;
  // Every button this size when both are set; else each fits its caption.
  int ButtonWidth = 0;
  int ButtonHeight = 0;
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
  TToolBarCustomDrawEvent OnCustomDrawButton;
  // Builds the native buttons again.
  void RebuildButtons();

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void NotifyNotify(NMHDR& header, TMessage& message) override;
  void WndProc(TMessage& message) override;

private:
  friend class TToolButton;
  std::vector<TToolButton*> buttons_;
};
