#pragma once
// The tree a tree view shows, without a window: nodes with text, image
// indexes and an attached record, in order. The tree view control keeps the
// native control in step with it through the observer.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Shell.h"

// The record attached to a node; it names the table row the node shows.
struct TNodeRecord {
  virtual ~TNodeRecord() = default;
  std::int32_t FId = 0;
};

class TTreeNodes;

class TTreeNode {
public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int index);
  int StateIndex() const { return stateIndex_; }
  void SetStateIndex(int index);

  TNodeRecord* Data() const { return data_.get(); }

  // None for a top-level node.
  TTreeNode* Parent() const;
  int Count() const { return static_cast<int>(children_.size()); }
  TTreeNode* Item(int index) const { return children_.at(static_cast<std::size_t>(index)).get(); }
  // Position among its siblings.
  int Index() const { return index_; }
  int Level() const;
  // Position in the whole tree, counting every node before it in tree order.
  int AbsoluteIndex() const;
  // The next node in tree order (children before the next sibling); none at the end.
  TTreeNode* GetNext() const;
  TTreeNodes& Owner() const { return *owner_; }

private:
  friend class TTreeNodes;
  TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string text, std::unique_ptr<TNodeRecord> data);

  TTreeNodes* owner_;
  TTreeNode* parent_;
  int index_ = 0;
  std::string text_;
  int imageIndex_ = -1;
  int selectedIndex_ = -1;
  int stateIndex_ = -1;
  std::unique_ptr<TNodeRecord> data_;
  std::vector<std::unique_ptr<TTreeNode>> children_;
};

// What a view of the tree hears about its changes.
class ITreeNodesObserver {
public:
  virtual ~ITreeNodesObserver() = default;
  virtual void NodeAdded(TTreeNode& node) = 0;
  virtual void NodeDeleting(TTreeNode& node) = 0;
  virtual void NodeChanged(TTreeNode& node) = 0;
  virtual void Cleared() = 0;
  virtual void UpdateBegun() {}
  virtual void UpdateEnded() = 0;
};

class TTreeNodes {
public:
  TTreeNodes();
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // Adds a new last child of parent (a new last top-level node when none).
  TTreeNode* AddChild(TTreeNode* parent, std::string text, std::unique_ptr<TNodeRecord> data = nullptr);
  // Deletes the node with its whole subtree.
  void Delete(TTreeNode* node);
  void Clear();

  int Count() const { return count_; }
  int TopCount() const { return root_->Count(); }
  TTreeNode* TopItem(int index) const { return root_->Item(index); }
  TTreeNode* GetFirstNode() const { return root_->Count() ? root_->Item(0) : nullptr; }
  // The node at a position in tree order; none when out of range.
  TTreeNode* Item(int absoluteIndex) const;

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

  void SetObserver(ITreeNodesObserver* observer) { observer_ = observer; }

private:
  friend class TTreeNode;
  void Changed(TTreeNode& node);
  static int CountSubtree(const TTreeNode& node);

  std::unique_ptr<TTreeNode> root_; // holds the top-level nodes, never shown
  int count_ = 0;
  int updateCount_ = 0;
  ITreeNodesObserver* observer_ = nullptr;
};

// The image list of a tree view, as far as the tree builders need it.
class ITreeImages {
public:
  virtual ~ITreeImages() = default;
  // Appends the icon and returns its index.
  virtual int AddIcon(std::unique_ptr<platform::TIcon> icon) = 0;
  virtual int Count() const = 0;
};

// A tree view as the data store sees it: its nodes and, when it has one,
// its image list.
struct TTreeModel {
  TTreeNodes Items;
  ITreeImages* Images = nullptr;
};
