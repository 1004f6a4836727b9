#pragma once
// Common controls: image lists, the tree view over the tree model, the
// status bar.
#include <windows.h>
#include <commctrl.h>

#include <unordered_map>

#include "framework/TreeNodes.h"
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
class TTreeView : public TWinControl, private ITreeNodesObserver {
public:
  explicit TTreeView(TComponent* owner);
  ~TTreeView() override;
  PLIMET_CLASS_NAME(TTreeView)

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

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* owner);
  PLIMET_CLASS_NAME(TStatusBar)
  bool SimplePanel = true;
  bool SizeGrip = true;
  void SetSimpleText(const std::string& text);
  const std::string& SimpleText() const { return simpleText_; }

protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

private:
  std::string simpleText_;
};
