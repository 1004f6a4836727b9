#include "framework/Collection.h"

#include <algorithm>
#include <stdexcept>

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TCollectionItem::SetIndex(int index) {
  if (collection_) collection_->Move(Index(), index);
}

void TCollectionItem::DefineProperties(TPropertyList&) {}

TCollectionItem* TCollection::Add() { return Add(MakeItem()); }

std::unique_ptr<TCollectionItem> TCollection::MakeItem() const {
  std::unique_ptr<TCollectionItem> item = maker_();
  if (!item) throw std::logic_error("a collection made no item");
  return item;
}

TCollectionItem* TCollection::Add(std::unique_ptr<TCollectionItem> item) {
  if (!item || item->collection_) throw std::logic_error("an item can be added once, to one collection");
  item->collection_ = this;
  items_.push_back(std::move(item));
  Changed();
  return items_.back().get();
}

void TCollection::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  items_.erase(items_.begin() + index);
  Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)].get() == item) return i;
  return -1;
}

void TCollection::Move(int from, int to) {
  if (from < 0 || from >= Count()) return;
  to = std::clamp(to, 0, Count() - 1);
  if (from == to) return;
  auto item = std::move(items_[static_cast<std::size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  Changed();
}

void TCollection::Changed() {
  if (OnUpdate) OnUpdate(*this);
}
