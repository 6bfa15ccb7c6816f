// The open dialog: its product and version lists, its OK checks, and File >
// Open going through it to the chosen version's project.
#include <algorithm>

#include "FileUtils.h"
#include "MainWindowFixture.h"
#include "TQOpenDlg.h"

namespace tq::testing {
namespace {

std::vector<std::string> ItemsOf(TListBox* box) {
  std::vector<std::string> r;
  for (int i = 0; i < box->Items().Count(); ++i) r.push_back(box->Items().Get(i));
  return r;
}

class OpenDialogTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Application->CreateForm(TQOpenDlg);
    D = TQOpenDlg;
    ASSERT_NE(D, nullptr);
    W->ProjectWriter = [this](const std::string& f) { W->WriteProjectTo(f); };
  }
  void TearDown() override {
    delete TQOpenDlg;
    TQOpenDlg = D = nullptr;
    MainWindowTest::TearDown();
  }
  // Shows the lists as the dialog does and picks a product and a version.
  void Choose(const std::string& product, const std::string& version) {
    D->FormShow(D);
    D->ListBox1->SetItemIndex(D->ListBox1->Items().IndexOf(product));
    D->ListBox1Click(D->ListBox1);
    D->ListBox2->SetItemIndex(D->ListBox2->Items().IndexOf(version));
  }
  TTQOpenDlg* D = nullptr;
};

TEST_F(OpenDialogTest, ListsTheProductsAndTheirVersionFolders) {
  const std::string widget = Dir + "Widget\\";
  for (const char* f : {"1.0", "1.0a", "Old", "1.0.2", "2"}) ASSERT_TRUE(ForceDirectories(widget + f));
  W->AddToProjectList("Widget", widget);
  W->AddToProjectList("Gadget", Dir + "Gone\\");  // its folder is not there

  D->FormShow(D);
  EXPECT_EQ(ItemsOf(D->ListBox1), (std::vector<std::string>{"Gadget", "Widget"}));
  EXPECT_EQ(D->ListBox1->ItemIndex(), -1);
  EXPECT_TRUE(ItemsOf(D->ListBox2).empty());

  D->ListBox1->SetItemIndex(1);
  D->ListBox1Click(D->ListBox1);
  auto versions = ItemsOf(D->ListBox2);
  std::sort(versions.begin(), versions.end());
  EXPECT_EQ(versions, (std::vector<std::string>{"1.0", "1.0.2", "2"}));

  D->ListBox1->SetItemIndex(0);
  D->ListBox1Click(D->ListBox1);
  EXPECT_TRUE(ItemsOf(D->ListBox2).empty());  // the previous product's versions are gone

  // Shown again, nothing is chosen and the list follows the project list.
  W->AddToProjectList("Apparatus", widget);
  D->FormShow(D);
  EXPECT_EQ(ItemsOf(D->ListBox1), (std::vector<std::string>{"Apparatus", "Gadget", "Widget"}));
  EXPECT_EQ(D->ListBox1->ItemIndex(), -1);
  EXPECT_TRUE(ItemsOf(D->ListBox2).empty());
}

struct OkCase {
  const char* Name;
  bool Product, Version;
  const char* Message;  // nullptr: closes with OK
};
void PrintTo(const OkCase& c, std::ostream* os) { *os << c.Name; }
class OpenDialogOkTest : public OpenDialogTest, public ::testing::WithParamInterface<OkCase> {};

TEST_P(OpenDialogOkTest, OkNeedsAProductAndAVersion) {
  const OkCase& c = GetParam();
  ASSERT_TRUE(ForceDirectories(Dir + "Widget\\1.0"));
  W->AddToProjectList("Widget", Dir + "Widget\\");
  D->FormShow(D);
  if (c.Product) {
    D->ListBox1->SetItemIndex(0);
    D->ListBox1Click(D->ListBox1);
    ASSERT_EQ(ItemsOf(D->ListBox2), (std::vector<std::string>{"1.0"}));
  }
  if (c.Version) D->ListBox2->SetItemIndex(0);
  if (c.Message) Prompts.Expect(pkMessageDlg, c.Message, mrOk);
  D->SetModalResult(mrNone);
  D->OKBtn->Click();
  EXPECT_EQ(D->ModalResult(), c.Message ? mrNone : mrOk);
  if (c.Message) {
    ASSERT_FALSE(Prompts.Asked().empty());
    EXPECT_EQ(Prompts.Asked().back().Text, c.Message);  // the whole text, nothing more
    EXPECT_EQ(Prompts.Asked().back().DlgType, mtError);
  }
}

INSTANTIATE_TEST_SUITE_P(Choices, OpenDialogOkTest,
                         ::testing::Values(OkCase{"Nothing", false, false, "Please select a project."},
                                           OkCase{"ProductOnly", true, false, "Please select a version."},
                                           OkCase{"Both", true, true, nullptr}),
                         [](const ::testing::TestParamInfo<OkCase>& i) { return std::string(i.param.Name); });

TEST_F(OpenDialogTest, OpenReadsTheChosenVersionsProject) {
  ASSERT_TRUE(ForceDirectories(Dir + "Widget\\1.0"));
  ASSERT_TRUE(ForceDirectories(Dir + "Widget\\1.1"));
  W->edProductName->SetText("Widget");
  W->edProductVersion->SetText("1.1");
  W->WriteProjectTo(Dir + "Widget\\1.1\\Widget.ipr");
  W->AddToProjectList("Gadget", Dir + "Gadget\\");
  W->AddToProjectList("Widget", Dir + "Widget\\");
  W->edProductName->SetText("Changed");
  W->edProductVersion->SetText("9");
  ASSERT_EQ(W->FModified, 1);

  // Cancel in the save prompt keeps the open project: no dialog.
  Prompts.Expect(pkMessageDlg, "The current project needs saving. \r\nDo you want to save it?", mrCancel);
  W->Open1Click(W);
  EXPECT_EQ(W->edProductName->Text(), "Changed");

  // Cancel in the dialog opens nothing.
  Prompts.Expect(pkMessageDlg, "Do you want to save it?", mrNo);
  Prompts.Expect(TExpectedPrompt(pkModalForm, "TQOpenDlg", mrCancel, {}, [this] { Choose("Widget", "1.1"); }));
  W->Open1Click(W);
  EXPECT_EQ(W->edProductName->Text(), "Changed");

  Prompts.Expect(pkMessageDlg, "Do you want to save it?", mrNo);
  Prompts.Expect(TExpectedPrompt(pkModalForm, "TQOpenDlg", mrOk, {}, [this] { Choose("Widget", "1.1"); }));
  W->Open1->Click();  // through the menu item
  EXPECT_EQ(W->FProjectFile, Dir + "Widget\\1.1\\Widget.ipr");
  EXPECT_EQ(W->edProductName->Text(), "Widget");
  EXPECT_EQ(W->edProductVersion->Text(), "1.1");
  EXPECT_EQ(W->FModified, 0);
  EXPECT_EQ(ReadFileText(Dir + "Recent.dat").rfind(Dir + "Widget\\1.1\\Widget.ipr\r\n", 0), 0u);
}

TEST_F(OpenDialogTest, OpenOfAVersionWithoutAProjectSaysSo) {
  ASSERT_TRUE(ForceDirectories(Dir + "Widget\\2"));
  W->AddToProjectList("Widget", Dir + "Widget\\");
  Prompts.Expect(TExpectedPrompt(pkModalForm, "TQOpenDlg", mrOk, {}, [this] { Choose("Widget", "2"); }));
  Prompts.Expect(pkMessageDlg, "Unable to find a project file in directory " + Dir + "Widget\\2\\*.ipr", mrOk);
  W->Open1Click(W);
  EXPECT_EQ(W->FProjectFile, "");
}

}  // namespace
}  // namespace tq::testing
