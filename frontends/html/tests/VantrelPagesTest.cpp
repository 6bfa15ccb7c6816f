// Vantrel's page pieces on the real setup page snippets through the page engine.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Feature.h"
#include "HtmlDocument.h"
#include "VantrelPages.h"
#include "PageSnippets.h"

namespace tq {
namespace {

std::string Snippet(const std::string& name) { return tq::testing::ReadPageSnippet(name); }

TEST(VantrelPages, TheBrowserGate) {
  struct TCase {
    bool KeyOpened;
    const char* Version;
    bool Passes;
  } cases[] = {
      {true, "4.72.3110", false}, {true, "5.00.2614", true}, {true, "6", true},      {true, "", false},
      {false, "6", false},        {true, ".5", false},       {true, "abc", false},   {true, "11.0.9600", true},
      {true, "5", true},          {true, "4", false},        {true, "5x.1", false},
  };
  for (const TCase& c : cases) EXPECT_EQ(BrowserGatePasses(c.KeyOpened, c.Version), c.Passes) << c.Version;
}

// Main (Level 3) with Help (4) below it, Samples (5), and Hidden (4, never listed).
class VantrelFeatures : public ::testing::Test {
 protected:
  void SetUp() override {
    PlaceFeatureRows(Tree.Items(),
                     {{"Main", "", "Main files", 1, 3},
                      {"Help", "Main", "Help files", 2, 4},
                      {"Samples", "", "Sample files", 3, 5},
                      {"Hidden", "", "Not listed", 0, 4}},
                     Records);
    Choices.CustomerName = "Ann";
    Choices.CompanyName = "Quill Ltd";
    Choices.Key = "K-1";
    Choices.DestinationPath = "C:\\Program Files\\Quill Ltd\\Sample";
  }
  TTreeView Tree{nullptr};
  std::vector<std::unique_ptr<TFeature>> Records;
  TUserChoices Choices;
};

TEST_F(VantrelFeatures, TheSummaryForEachInstallType) {
  const std::string head =
      "Customer Information:\r\n   Customer Name: Ann\r\n   Company  Name: Quill Ltd\r\nKey:           K-1\r\n\r\n"
      "Destination Path:\r\n   C:\\Program Files\\Quill Ltd\\Sample\r\n\r\nInstallation Type:\r\n   ";
  struct TCase {
    uint8_t Type;
    std::string Text;
    std::string FeatureList;
  } cases[] = {
      {0, head + "Typical\r\n\r\n   Main\r\n      Help\r\n   Hidden\r\n   ",
       "ADDDEFAULT=\"BRINDLEREGDATA,Main,Help,Hidden\""},
      {2, head + "Complete\r\n\r\n   Main\r\n      Help\r\n   Samples\r\n   Hidden\r\n   ",
       "ADDDEFAULT=\"BRINDLEREGDATA,Main,Help,Samples,Hidden\""},
      {1, head + "Custom\r\n\r\n\tMain\r\n   Samples\r\n   ", "kept"},
  };
  for (const TCase& c : cases) {
    Choices.InstallType = c.Type;
    Choices.FeatureList = "kept";
    EXPECT_EQ(SummaryText(Tree.Items(), Choices, {"Main", "Samples"}), c.Text) << int(c.Type);
    EXPECT_EQ(Choices.FeatureList, c.FeatureList);
  }
  // Typical without a feature of Level 4 or less installs no ADDDEFAULT at all.
  TTreeView none(nullptr);
  std::vector<std::unique_ptr<TFeature>> records;
  PlaceFeatureRows(none.Items(), {{"Extra", "", "", 1, 6}}, records);
  Choices.InstallType = 0;
  SummaryText(none.Items(), Choices, {});
  EXPECT_EQ(Choices.FeatureList, "");
}

TEST_F(VantrelFeatures, TheCustomPageIsFilledAndReadBack) {
  html::THtmlDocument page;
  page.Parse(Snippet("Custom.ins"));
  FillCustomPage(Tree.Items(), page);
  html::IHtmlElement* list = page.Item("Features");
  html::IHtmlElement* descriptions = page.Item("Descriptions");
  EXPECT_TRUE(list->Multiple());
  ASSERT_EQ(list->Length(), 3);  // Hidden is not listed
  EXPECT_EQ(list->Size(), 3);
  EXPECT_EQ(descriptions->Size(), 3);
  EXPECT_EQ(list->Option(1)->Value(), "Help");
  EXPECT_EQ(descriptions->Option(2)->Text(), "Sample files");
  EXPECT_TRUE(list->Option(0)->Selected());
  EXPECT_TRUE(list->Option(1)->Selected());
  EXPECT_FALSE(list->Option(2)->Selected());

  std::vector<std::string> titles;
  TakeCustomChoices(Tree.Items(), page, Choices, titles);
  EXPECT_EQ(Choices.FeatureList, "ADDDEFAULT=\"BRINDLEREGDATA,Main,Main,Help\"");  // Main twice, as ever
  EXPECT_EQ(titles, (std::vector<std::string>{"Main", "Help"}));
  list->Option(1)->SetSelected(false);
  list->Option(2)->SetSelected(true);
  TakeCustomChoices(Tree.Items(), page, Choices, titles);
  EXPECT_EQ(Choices.FeatureList, "ADDDEFAULT=\"BRINDLEREGDATA,Main,Main,Samples\"");
  EXPECT_EQ(titles, (std::vector<std::string>{"Main", "Samples"}));
}

TEST(VantrelPagesGroups, TheExistingGroupsListIsRefilled) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = IncludeTrailingPathDelimiter(temp) + "groups\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* g : {"Accessories", "Games"}) CreateDirectoryA((folder + g).c_str(), nullptr);
  std::ofstream(folder + "file.txt") << "not a group";
  html::THtmlDocument page;
  page.Parse(Snippet("Group.ins"));
  html::IHtmlElement* list = page.Item("ExistingGroups");
  html::IHtmlElement* old = page.CreateElement("option");
  old->SetText("Old");
  list->Add(old, 0);
  FillExistingGroups(folder, "Sample", page);
  EXPECT_EQ(page.Item("Group")->Value(), "Sample");
  std::vector<std::string> names;
  for (int i = 0; i < list->Length(); ++i) names.push_back(list->Option(i)->Text());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Accessories", "Games"}));
  for (const char* g : {"Accessories", "Games"}) RemoveDirectoryA((folder + g).c_str());
  DeleteFileA((folder + "file.txt").c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace tq
