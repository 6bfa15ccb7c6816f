// File > New for both project types, the save prompt before it, and the event
// rules the modified flag depends on.
#include <windows.h>

#include "MainWindowFixture.h"
#include "MergeItem.h"
#include "WorkspaceDialogs.h"
#include "associations.h"
#include "choices.h"
#include "evar.h"
#include "regentry.h"
#include "shortcut.h"

namespace tq::testing {
namespace {

using Captions = std::vector<std::string>;

template <class T>
T* Item(TTabControl* tabs, int index) {
  return dynamic_cast<T*>(tabs->Tabs().GetObjectAt(index));
}

// The number in a default name ("Registry12" -> 12).
int NameNumber(const std::string& name, const std::string& prefix) {
  EXPECT_EQ(name.rfind(prefix, 0), 0u) << name;
  return StrToIntDef(name.substr(prefix.size()), -1);
}

TEST_F(MainWindowTest, NewInstallPackageMakesDefaultItemsAndPlaceholders) {
  W->edProductName->SetText("Old Product");
  W->FModified = 0;
  W->InstallPackage1Click(W);

  EXPECT_EQ(W->edProductName->Text(), "");
  EXPECT_TRUE(W->rbPerMachine->Checked());
  EXPECT_EQ(TabCaptions(W->tcChoices), (Captions{"Core_Program", "Add A Sub-Choice"}));
  auto* core = Item<TChoice>(W->tcChoices, 0);
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(core->FName, "Core_Program");
  EXPECT_EQ(core->Title, "Core_Program");
  EXPECT_TRUE(core->Required);
  EXPECT_FALSE(core->Visible);
  EXPECT_EQ(core->Owner(), W);
  ASSERT_NE(Item<TChoice>(W->tcChoices, 1), nullptr);
  EXPECT_EQ(W->tcChoices->TabIndex(), 0);
  EXPECT_EQ(W->edNameChoices->Text(), "Core_Program");
  ASSERT_EQ(W->trChoices->Items().Count(), 2);
  EXPECT_EQ(W->trChoices->Items()[0]->Text(), "Choices");
  EXPECT_EQ(W->trChoices->Items()[1]->Text(), "Core_Program");
  EXPECT_EQ(W->trChoices->Selected(), W->trChoices->Items()[1]);

  // Each item page: a default item, then a placeholder holding the next one.
  auto* reg = Item<TRegEntry>(W->tcRegistry, 0);
  auto* regNext = Item<TRegEntry>(W->tcRegistry, 1);
  ASSERT_TRUE(reg && regNext);
  EXPECT_EQ(TabCaptions(W->tcRegistry), (Captions{reg->FName, "Add A Registry Entry"}));
  EXPECT_EQ(NameNumber(regNext->FName, "Registry"), NameNumber(reg->FName, "Registry") + 1);
  EXPECT_EQ(W->edNameRegistry->Text(), reg->FName);
  EXPECT_EQ(reg->Root, -1);

  auto* sc = Item<TRwiShortcut>(W->tcShortcuts, 0);
  ASSERT_NE(sc, nullptr);
  EXPECT_EQ(TabCaptions(W->tcShortcuts), (Captions{sc->Shortcut, "Add A Shortcut"}));
  EXPECT_EQ(W->edNameShortcut->Text(), sc->Shortcut);
  EXPECT_EQ(sc->FName, "");

  auto* ev = Item<TEVar>(W->tcEVar, 0);
  ASSERT_NE(ev, nullptr);
  EXPECT_EQ(TabCaptions(W->tcEVar), (Captions{ev->FName, "Add An Environment Variable"}));
  EXPECT_EQ(W->edNameEvar->Text(), ev->FName);

  auto* mm = Item<TMerge>(W->tcMergeModules, 0);
  ASSERT_NE(mm, nullptr);
  EXPECT_EQ(TabCaptions(W->tcMergeModules), (Captions{mm->FName, "Add A Merge Module"}));
  EXPECT_EQ(W->edNameMergeModules->Text(), mm->FName);

  auto* as = Item<TAssociation>(W->tcAssociations, 0);
  ASSERT_NE(as, nullptr);
  EXPECT_EQ(TabCaptions(W->tcAssociations), (Captions{as->FName, "Add A File Association"}));
  EXPECT_EQ(W->edNameAssociations->Text(), as->FName);
  for (TTabControl* t : {W->tcRegistry, W->tcShortcuts, W->tcEVar, W->tcMergeModules, W->tcAssociations})
    EXPECT_EQ(t->TabIndex(), 0) << t->Name();

  // Info captions, pages, settings.
  EXPECT_EQ(W->labProductName->Caption(), "Product Name");
  EXPECT_EQ(W->labProductVersion->Caption(), "Product Version");
  EXPECT_EQ(W->labPackageCode->Caption(), "Package Code");
  EXPECT_TRUE(W->edProductCode->Visible());
  EXPECT_TRUE(W->gbInstallPerUserOrPerMachine->Visible());
  EXPECT_FALSE(W->cbLanguage->Visible());
  EXPECT_TRUE(W->edNameChoices->Enabled());
  EXPECT_EQ(W->FHtmlPagesNames->Welcome, "TqWelcome.htm");
  EXPECT_EQ(W->FHtmlPagesNames->InstallType, "TqInstallType.htm");
  EXPECT_EQ(W->FHtmlPagesNames->OrigWelcome, "");
  ASSERT_NE(W->FFlashSupport->SupportFiles, nullptr);
  EXPECT_FALSE(W->ckbHtmlUi->Checked());
  EXPECT_TRUE(W->ckbLicenseHtml->Checked());
  EXPECT_FALSE(W->buGenerateThePages->Enabled());
  EXPECT_TRUE(W->ckbIncludeMsi->Checked());
  EXPECT_EQ(W->edVersionComparison->Text(), "< 2.0");
  EXPECT_EQ(BPOptionsDlg->FontDialog1->Font().Name(), "Verdana");
  EXPECT_EQ(BPOptionsDlg->FontDialog1->Font().Size(), 12);
  EXPECT_EQ(BPOptionsDlg->FontDialog1->Font().Color(), clBlue);
  EXPECT_EQ(BPOptionsDlg->FontDialog2->Font().Color(), clGreen);
  EXPECT_EQ(W->FModified, 0);
  EXPECT_TRUE(W->SaveAs1->Enabled());
  EXPECT_EQ(W->Caption(), "Untitled - Tarnquill - Install Project");
}

TEST_F(MainWindowTest, NewMergeModuleShowsTheModuleLayout) {
  std::string productCodeBefore = W->edProductCode->Text();
  W->MergeModule1Click(W);

  EXPECT_EQ(W->FProjectType, 1);
  EXPECT_EQ(W->Caption(), "Untitled - Tarnquill - Merge Module Project");
  EXPECT_EQ(W->FOutputFile, Dir + "Untitled.msm");
  EXPECT_EQ(ReadFileText(Dir + "Untitled.msm"), ReadFileText(Dir + "templatemsm.tpl"));
  EXPECT_EQ(W->labProductName->Caption(), "Merge Module Name");
  EXPECT_EQ(W->labProductVersion->Caption(), "Merge Module Version");
  EXPECT_EQ(W->labPackageCode->Caption(), "Merge Module Code");
  for (TControl* c : std::initializer_list<TControl*>{W->labManufacturer, W->edManufacturer, W->labProductCode,
                                                      W->edProductCode, W->buProductCodeGuid,
                                                      W->gbInstallPerUserOrPerMachine})
    EXPECT_FALSE(c->Visible()) << c->Name();
  EXPECT_TRUE(W->cbLanguage->Visible());
  EXPECT_TRUE(W->labLanguage->Visible());
  for (TControl* c : std::initializer_list<TControl*>{W->buAddChoices, W->buDeleteChoices, W->edNameChoices,
                                                      W->edDescriptionChoices})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_EQ(W->edProductCode->Text(), "");
  EXPECT_FALSE(W->edPackageCode->Text().empty());
  std::vector<std::string> log = LogSinceLastStart();
  EXPECT_EQ(log.back(), "New PackageCode : " + W->edPackageCode->Text());
  int productCodes = 0;
  for (const std::string& line : log) productCodes += line.rfind("New ProductCode", 0) == 0;
  EXPECT_EQ(productCodes, 1) << "the merge module makes no product code";

  // One choice, no placeholder.
  EXPECT_EQ(TabCaptions(W->tcChoices), (Captions{"Default Merge Module Choice"}));
  auto* choice = Item<TChoice>(W->tcChoices, 0);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->FName, "Default Merge Module Choice");
  EXPECT_EQ(choice->Title, "Default Merge Module Choice");
  EXPECT_EQ(choice->Description, "ADD ALL MERGE MODULE FILES TO THIS CHOICE");
  EXPECT_EQ(W->edNameChoices->Text(), "Default Merge Module Choice");
  EXPECT_EQ(W->edDescriptionChoices->Text(), "ADD ALL MERGE MODULE FILES TO THIS CHOICE");
  ASSERT_NE(W->trChoices->Selected(), nullptr);
  EXPECT_EQ(W->trChoices->Selected()->Text(), "Default Merge Module Choice");
  EXPECT_EQ(W->tcRegistry->Tabs()[1], "Add A Registry Entry");

  // The side bar ends with Modules and Build.
  TOutlookItems& items = W->Outlook1->Items();
  ASSERT_EQ(items.ItemCount(1), 9);
  EXPECT_EQ(items.GetItemCaption(1, 8), "Modules");
  EXPECT_EQ(items.GetItemCaption(1, 9), "Build");
  EXPECT_EQ(items.GetItemPicture(1, 9), W->FBuildItemPicture);
  EXPECT_EQ(W->FModified, 0);
  (void)productCodeBefore;
}

TEST_F(MainWindowTest, SwitchingTypesRestoresTheSideBarPicturesEachTime) {
  TOutlookItems& items = W->Outlook1->Items();
  TPicture* kept[] = {W->FGuiItemPicture, W->FMsiItemPicture, W->FBuildItemPicture, W->FUpdatesItemPicture};
  for (int round = 0; round < 2; ++round) {
    W->MergeModule1Click(W);
    W->MergeModule1Click(W);
    ASSERT_EQ(items.ItemCount(1), 9);
    EXPECT_EQ(items.GetItemPicture(1, 9), W->FBuildItemPicture);
    W->InstallPackage1Click(W);
    ASSERT_EQ(items.ItemCount(1), 12);
    const char* captions[] = {"Gui", "Msi", "Build", "Updates"};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(items.GetItemCaption(1, 9 + i), captions[i]);
      EXPECT_EQ(items.GetItemPicture(1, 9 + i), kept[i]);
      EXPECT_FALSE(kept[i]->Bitmap().Empty());
    }
  }
}

TEST_F(MainWindowTest, DefaultNameCountersGoOnAcrossNewProjects) {
  auto numbers = [this] {
    return std::vector<int>{NameNumber(Item<TRegEntry>(W->tcRegistry, 0)->FName, "Registry"),
                            NameNumber(Item<TRwiShortcut>(W->tcShortcuts, 0)->Shortcut, "Shortcut"),
                            NameNumber(Item<TEVar>(W->tcEVar, 0)->FName, "Environment"),
                            NameNumber(Item<TMerge>(W->tcMergeModules, 0)->FName, "Merge"),
                            NameNumber(Item<TAssociation>(W->tcAssociations, 0)->FName, "Association")};
  };
  std::vector<int> first = numbers();
  W->InstallPackage1Click(W);
  std::vector<int> second = numbers();
  for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(second[i], first[i] + 2) << i;  // item and placeholder
  EXPECT_EQ(TRegEntry::Counter, second[0] + 2);
}

template <class T>
int OwnedOfClass(TComponent* owner) {
  int n = 0;
  for (int i = 0; i < owner->ComponentCount(); ++i) n += dynamic_cast<T*>(owner->Components(i)) != nullptr;
  return n;
}

TEST_F(MainWindowTest, OldItemsAreFreedByNew) {
  for (int round = 0; round < 2; ++round) {
    W->InstallPackage1Click(W);
    EXPECT_EQ(OwnedOfClass<TChoice>(W), 2);
    EXPECT_EQ(OwnedOfClass<TRegEntry>(W), 2);
    EXPECT_EQ(OwnedOfClass<TRwiShortcut>(W), 2);
    EXPECT_EQ(OwnedOfClass<TEVar>(W), 2);
    EXPECT_EQ(OwnedOfClass<TMerge>(W), 2);
    EXPECT_EQ(OwnedOfClass<TAssociation>(W), 2);
    EXPECT_EQ(OwnedOfClass<THtmlPagesNames>(W), 1);
  }
  W->MergeModule1Click(W);
  EXPECT_EQ(OwnedOfClass<TChoice>(W), 1);
}

TEST_F(MainWindowTest, EditTextFiresChangeButItemIndexAndTabIndexFireNothing) {
  ASSERT_EQ(W->FModified, 0);
  W->FVersionEdited = 0;
  W->cbLanguage->SetItemIndex(0);
  W->tcRegistry->SetTabIndex(1);
  W->PageControl1->SetActivePage(W->TabSheet1);
  EXPECT_EQ(W->FModified, 0);
  EXPECT_EQ(W->FVersionEdited, 0);
  W->edProductVersion->SetText("");  // unchanged text: no event
  EXPECT_EQ(W->FModified, 0);
  W->edProductVersion->SetText("1.0.0");
  EXPECT_EQ(W->FModified, 1);
  EXPECT_EQ(W->FVersionEdited, 1);
  W->FModified = 0;
  W->edManufacturer->SetText("Quorvel");
  EXPECT_EQ(W->FModified, 1);
}

TEST_F(MainWindowTest, NewWithoutChangesAsksNothing) {
  W->InstallPackage1Click(W);
  EXPECT_TRUE(Prompts.Asked().empty());
}

struct NewPromptCase {
  const char* Name;
  bool HasFile;
  int Answer;        // to the save prompt
  int SaveDialog;    // mrNone: not shown
  bool WriterFails;
  bool NewDone;
  int Writes;
};

void PrintTo(const NewPromptCase& c, std::ostream* os) { *os << c.Name; }

class NewSavePromptTest : public MainWindowTest, public ::testing::WithParamInterface<NewPromptCase> {};

TEST_P(NewSavePromptTest, SavesOrKeepsTheOpenProject) {
  const NewPromptCase& c = GetParam();
  int writes = 0;
  std::string written;
  W->ProjectWriter = [&](const std::string& file) {
    if (c.WriterFails) throw Exception("disk full");
    ++writes;
    written = file;
  };
  W->edProductName->SetText("Kept Product");
  ASSERT_EQ(W->FModified, 1);
  if (c.HasFile) W->FProjectFile = Dir + "Kept.ipr";
  Prompts.Expect(pkMessageDlg, "Do you want to save it?", c.Answer);
  if (c.SaveDialog != mrNone)
    Prompts.Expect(TExpectedPrompt(pkModalForm, "SaveDialog1", c.SaveDialog, {},
                                   [this] { W->SaveDialog1->FileName = Dir + "Chosen.ipr"; }));
  if (c.WriterFails) Prompts.Expect(pkMessageBox, "disk full", IDOK);
  W->MergeModule1Click(W);
  EXPECT_EQ(writes, c.Writes);
  if (c.Writes) {
    EXPECT_EQ(written, c.HasFile ? Dir + "Kept.ipr" : Dir + "Chosen.ipr");
  }
  if (c.NewDone) {
    EXPECT_EQ(W->FProjectType, 1);
    EXPECT_EQ(W->edProductName->Text(), "");
    EXPECT_EQ(W->FModified, 0);
  } else {
    EXPECT_EQ(W->FProjectType, 0);
    EXPECT_EQ(W->edProductName->Text(), "Kept Product");
    EXPECT_EQ(W->FModified, 1);
  }
  ASSERT_FALSE(Prompts.Asked().empty());
  EXPECT_EQ(Prompts.Asked()[0].DlgType, mtConfirmation);
  EXPECT_EQ(Prompts.Asked()[0].Buttons, mbYesNoCancel);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NewSavePromptTest,
    ::testing::Values(NewPromptCase{"No", true, mrNo, mrNone, false, true, 0},
                      NewPromptCase{"Cancel", true, mrCancel, mrNone, false, false, 0},
                      NewPromptCase{"YesSaved", true, mrYes, mrNone, false, true, 1},
                      NewPromptCase{"YesSaveFails", true, mrYes, mrNone, true, false, 0},
                      NewPromptCase{"YesSaveAsCancelled", false, mrYes, mrCancel, false, false, 0},
                      NewPromptCase{"YesSaveAsDone", false, mrYes, mrOk, false, true, 1}),
    [](const ::testing::TestParamInfo<NewPromptCase>& i) { return std::string(i.param.Name); });

}  // namespace
}  // namespace tq::testing
