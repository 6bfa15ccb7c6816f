// The Gui page on the real main window: the front-end boxes, the page editor
// and its support files, the Flash program and its support files, and which
// of these edits mark the project modified.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"

namespace tq::testing {
namespace {

using Names = std::vector<std::string>;

Names Lines(TStrings& list) {
  Names out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

class GuiPageTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    W->DoGui();
  }
  // Picks the page editor's tab that reads caption.
  void Pick(const std::string& caption) {
    W->tcHtmlPages->SetTabIndex(W->tcHtmlPages->Tabs().IndexOf(caption));
    W->tcHtmlPagesChange(W->tcHtmlPages);
  }
};

TEST_F(GuiPageTest, TheTwoFrontEndsExcludeEachOtherAndEnableTheirFields) {
  const std::vector<TWinControl*> html{W->buHtmlUiEdit,   W->ckbLicenseHtml, W->ckbReadmeHtml,
                                       W->ckbCustInfoHtml, W->ckbGroupHtml, W->buHtmlUiFontAndColorOptions,
                                       W->buGenerateThePages, W->edLicenseFile, W->buLicenseFile,
                                       W->edReadmeFile, W->buReadmeFile};
  const std::vector<TWinControl*> flash{W->edFlashMovie, W->buBrowseFlashMovie, W->buSupportFiles};
  for (TWinControl* c : flash) EXPECT_FALSE(c->Enabled()) << c->Name();
  W->FModified = 0;
  W->ckbHtmlUi->SetChecked(true);
  EXPECT_EQ(W->FModified, 1);
  for (TWinControl* c : html) EXPECT_TRUE(c->Enabled()) << c->Name();
  W->ckbFlashUi->SetChecked(true);
  EXPECT_FALSE(W->ckbHtmlUi->Checked());
  for (TWinControl* c : html) EXPECT_FALSE(c->Enabled()) << c->Name();
  for (TWinControl* c : flash) EXPECT_TRUE(c->Enabled()) << c->Name();
  W->ckbHtmlUi->SetChecked(true);
  EXPECT_FALSE(W->ckbFlashUi->Checked());
  for (TWinControl* c : flash) EXPECT_FALSE(c->Enabled()) << c->Name();
}

TEST_F(GuiPageTest, ThePageEditorShowsAndStoresEachPagesSettings) {
  W->ckbHtmlUi->SetChecked(true);
  W->FHtmlPagesNames->OrigLocation = "C:\\site\\where.htm";
  W->FHtmlSupportPages->Location->Add("C:\\site\\map.png");
  W->FModified = 0;
  W->buHtmlUiEditClick(W->buHtmlUiEdit);
  EXPECT_EQ(W->PageControl2->ActivePage(), W->TabSheet12);
  EXPECT_EQ(W->tcHtmlPages->TabIndex(), 0);
  EXPECT_EQ(W->edHtmlUiSaveFile->Text(), "TqWelcome.htm");
  Pick("Location");
  EXPECT_EQ(W->edHtmlUiOrigFile->Text(), "C:\\site\\where.htm");
  EXPECT_EQ(W->edHtmlUiSaveFile->Text(), "TqLocation.htm");
  EXPECT_EQ(Lines(W->lbSupportFiles->Items()), Names{"C:\\site\\map.png"});
  EXPECT_EQ(W->FModified, 0) << "showing pages is no edit";

  W->edHtmlUiSaveFile->SetText("Where.htm");
  EXPECT_EQ(W->FHtmlPagesNames->Location, "Where.htm");
  EXPECT_EQ(W->GetHtmlPageSaveName("Location"), "Where.htm");
  W->ckbAllPages->SetChecked(true);
  W->edHtmlUiOrigFile->SetText("C:\\site\\other.htm");
  EXPECT_EQ(W->FHtmlPagesNames->OrigLocation, "C:\\site\\other.htm");
  EXPECT_FALSE(W->ckbAllPages->Checked()) << "a page of its own is no longer all pages";
  EXPECT_EQ(W->FModified, 1);

  // All pages take the shown original and support list.
  W->ckbAllPages->SetChecked(true);
  for (const TSetupPage& page : SetupPages) {
    EXPECT_EQ(W->FHtmlPagesNames->*page.Original, "C:\\site\\other.htm") << page.Key;
    EXPECT_EQ(Lines(*(W->FHtmlSupportPages->*page.Support)), Names{"C:\\site\\map.png"}) << page.Key;
  }
  EXPECT_EQ(W->GetHtmlPageSaveName("Customer Info"), "TqCustInfo.htm");
  EXPECT_EQ(W->GetHtmlPageSaveName("Install Type"), "TqInstallType.htm");
  W->buBackToGuiPageClick(W->buBackToGuiPage);
  EXPECT_EQ(W->PageControl2->ActivePage(), W->TabSheet11);
}

TEST_F(GuiPageTest, SupportFilesAreAddedDeletedAndClearedOnTheShownPage) {
  W->ckbHtmlUi->SetChecked(true);
  W->buHtmlUiEditClick(W->buHtmlUiEdit);
  Pick("Custom");
  W->edHtmlUiOrigFile->SetText("C:\\site\\custom.htm");
  Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDialog2", mrOk, {}, [this] {
    EXPECT_EQ(W->OpenDialog2->InitialDir, "C:\\site\\");
    W->OpenDialog2->Files().Clear();
    W->OpenDialog2->Files().Add("C:\\site\\a.png");
    W->OpenDialog2->Files().Add("C:\\site\\b.js");
  }));
  W->buSupportFilesAddClick(W->buSupportFilesAdd);
  EXPECT_EQ(Lines(*W->FHtmlSupportPages->Custom), (Names{"C:\\site\\a.png", "C:\\site\\b.js"}));
  W->lbSupportFiles->SetItemIndex(0);
  W->buSupportFilesDeleteClick(W->buSupportFilesDelete);
  EXPECT_EQ(Lines(*W->FHtmlSupportPages->Custom), Names{"C:\\site\\b.js"});
  W->buSupportFilesClearClick(W->buSupportFilesClear);
  EXPECT_EQ(W->FHtmlSupportPages->Custom->Count(), 0);
  EXPECT_EQ(W->FHtmlSupportPages->Welcome->Count(), 0) << "other pages keep theirs";
}

TEST_F(GuiPageTest, OnlyAStandaloneProgramIsTakenAsTheFlashProgram) {
  W->ckbFlashUi->SetChecked(true);
  Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDialog5", mrOk, {},
                                 [this] { W->OpenDialog5->FileName = "C:\\movie\\intro.swf"; }));
  Prompts.Expect(pkMessageDlg, "Only standalone Flash movie(.exe) files are acceptable here");
  W->buBrowseFlashMovieClick(W->buBrowseFlashMovie);
  EXPECT_EQ(W->edFlashMovie->Text(), "");
  Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDialog5", mrOk, {},
                                 [this] { W->OpenDialog5->FileName = "C:\\movie\\Setup.EXE"; }));
  W->buBrowseFlashMovieClick(W->buBrowseFlashMovie);
  EXPECT_EQ(W->edFlashMovie->Text(), "C:\\movie\\Setup.EXE");

  W->FModified = 0;
  W->buSupportFilesClick(W->buSupportFiles);
  EXPECT_EQ(W->PageControl2->ActivePage(), W->TabSheet13);
  EXPECT_EQ(W->FModified, 0);
  Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDialog2", mrOk, {}, [this] {
    W->OpenDialog2->Files().Clear();
    W->OpenDialog2->Files().Add("C:\\movie\\data.bin");
  }));
  W->buSupportFilesAddFlashClick(W->buSupportFilesAddFlash);
  EXPECT_EQ(Lines(*W->FFlashSupport->SupportFiles), Names{"C:\\movie\\data.bin"});
  W->buSupportFilesClearFlashClick(W->buSupportFilesClearFlash);
  EXPECT_EQ(W->FFlashSupport->SupportFiles->Count(), 0);
  EXPECT_EQ(W->FModified, 1);
}

}  // namespace
}  // namespace tq::testing
