// Tree nodes: building, walking, selecting and deleting, with the window kept
// in step.
#include <gtest/gtest.h>

#include "TestForms.h"

namespace tq::testing {
namespace {

class TreeNodes : public ::testing::Test {
 protected:
  std::unique_ptr<TEventForm> Form = MakeForm(R"(
  object trTargetDir: TTreeView
    OnChange = NodeChange
  end
)");
  TTreeView* Tree = Form->Get<TTreeView>("trTargetDir");
  TTreeNodes& Nodes = Tree->Items();
  int WindowCount() { return static_cast<int>(SendMessageA(Tree->Handle(), TVM_GETCOUNT, 0, 0)); }
};

TEST_F(TreeNodes, AddAndWalkInTreeOrder) {
  int data = 42;
  TTreeNode* home = Nodes.Add(nullptr, "<Home Directory>");
  TTreeNode* bin = Nodes.AddChild(home, "bin");
  TTreeNode* doc = Nodes.AddChildObject(home, "doc", &data);
  TTreeNode* deep = Nodes.AddChild(bin, "plugins");
  TTreeNode* sys = Nodes.Add(home, "SystemFolder");  // a sibling of home: top level
  EXPECT_EQ(Nodes.Count(), 5);
  EXPECT_EQ(WindowCount(), 5);
  EXPECT_EQ(Nodes.Item(0), home);
  EXPECT_EQ(Nodes.Item(2), deep);
  EXPECT_EQ(Nodes[3], doc);
  EXPECT_EQ(Nodes.Item(4), sys);
  EXPECT_THROW(Nodes.Item(5), EListError);
  EXPECT_EQ(home->getFirstChild(), bin);
  EXPECT_EQ(bin->getNextSibling(), doc);
  EXPECT_EQ(doc->getNextSibling(), nullptr);
  EXPECT_EQ(home->getNextSibling(), sys);
  EXPECT_EQ(deep->Parent(), bin);
  EXPECT_EQ(deep->Level(), 2);
  EXPECT_EQ(sys->Level(), 0);
  EXPECT_EQ(home->Count(), 2);
  EXPECT_EQ(home->Item(1), doc);
  EXPECT_EQ(doc->Data, &data);
  EXPECT_EQ(deep->AbsoluteIndex(), 2);
  EXPECT_TRUE(home->IsFirstNode());
  // The window shows the same tree.
  HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(Tree->Handle(), TVM_GETNEXTITEM, TVGN_CHILD,
                                                             reinterpret_cast<LPARAM>(home->ItemId())));
  EXPECT_EQ(first, bin->ItemId());
}

TEST_F(TreeNodes, TextChangesReachTheWindow) {
  TTreeNode* n = Nodes.Add(nullptr, "Directory");
  n->SetText("bin");
  char buf[64] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = n->ItemId();
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(Tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buf, "bin");
}

TEST_F(TreeNodes, ExpandRecursiveOpensTheWholeSubtree) {
  TTreeNode* root = Nodes.Add(nullptr, "Choices");
  TTreeNode* core = Nodes.AddChild(root, "Core_Program");
  Nodes.AddChild(Nodes.AddChild(core, "Docs"), "Samples");
  root->Expand(false);
  EXPECT_TRUE(root->Expanded());
  EXPECT_FALSE(core->Expanded());
  root->Expand(true);
  EXPECT_TRUE(core->Expanded());
  UINT state = static_cast<UINT>(SendMessageA(Tree->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(core->ItemId()), TVIS_EXPANDED));
  EXPECT_TRUE(state & TVIS_EXPANDED);
}

TEST_F(TreeNodes, SelectedFollowsTheWindowAndFiresChange) {
  TTreeNode* a = Nodes.Add(nullptr, "A");
  TTreeNode* b = Nodes.Add(nullptr, "B");
  Tree->SetSelected(b);
  EXPECT_TRUE(b->Selected());
  HTREEITEM caret = reinterpret_cast<HTREEITEM>(SendMessageA(Tree->Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  EXPECT_EQ(caret, b->ItemId());
  // A selection made in the window (as by the user) is seen too.
  SendMessageA(Tree->Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a->ItemId()));
  EXPECT_EQ(Tree->Selected(), a);
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"Change trTargetDir B", "Change trTargetDir A"}));
}

TEST_F(TreeNodes, DeletingTheSelectedSubtreeMovesTheSelectionOffIt) {
  TTreeNode* home = Nodes.Add(nullptr, "<Home Directory>");
  TTreeNode* bin = Nodes.AddChild(home, "bin");
  TTreeNode* deep = Nodes.AddChild(bin, "plugins");
  Nodes.AddChild(home, "doc");
  Tree->SetSelected(deep);
  Form->Log.clear();
  bin->Delete();
  EXPECT_EQ(Nodes.Count(), 2);
  EXPECT_EQ(WindowCount(), 2);
  EXPECT_EQ(home->Count(), 1);
  EXPECT_EQ(home->getFirstChild()->Text(), "doc");
  ASSERT_EQ(Form->Log.size(), 1u);
  TTreeNode* now = Tree->Selected();
  EXPECT_NE(now, nullptr);
  EXPECT_EQ(Form->Log[0], "Change trTargetDir " + now->Text());
  Nodes.Clear();
  EXPECT_EQ(Nodes.Count(), 0);
  EXPECT_EQ(WindowCount(), 0);
  EXPECT_EQ(Tree->Selected(), nullptr);
}

TEST_F(TreeNodes, DeletingAnUnselectedNodeKeepsTheSelectionAndFiresNothing) {
  TTreeNode* a = Nodes.Add(nullptr, "A");
  TTreeNode* b = Nodes.Add(nullptr, "B");
  Tree->SetSelected(a);
  Form->Log.clear();
  Nodes.Delete(b);
  EXPECT_EQ(Tree->Selected(), a);
  EXPECT_TRUE(Form->Log.empty());
}

TEST_F(TreeNodes, NodesMadeBeforeTheWindowAppearInIt) {
  TTreeView loose(nullptr);
  TTreeNode* r = loose.Items().Add(nullptr, "Choices");
  loose.Items().AddChild(r, "Core_Program");
  r->Expand(true);
  loose.SetParent(Form.get());
  EXPECT_EQ(SendMessageA(loose.Handle(), TVM_GETCOUNT, 0, 0), 2);
  loose.SetParent(nullptr);
}

TEST_F(TreeNodes, NodeAtAPointIsFound) {
  TTreeNode* a = Nodes.Add(nullptr, "A");
  RECT r;
  *reinterpret_cast<HTREEITEM*>(&r) = a->ItemId();
  ASSERT_TRUE(SendMessageA(Tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  EXPECT_EQ(Tree->GetNodeAt(r.left + 2, r.top + 2), a);
  EXPECT_EQ(Tree->GetNodeAt(r.left + 2, r.bottom + 50), nullptr);
}

}  // namespace
}  // namespace tq::testing
