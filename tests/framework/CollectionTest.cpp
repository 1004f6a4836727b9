#include "framework/Collection.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {
struct Panel : TCollectionItem {
  std::string Text;
  int Width = 50;
};
} // namespace

TEST(Collections, ItemsKnowTheirPlaceAndMoveAsTold) {
  int updates = 0;
  TCollection panels([] { return std::make_unique<Panel>(); });
  panels.OnUpdate = [&updates](TCollection&) { ++updates; };
  for (const char* text : {"a", "b", "c"}) static_cast<Panel*>(panels.Add())->Text = text;
  EXPECT_EQ(panels.Count(), 3);
  EXPECT_EQ(updates, 3);
  TCollectionItem* c = panels.Items(2);
  EXPECT_EQ(c->Index(), 2);
  EXPECT_EQ(c->Collection(), &panels);
  c->SetIndex(0);
  EXPECT_EQ(static_cast<Panel*>(panels.Items(0))->Text, "c");
  EXPECT_EQ(static_cast<Panel*>(panels.Items(1))->Text, "a") << "the others close up";
  c->SetIndex(99);
  EXPECT_EQ(c->Index(), 2) << "a place past the end is the last";
  panels.Delete(0);
  EXPECT_EQ(static_cast<Panel*>(panels.Items(0))->Text, "b");
  EXPECT_THROW(panels.Delete(5), std::out_of_range);
  panels.Clear();
  EXPECT_EQ(panels.Count(), 0);
  EXPECT_EQ(updates, 7);
}

TEST(Collections, AnItemMadeAheadJoinsOnlyWhenAddedAndOnlyOnce) {
  int updates = 0;
  TCollection panels([] { return std::make_unique<Panel>(); });
  panels.OnUpdate = [&updates](TCollection&) { ++updates; };
  std::unique_ptr<TCollectionItem> made = panels.MakeItem();
  EXPECT_EQ(made->Collection(), nullptr);
  EXPECT_EQ(made->Index(), -1);
  EXPECT_EQ(panels.Count(), 0);
  EXPECT_EQ(updates, 0) << "making an item does not change the collection";
  TCollectionItem* added = panels.Add(std::move(made));
  EXPECT_EQ(added->Collection(), &panels);
  EXPECT_EQ(added->Index(), 0);
  EXPECT_EQ(updates, 1);

  EXPECT_THROW(panels.Add(std::unique_ptr<TCollectionItem>()), std::logic_error);
  EXPECT_THROW(TCollection([] { return std::unique_ptr<TCollectionItem>(); }).MakeItem(), std::logic_error);
}

TEST(Collections, AnItemFreedOnItsOwnLeavesItsCollectionOnce) {
  int updates = 0;
  TCollection panels([] { return std::make_unique<Panel>(); });
  for (const char* text : {"a", "b", "c"}) static_cast<Panel*>(panels.Add())->Text = text;
  panels.OnUpdate = [&updates](TCollection&) { ++updates; };
  delete panels.Items(1); // the sanitizers see a second free if the list still held it
  EXPECT_EQ(panels.Count(), 2);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(static_cast<Panel*>(panels.Items(1))->Text, "c");
  panels.Delete(0);
  panels.Clear();
  EXPECT_EQ(panels.Count(), 0);
  EXPECT_EQ(updates, 3) << "a delete and a clear, each told once";
}
