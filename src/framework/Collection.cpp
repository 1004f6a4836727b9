#include "framework/Collection.h"

#include <algorithm>
#include <stdexcept>

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->Extract(this);
}

TCollection::~TCollection() {
  for (auto& item : items_) item->collection_ = nullptr; // freed with the list, not leaving it
}

void TCollection::Extract(TCollectionItem* item) {
  for (auto each = items_.begin(); each != items_.end(); ++each)
    if (each->get() == item) {
      static_cast<void>(each->release()); // it is being freed by whoever deleted it
      items_.erase(each);
      item->collection_ = nullptr;
      Changed();
      return;
    }
}

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
  std::unique_ptr<TCollectionItem> item = std::move(items_[static_cast<std::size_t>(index)]);
  items_.erase(items_.begin() + index);
  item->collection_ = nullptr;
  item.reset();
  Changed();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  std::vector<std::unique_ptr<TCollectionItem>> items = std::move(items_);
  items_.clear();
  for (auto& item : items) item->collection_ = nullptr;
  items.clear();
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
