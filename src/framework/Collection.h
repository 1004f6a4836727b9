#pragma once
// Collections: an ordered list of items of one kind, owned by the list, each
// knowing its collection and its index (tool bar buttons, status panels).
// Items may publish named properties, so that a stored form can fill a
// collection a component publishes.
#include <functional>
#include <memory>
#include <vector>

class TCollection;
class TPropertyList;

class TCollectionItem {
public:
  // An item freed on its own leaves its collection first.
  virtual ~TCollectionItem();
  virtual const char* ClassName() const { return "TCollectionItem"; }
  // The properties a stored form may set on it, by name; the same names
  // and types for every item of a collection. None by default.
  virtual void DefineProperties(TPropertyList& properties);
  TCollection* Collection() const { return collection_; }
  // Its place in the collection; -1 once taken out.
  int Index() const;
  // Moves it to another place; the others close up.
  void SetIndex(int index);

private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
};

class TCollection {
public:
  // Items of the collection are made by this; every Add calls it.
  using TItemMaker = std::function<std::unique_ptr<TCollectionItem>()>;
  explicit TCollection(TItemMaker maker) : maker_(std::move(maker)) {}
  virtual ~TCollection();
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  TCollectionItem* Add();
  // An item made as Add makes it, not yet in the collection: a reader
  // prepares and checks new items before it changes the collection.
  std::unique_ptr<TCollectionItem> MakeItem() const;
  // Appends an item made by MakeItem.
  TCollectionItem* Add(std::unique_ptr<TCollectionItem> item);
  // Frees the item at the index.
  void Delete(int index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }
  int IndexOf(const TCollectionItem* item) const;

  // Told after items were added, deleted or moved.
  std::function<void(TCollection&)> OnUpdate;

private:
  friend class TCollectionItem;
  void Move(int from, int to);
  void Changed();
  // Takes out an item being freed on its own, without freeing it.
  void Extract(TCollectionItem* item);
  TItemMaker maker_;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
};
