// Tree views in component streams (the project file stores its two trees so).
#include <gtest/gtest.h>

#include "ComponentStream.h"
#include "TestForms.h"

namespace tq::testing {
namespace {

std::string NodeRecord(const std::string& text, int32_t children) {
  std::string r;
  auto put = [&r](int32_t v) { r.append(reinterpret_cast<const char*>(&v), 4); };
  put(25 + static_cast<int32_t>(text.size()));
  put(0);   // ImageIndex
  put(0);   // SelectedIndex
  put(-1);  // StateIndex
  put(-1);  // OverlayIndex
  put(0);   // Data
  put(children);
  r += static_cast<char>(text.size());
  r += text;
  return r;
}

TEST(TreeStream, NodeDataIsTheCountThenTheNodesDepthFirst) {
  auto form = MakeForm("  object trChoices: TTreeView\n  end\n");
  TTreeNodes& nodes = form->Get<TTreeView>("trChoices")->Items();
  TTreeNode* root = nodes.Add(nullptr, "Choices");
  TTreeNode* core = nodes.AddChild(root, "Core_Program");
  nodes.AddChild(core, "Docs");
  nodes.AddChild(root, "Extras");
  TMemoryStream data;
  nodes.WriteData(data);
  std::string bytes(reinterpret_cast<const char*>(data.Memory()), static_cast<size_t>(data.Size()));
  std::string expected("\x01\x00\x00\x00", 4);
  expected += NodeRecord("Choices", 2) + NodeRecord("Core_Program", 1) + NodeRecord("Docs", 0) + NodeRecord("Extras", 0);
  EXPECT_EQ(bytes, expected);
}

TEST(TreeStream, ATreeViewRecordRoundTrips) {
  auto form = MakeForm(R"(
  object trTargetDir: TTreeView
    Left = 8
    Top = 16
    Width = 200
    Height = 150
    BorderStyle = bsNone
    TabOrder = 3
  end
)");
  // Read back into the same control of another window, as a project load does.
  auto other = MakeForm("  object trTargetDir: TTreeView\n  end\n");
  auto* tree = form->Get<TTreeView>("trTargetDir");
  TTreeNode* home = tree->Items().Add(nullptr, "<Home Directory>");
  tree->Items().AddChild(home, "bin");
  tree->Items().Add(nullptr, "SystemFolder");
  TMemoryStream stream;
  WriteComponent(stream, *tree);
  std::string bytes(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  EXPECT_EQ(bytes.substr(0, 4), "TPF0");
  EXPECT_NE(bytes.find("\x09TTreeView\x0btrTargetDir"), std::string::npos);
  EXPECT_NE(bytes.find("\x0aItems.Data"), std::string::npos);
  EXPECT_NE(bytes.find("BorderStyle"), std::string::npos);
  EXPECT_EQ(bytes.find("HideSelection"), std::string::npos);  // at its default
  auto* copy = other->Get<TTreeView>("trTargetDir");
  copy->Items().Add(nullptr, "old node");
  stream.SetPosition(0);
  ReadComponent(stream, *copy);
  EXPECT_EQ(copy->Left(), 8);
  EXPECT_EQ(copy->Width(), 200);
  EXPECT_EQ(copy->BorderStyle(), bsNone);
  EXPECT_EQ(copy->TabOrder(), 3);
  ASSERT_EQ(copy->Items().Count(), 3);
  EXPECT_EQ(copy->Items().Item(1)->Text(), "bin");
  EXPECT_EQ(copy->Items().Item(1)->Parent(), copy->Items().GetFirstNode());
  EXPECT_EQ(copy->Items().Item(2)->Text(), "SystemFolder");
  EXPECT_EQ(SendMessageA(copy->Handle(), TVM_GETCOUNT, 0, 0), 3);
}

TEST(TreeStream, BrokenNodeDataIsAReadError) {
  TTreeView tree(nullptr);
  std::string bad("\x01\x00\x00\x00", 4);
  bad += NodeRecord("Choices", 1);  // promises a child that is not there
  TMemoryStream s;
  s.WriteBuffer(bad.data(), static_cast<int64_t>(bad.size()));
  s.SetPosition(0);
  EXPECT_THROW(tree.Items().ReadData(s), EStreamError);
}

}  // namespace
}  // namespace tq::testing
