#include "model/TreeNodes.h"

#include <stdexcept>

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent, std::string text, std::unique_ptr<TNodeRecord> data)
    : owner_(owner), parent_(parent), text_(std::move(text)), data_(std::move(data)) {}

TTreeNode* TTreeNode::Parent() const {
  // The hidden root has no parent; its children are the top level.
  return parent_ && parent_->parent_ ? parent_ : nullptr;
}

void TTreeNode::SetText(std::string text) {
  text_ = std::move(text);
  owner_->Changed(*this);
}

void TTreeNode::SetImageIndex(int index) {
  imageIndex_ = index;
  owner_->Changed(*this);
}

void TTreeNode::SetSelectedIndex(int index) {
  selectedIndex_ = index;
  owner_->Changed(*this);
}

void TTreeNode::SetStateIndex(int index) {
  stateIndex_ = index;
  owner_->Changed(*this);
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
  return level;
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (const TTreeNode* node = this; node->parent_; node = node->parent_) {
    const TTreeNode& parent = *node->parent_;
    for (int i = 0; i < node->index_; ++i) index += TTreeNodes::CountSubtree(*parent.children_[i]);
    if (parent.parent_) ++index; // the parent itself comes first
  }
  return index;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!children_.empty()) return children_.front().get();
  for (const TTreeNode* node = this; node->parent_; node = node->parent_) {
    const auto& siblings = node->parent_->children_;
    const auto next = static_cast<std::size_t>(node->index_) + 1;
    if (next < siblings.size()) return siblings[next].get();
  }
  return nullptr;
}

TTreeNodes::TTreeNodes() : root_(new TTreeNode(this, nullptr, {}, nullptr)) {}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, std::string text, std::unique_ptr<TNodeRecord> data) {
  TTreeNode* holder = parent ? parent : root_.get();
  if (&holder->Owner() != this) throw std::invalid_argument("The parent node belongs to another tree");
  std::unique_ptr<TTreeNode> node(new TTreeNode(this, holder, std::move(text), std::move(data)));
  node->index_ = static_cast<int>(holder->children_.size());
  holder->children_.push_back(std::move(node));
  ++count_;
  TTreeNode* added = holder->children_.back().get();
  if (observer_) observer_->NodeAdded(*added);
  return added;
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node == root_.get()) return;
  if (&node->Owner() != this) throw std::invalid_argument("The node belongs to another tree");
  if (observer_) observer_->NodeDeleting(*node);
  TTreeNode* holder = node->parent_;
  const auto position = holder->children_.begin() + node->index_;
  count_ -= CountSubtree(*node);
  holder->children_.erase(position);
  for (std::size_t i = 0; i < holder->children_.size(); ++i) holder->children_[i]->index_ = static_cast<int>(i);
}

void TTreeNodes::Clear() {
  root_->children_.clear();
  count_ = 0;
  if (observer_) observer_->Cleared();
}

TTreeNode* TTreeNodes::Item(int absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= count_) return nullptr;
  TTreeNode* node = GetFirstNode();
  for (int i = 0; i < absoluteIndex && node; ++i) node = node->GetNext();
  return node;
}

void TTreeNodes::BeginUpdate() {
  if (updateCount_++ == 0 && observer_) observer_->UpdateBegun();
}

void TTreeNodes::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && observer_) observer_->UpdateEnded();
}

void TTreeNodes::Changed(TTreeNode& node) {
  if (observer_) observer_->NodeChanged(node);
}

int TTreeNodes::CountSubtree(const TTreeNode& node) {
  int count = 1;
  for (const auto& child : node.children_) count += CountSubtree(*child);
  return count;
}
