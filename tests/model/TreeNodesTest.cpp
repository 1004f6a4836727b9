#include "model/TreeNodes.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TNodeRecord> Record(int id) {
  auto record = std::make_unique<TNodeRecord>();
  record->FId = id;
  return record;
}

std::string Order(const TTreeNodes& nodes) {
  std::string texts;
  for (TTreeNode* node = nodes.GetFirstNode(); node; node = node->GetNext()) texts += node->Text();
  return texts;
}

struct Recorder : ITreeNodesObserver {
  std::vector<std::string> log;
  void NodeAdded(TTreeNode& node) override { log.push_back("+" + node.Text()); }
  void NodeDeleting(TTreeNode& node) override { log.push_back("-" + node.Text()); }
  void NodeChanged(TTreeNode& node) override { log.push_back("~" + node.Text()); }
  void Cleared() override { log.push_back("clear"); }
  void UpdateEnded() override { log.push_back("end"); }
};

// a(b(d), c), e
class TreeTest : public ::testing::Test {
protected:
  TreeTest() {
    a = nodes.AddChild(nullptr, "a", Record(1));
    b = nodes.AddChild(a, "b", Record(2));
    c = nodes.AddChild(a, "c", Record(3));
    d = nodes.AddChild(b, "d", Record(4));
    e = nodes.AddChild(nullptr, "e", Record(5));
  }
  TTreeNodes nodes;
  TTreeNode *a, *b, *c, *d, *e;
};

} // namespace

TEST_F(TreeTest, TreeOrderAndAbsoluteIndexesVisitParentsBeforeChildren) {
  EXPECT_EQ(Order(nodes), "abdce");
  EXPECT_EQ(nodes.Count(), 5);
  EXPECT_EQ(a->AbsoluteIndex(), 0);
  EXPECT_EQ(d->AbsoluteIndex(), 2);
  EXPECT_EQ(c->AbsoluteIndex(), 3);
  EXPECT_EQ(e->AbsoluteIndex(), 4);
  for (int i = 0; i < nodes.Count(); ++i) EXPECT_EQ(nodes.Item(i)->AbsoluteIndex(), i);
  EXPECT_EQ(nodes.Item(5), nullptr);
  EXPECT_EQ(d->Parent(), b);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(d->Level(), 2);
  EXPECT_EQ(c->Index(), 1);
  EXPECT_EQ(d->Data()->FId, 4);
}

TEST_F(TreeTest, DeleteTakesTheSubtreeAndRenumbersSiblings) {
  nodes.Delete(b);
  EXPECT_EQ(Order(nodes), "ace");
  EXPECT_EQ(nodes.Count(), 3);
  EXPECT_EQ(c->Index(), 0);
  EXPECT_EQ(c->AbsoluteIndex(), 1);
  TTreeNode* f = nodes.AddChild(a, "f");
  EXPECT_EQ(f->Index(), 1);
  EXPECT_EQ(Order(nodes), "acfe");
  nodes.Clear();
  EXPECT_EQ(nodes.Count(), 0);
  EXPECT_EQ(nodes.GetFirstNode(), nullptr);
}

TEST_F(TreeTest, NodesStartWithoutImagesAndReportChanges) {
  Recorder recorder;
  nodes.SetObserver(&recorder);
  EXPECT_EQ(e->ImageIndex(), -1);
  nodes.BeginUpdate();
  nodes.BeginUpdate();
  e->SetImageIndex(3);
  TTreeNode* g = nodes.AddChild(e, "g");
  nodes.EndUpdate();
  EXPECT_TRUE(nodes.Updating());
  nodes.Delete(g);
  nodes.EndUpdate();
  nodes.EndUpdate(); // an extra end is harmless
  EXPECT_EQ(e->ImageIndex(), 3);
  nodes.Clear();
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"~e", "+g", "-g", "end", "clear"}));
  nodes.SetObserver(nullptr);
}

TEST_F(TreeTest, NodesOfAnotherTreeAreRefused) {
  TTreeNodes other;
  EXPECT_THROW(other.AddChild(a, "x"), std::invalid_argument);
  EXPECT_THROW(other.Delete(a), std::invalid_argument);
  EXPECT_EQ(Order(nodes), "abdce");
}
