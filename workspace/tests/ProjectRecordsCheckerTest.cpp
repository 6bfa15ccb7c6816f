// The project file's component records, decoded by the independent Free Pascal
// checker: each holds exactly the stored properties, in their order.
#include <gtest/gtest.h>

#include <string>

#include "../../classlib/core/tests/ComponentChecker.h"
#include "Classes.h"
#include "ComponentStream.h"
#include "ProjectFile.h"

using namespace tq;

namespace {

std::string RecordText(TComponent& c) {
  TMemoryStream s;
  WriteComponent(s, c);
  return tq::testing::NormalizeText(tq::testing::RunChecker(
      "totext", std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()))));
}

}  // namespace

TEST(ProjectRecordsChecker, ItemAndDataRecordsDecodeToTheirStoredProperties) {
  if (!tq::testing::CheckerAvailable()) GTEST_SKIP() << "Free Pascal checker not built";
  TRegEntry::Counter = 1;
  TRegEntry reg(nullptr);
  reg.Root = 2;
  reg.Key = "Software\\Maker's Tool";
  reg.ValName = "Path";
  reg.Choice = "Core_Program";
  EXPECT_EQ(
      "object TRegEntry\n"
      "  Name = 'Registry1'\n"
      "  Root = 2\n"
      "  Key = 'Software\\Maker''s Tool'\n"
      "  ValName = 'Path'\n"
      "  Choice = 'Core_Program'\n"
      "end\n",
      RecordText(reg));

  TEVar::Counter = 4;
  TEVar ev(nullptr);
  ev.FName = "PATH";
  EXPECT_EQ(
      "object TEVar\n"
      "  Name = 'PATH'\n"
      "  EVar = 'Environment4'\n"
      "  NoAction = False\n"
      "  Delete = True\n"
      "  HowToInstall = 1\n"
      "  TheType = 0\n"
      "end\n",
      RecordText(ev));

  TGeneralInfo info(nullptr);
  info.ProductName = "Sam's Tool";
  info.ProductVersion = "1.0.0";
  EXPECT_EQ(
      "object TGeneralInfo\n"
      "  ProductName = 'Sam''s Tool'\n"
      "  ProductVersion = '1.0.0'\n"
      "  PerUser = False\n"
      "end\n",
      RecordText(info));
}

TEST(ProjectRecordsChecker, TreeRecordCarriesItsNodeList) {
  if (!tq::testing::CheckerAvailable()) GTEST_SKIP() << "Free Pascal checker not built";
  TStoredTree tree("TTreeView", "trChoices");
  tree.Left = 8;
  tree.Top = 16;
  tree.Width = 150;
  tree.Height = 200;
  tree.BorderStyle = 0;
  tree.TabOrder = 0;
  tree.HideSelection = false;
  tree.Items.Nodes = {{"Choices", 0}, {"Core_Program", 1}};
  const std::string text = RecordText(tree);
  EXPECT_EQ(0u, text.find("object trChoices: TTreeView\n"
                          "  Left = 8\n"
                          "  Top = 16\n"
                          "  Width = 150\n"
                          "  Height = 200\n"
                          "  BorderStyle = bsNone\n"
                          "  Indent = 19\n"
                          "  TabOrder = 0\n"
                          "  HideSelection = False\n"
                          "  Items.Data = {\n"))
      << text;
  // Two records: 25 + 7 and 25 + 12 bytes after the top-level count.
  EXPECT_NE(std::string::npos, text.find("0100000020000000")) << text;
}
