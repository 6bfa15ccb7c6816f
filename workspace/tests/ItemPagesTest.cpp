// The item pages as a user walks them: tabs and placeholders, the editors'
// writes, the choice tree, the delete buttons, the name checks, the directory
// tree and the Choices page's file lists.
#include <windows.h>

#include "MainWindowFixture.h"
#include "MergeItem.h"
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

void PickTab(TRWInstallForm* w, TTabControl* tabs, int index) {
  tabs->SetTabIndex(index);
  w->tcChoicesChange(tabs);
}

void Type(TEdit* edit, const std::string& text) { edit->SetText(text); }

std::vector<std::string> Lines(TStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

// A source file of the product being packaged (the pages never open it).
std::string FixtureFile(const std::string& name) { return "C:\\Product\\" + name; }

// The Choices page's directory list as the page set-up shows it.
void ShowDirectories(TRWInstallForm* w, const std::vector<std::pair<std::string, int>>& dirs) {
  w->lbDirectories->Items().Clear();
  w->FDirNodeNames->Clear();
  for (const auto& [name, level] : dirs) {
    w->lbDirectories->Items().Add(std::string(4 * level, ' ') + name);
    w->FDirNodeNames->Add(name);
  }
}

// What a user does to a control, sent to its own window: the control's
// notification comes back through its parent as for a real click.
void Choose(TComboBox* box, int index) {
  SendMessageA(box->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(box->Handle()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box->Handle()));
}
void Choose(TListBox* list, int index) {
  SendMessageA(list->Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(list->Handle()), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list->Handle()));
}
void Choose(TTabControl* tabs, int index) {
  SendMessageA(tabs->Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR header{tabs->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(GetParent(tabs->Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}
void Press(TWinControl* button) { SendMessageA(button->Handle(), BM_CLICK, 0, 0); }
void TypeKey(TEdit* edit, char key) { SendMessageA(edit->Handle(), WM_CHAR, static_cast<WPARAM>(key), 0); }

// The main window's fixture under this program's own name.
class ItemPagesTest : public MainWindowTest {};

TEST_F(ItemPagesTest, SubChoiceJoinsTheTreeUnderTheSelectedChoice) {
  W->FModified = 0;
  PickTab(W, W->tcChoices, 1);
  auto* added = Item<TChoice>(W->tcChoices, 1);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(TabCaptions(W->tcChoices), (Captions{"Core_Program", added->FName, "Add A Sub-Choice"}));
  EXPECT_EQ(W->edNameChoices->Text(), added->FName);
  TTreeNode* node = W->trChoices->Selected();
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->Text(), added->FName);
  ASSERT_NE(node->Parent(), nullptr);
  EXPECT_EQ(node->Parent()->Text(), "Core_Program");
  EXPECT_EQ(W->FModified, 0) << "filling the editors is no edit";
  EXPECT_TRUE(W->ckbRequired->Enabled());
  EXPECT_TRUE(W->buDeleteChoices->Enabled());
  EXPECT_FALSE(W->buAddFiles->Enabled());

  // Renaming: choice, tab and node follow, an item naming it does not.
  auto* reg = Item<TRegEntry>(W->tcRegistry, 0);
  reg->Choice = added->FName;
  std::string oldName = added->FName;
  Type(W->edNameChoices, "Docs");
  EXPECT_EQ(added->FName, "Docs");
  EXPECT_EQ(added->Title, "Docs");
  EXPECT_EQ(W->tcChoices->Tabs()[1], "Docs");
  EXPECT_EQ(node->Text(), "Docs");
  EXPECT_EQ(reg->Choice, oldName);
  EXPECT_EQ(W->FModified, 1);

  // The fields and boxes write through.
  Type(W->edDescriptionChoices, "The manuals");
  W->ckbTypical->SetChecked(true);
  EXPECT_EQ(added->Description, "The manuals");
  EXPECT_TRUE(added->Typical);

  // The core choice's boxes are locked; clicking the top node selects no tab.
  W->trChoices->SetSelected(W->trChoices->Items().GetFirstNode()->getFirstChild());
  W->trChoicesClick(W->trChoices);
  EXPECT_EQ(W->tcChoices->TabIndex(), 0);
  EXPECT_FALSE(W->ckbRequired->Enabled());
  W->trChoices->SetSelected(W->trChoices->Items().GetFirstNode());
  W->trChoicesClick(W->trChoices);
  EXPECT_EQ(W->tcChoices->TabIndex(), -1);
  EXPECT_FALSE(W->edNameChoices->Enabled());
  EXPECT_EQ(W->edNameChoices->Text(), "");
  // Without a tab the editors touch nothing.
  W->FModified = 0;
  W->buDeleteChoicesClick(W);
  Type(W->edDescriptionChoices, "x");
  EXPECT_EQ(W->FModified, 0);
  EXPECT_EQ(W->tcChoices->Tabs().Count(), 3);
}

TEST_F(ItemPagesTest, NameChecksWarnAndStillTakeTheKey) {
  struct Case {
    TTabControl* TRWInstallForm::*Tabs;
    TEdit* TRWInstallForm::*Field;
    void (TRWInstallForm::*KeyPress)(TObject*, char&);
    const char* Message;
  };
  const Case cases[] = {
      {&TRWInstallForm::tcChoices, &TRWInstallForm::edNameChoices, &TRWInstallForm::edNameChoicesKeyPress,
       "for this choice is the same as another choice"},
      {&TRWInstallForm::tcRegistry, &TRWInstallForm::edNameRegistry, &TRWInstallForm::edNameRegistryKeyPress,
       "for this registry entry is the same"},
      {&TRWInstallForm::tcShortcuts, &TRWInstallForm::edNameShortcut, &TRWInstallForm::edNameShortcutKeyPress,
       "for this shortcut is the same"},
      {&TRWInstallForm::tcEVar, &TRWInstallForm::edNameEvar, &TRWInstallForm::edNameEvarKeyPress,
       "for this environment entry is the same"},
      {&TRWInstallForm::tcMergeModules, &TRWInstallForm::edNameMergeModules,
       &TRWInstallForm::edNameMergeModulesKeyPress, "for this merge module entry is the same"},
      {&TRWInstallForm::tcAssociations, &TRWInstallForm::edNameAssociations,
       &TRWInstallForm::edNameAssociationsKeyPress, "for this file association entry is the same"},
  };
  for (const Case& c : cases) {
    TTabControl* tabs = W->*c.Tabs;
    TEdit* field = W->*c.Field;
    PickTab(W, tabs, tabs->Tabs().Count() - 1);  // a second item
    std::string other = tabs->Tabs()[0];
    ASSERT_GE(other.size(), 2u);
    Type(field, other.substr(0, other.size() - 1));
    Prompts.Expect(pkMessageDlg, c.Message, mrOk);
    char key = other.back();
    (W->*c.KeyPress)(field, key);
    EXPECT_EQ(key, other.back()) << "the key is accepted";
    // A key that makes no clash asks nothing.
    key = '#';
    (W->*c.KeyPress)(field, key);
  }
  Prompts.Check();
}

TEST_F(ItemPagesTest, RegistryPlaceholderTurnsIntoTheNextEntryAndDeleteLeavesADefault) {
  W->FModified = 0;
  auto* first = Item<TRegEntry>(W->tcRegistry, 0);
  int firstNumber = StrToIntDef(first->FName.substr(std::string("Registry").size()), -1);
  PickTab(W, W->tcRegistry, 1);
  auto* second = Item<TRegEntry>(W->tcRegistry, 1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(StrToIntDef(second->FName.substr(std::string("Registry").size()), -1), firstNumber + 1);
  EXPECT_EQ(TabCaptions(W->tcRegistry), (Captions{first->FName, second->FName, "Add A Registry Entry"}));
  EXPECT_EQ(W->edNameRegistry->Text(), second->FName);

  W->cbChoicesRegistry->Items().Clear();
  W->cbChoicesRegistry->Items().Add("Core_Program");
  W->cbRoot->SetItemIndex(2);
  W->cbRootClick(W->cbRoot);
  Type(W->edValName, "Path");
  Type(W->edValValue, "[TARGETDIR]");
  W->cbKey->SetText("Software\\Tarnquill");
  W->cbKeyChange(W->cbKey);
  W->cbChoicesRegistry->SetItemIndex(0);
  W->cbChoicesRegistryClick(W->cbChoicesRegistry);
  Type(W->edNameRegistry, "AppPath");
  EXPECT_EQ(second->Root, 2);
  EXPECT_EQ(second->Key, "Software\\Tarnquill");
  EXPECT_EQ(second->ValName, "Path");
  EXPECT_EQ(second->ValValue, "[TARGETDIR]");
  EXPECT_EQ(second->Choice, "Core_Program");
  EXPECT_EQ(W->tcRegistry->Tabs()[1], "AppPath");
  EXPECT_EQ(W->FModified, 1);

  // Back on the first entry the editors show it again, no choice selected.
  PickTab(W, W->tcRegistry, 0);
  EXPECT_EQ(W->edNameRegistry->Text(), first->FName);
  EXPECT_EQ(W->cbRoot->ItemIndex(), -1);
  EXPECT_EQ(W->cbChoicesRegistry->ItemIndex(), -1);

  W->buDeleteRegistryClick(W);
  W->buDeleteRegistryClick(W);
  ASSERT_EQ(W->tcRegistry->Tabs().Count(), 2);
  EXPECT_EQ(W->tcRegistry->Tabs()[1], "Add A Registry Entry");
  EXPECT_NE(W->tcRegistry->Tabs()[0], "Add A Registry Entry");
  EXPECT_EQ(W->tcRegistry->TabIndex(), 0);
}

TEST_F(ItemPagesTest, ShortcutEnvironmentAndModuleEditorsWriteTheirItems) {
  auto* core = Item<TChoice>(W->tcChoices, 0);
  core->Files->AddIntObject(FixtureFile("app.exe"), 0);
  core->Directories->Add("<Home Directory>");
  W->cbChoicesShortcuts->Items().Clear();
  W->cbChoicesShortcuts->Items().Add("Core_Program");
  ShowDirectories(W, {{"<Home Directory>", 0}, {"bin", 1}});
  W->cbDirectoryShortcuts->Items().Assign(*W->FDirNodeNames);
  W->cbWkDir->Items().Assign(*W->FDirNodeNames);
  auto* shortcut = Item<TRwiShortcut>(W->tcShortcuts, 0);
  shortcut->Choice = "Core_Program";
  W->FModified = 0;
  PickTab(W, W->tcShortcuts, 0);
  // The choice's only file is picked as a click picks it.
  EXPECT_EQ(W->lbFilesShortcuts->ItemIndex(), 0);
  EXPECT_EQ(shortcut->Target, FixtureFile("app.exe"));
  EXPECT_EQ(shortcut->FName, "app.exe");
  EXPECT_EQ(W->FModified, 1);
  W->cbDirectoryShortcuts->SetItemIndex(1);
  W->cbDirectoryShortcutsClick(W->cbDirectoryShortcuts);
  W->cbWkDir->SetItemIndex(1);
  W->cbWkDirClick(W->cbWkDir);
  W->cbShowCmd->SetItemIndex(2);
  W->cbShowCmdClick(W->cbShowCmd);
  Type(W->edArguments, "/q");
  EXPECT_EQ(shortcut->Directory, "bin");
  EXPECT_EQ(shortcut->WkDir, "bin");
  EXPECT_EQ(shortcut->ShowCmd, 2);
  EXPECT_EQ(shortcut->Arguments, "/q");

  auto* evar = Item<TEVar>(W->tcEVar, 0);
  PickTab(W, W->tcEVar, 0);
  W->cbValueEVar->SetText("<Home Directory>");
  W->cbValueEVarChange(W->cbValueEVar);
  W->ckbNoAction->SetChecked(true);
  W->rgType->SetItemIndex(1);
  W->rgTypeClick(W->rgType);
  W->rgHowToInstall->SetItemIndex(0);
  W->rgHowToInstallClick(W->rgHowToInstall);
  Type(W->edNameEvar, "TQHOME");
  EXPECT_EQ(evar->Value, "<Home Directory>");
  EXPECT_TRUE(evar->NoAction);
  EXPECT_EQ(evar->TheType, 1);
  EXPECT_EQ(evar->HowToInstall, 0);
  EXPECT_EQ(W->tcEVar->Tabs()[0], "TQHOME");

  auto* merge = Item<TMerge>(W->tcMergeModules, 0);
  W->cbDirectoryMergeModules->Items().Assign(*W->FDirNodeNames);
  W->cbLanguageMergeModules->Items().Clear();
  W->cbLanguageMergeModules->Items().AddIntObject("German", 1031);
  PickTab(W, W->tcMergeModules, 0);
  EXPECT_EQ(W->cbLanguageMergeModules->ItemIndex(), -1);
  Type(W->edMergeModule, FixtureFile("runtime.msm"));
  W->cbLanguageMergeModules->SetItemIndex(0);
  W->cbLanguageMergeModulesClick(W->cbLanguageMergeModules);
  W->cbDirectoryMergeModules->SetItemIndex(1);
  W->cbDirectoryMergeModulesClick(W->cbDirectoryMergeModules);
  EXPECT_EQ(merge->MergeModule, FixtureFile("runtime.msm"));
  EXPECT_EQ(merge->Language, 1031);
  EXPECT_EQ(merge->Directory, "bin");
  W->cbLanguageMergeModules->SetItemIndex(-1);
  W->cbLanguageMergeModulesClick(W->cbLanguageMergeModules);
  EXPECT_EQ(merge->Language, 1033);
}

TEST_F(ItemPagesTest, AssociationEditorsWriteTheirItemAndDeleteLeavesThePlaceholder) {
  auto* core = Item<TChoice>(W->tcChoices, 0);
  core->Files->AddIntObject(FixtureFile("app.exe"), 0);
  core->Directories->Add("<Home Directory>");
  TChoice* docs = nullptr;
  PickTab(W, W->tcChoices, 1);  // the placeholder becomes a second choice
  docs = Item<TChoice>(W->tcChoices, 1);
  ASSERT_NE(docs, nullptr);
  docs->Files->AddIntObject(FixtureFile("tool.exe"), 0);
  docs->Directories->Add("<Home Directory>");
  docs->Files->AddIntObject(FixtureFile("app.exe"), 0);
  docs->Directories->Add("<Home Directory>");
  W->cbChoicesAssociations->Items().Clear();
  W->cbChoicesAssociations->Items().Add("Core_Program");
  W->cbChoicesAssociations->Items().Add(docs->FName);

  PickTab(W, W->tcAssociations, 0);
  auto* association = Item<TAssociation>(W->tcAssociations, 0);
  ASSERT_NE(association, nullptr);
  W->FModified = 0;
  Type(W->edNameAssociations, "Tool Files");
  Type(W->edExtensionAssociations, ".tq");
  Type(W->edDescriptionAssociations, "Tool document");
  Type(W->edIconIndexAssociations, "2");
  EXPECT_EQ(association->FName, "Tool Files");
  EXPECT_EQ(W->tcAssociations->Tabs()[0], "Tool Files");
  EXPECT_EQ(association->Extension, ".tq");
  EXPECT_EQ(association->Description, "Tool document");
  EXPECT_EQ(association->IconIndex, "2");
  EXPECT_EQ(W->FModified, 1);

  // A choice with one file: chosen without a click in the file list.
  W->cbChoicesAssociations->SetItemIndex(0);
  W->cbChoicesAssociationsClick(W->cbChoicesAssociations);
  EXPECT_EQ(association->Choice, "Core_Program");
  EXPECT_EQ(association->FileName, FixtureFile("app.exe"));
  EXPECT_EQ(W->lbFilesAssociations->ItemIndex(), 0);
  // A choice with two files: nothing chosen until a file is clicked.
  W->cbChoicesAssociations->SetItemIndex(1);
  W->cbChoicesAssociationsClick(W->cbChoicesAssociations);
  EXPECT_EQ(association->Choice, docs->FName);
  EXPECT_EQ(Lines(W->lbFilesAssociations->Items()), (Captions{FixtureFile("tool.exe"), FixtureFile("app.exe")}));
  EXPECT_EQ(W->lbFilesAssociations->ItemIndex(), 1) << "the file chosen before is still chosen";
  W->lbFilesAssociations->SetItemIndex(0);
  W->lbFilesAssociationsClick(W->lbFilesAssociations);
  EXPECT_EQ(association->FileName, FixtureFile("tool.exe"));

  // Filling the editors from another tab writes nothing back.
  PickTab(W, W->tcAssociations, 1);  // the placeholder becomes a second association
  EXPECT_EQ(association->FName, "Tool Files");
  EXPECT_EQ(association->Extension, ".tq");

  // Deleting every real association: the tab change on the placeholder, now the
  // first tab, turns it into a fresh default association, as on the other pages.
  PickTab(W, W->tcAssociations, 0);
  W->buDeleteAssociationsClick(W->buDeleteAssociations);
  EXPECT_EQ(W->tcAssociations->Tabs().Count(), 2);
  W->buDeleteAssociationsClick(W->buDeleteAssociations);
  ASSERT_EQ(W->tcAssociations->Tabs().Count(), 2);
  EXPECT_EQ(W->tcAssociations->Tabs()[1], "Add A File Association");
  EXPECT_EQ(W->tcAssociations->TabIndex(), 0);
  auto* fresh = Item<TAssociation>(W->tcAssociations, 0);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->Extension, "");
  EXPECT_EQ(W->edExtensionAssociations->Text(), "");
  // The placeholder itself is never deleted; the click still marks the project.
  PickTab(W, W->tcAssociations, 1);
  W->tcAssociations->SetTabIndex(2);
  W->FModified = 0;
  W->buDeleteAssociationsClick(W->buDeleteAssociations);
  EXPECT_EQ(W->tcAssociations->Tabs().Count(), 3);
  EXPECT_EQ(W->FModified, 1);
}

// Every editor of the item pages and the directory tree, used through its own
// window as a user uses it, reaches the item it edits: the handlers the
// layout names are the ones the controls run.
TEST_F(ItemPagesTest, EveryEditorReachesItsItemThroughItsOwnWindow) {
  auto* core = Item<TChoice>(W->tcChoices, 0);
  core->Files->AddIntObject(FixtureFile("app.exe"), 0);
  core->Directories->Add("<Home Directory>");
  W->trTargetDir->Items().AddChild(W->trTargetDir->Items().GetFirstNode(), "bin");

  // Choices: choosing the placeholder tab makes a second choice.
  W->DoChoices();
  Choose(W->tcChoices, 1);
  auto* choice = Item<TChoice>(W->tcChoices, 1);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(W->tcChoices->Tabs().Count(), 3);
  W->FModified = 0;
  W->edNameChoices->SetText("Docs");
  W->edDescriptionChoices->SetText("The manuals");
  for (TCheckBox* box : {W->ckbRequired, W->ckbTypical, W->ckbVisible}) Press(box);
  EXPECT_EQ(choice->FName, "Docs");
  EXPECT_EQ(choice->Description, "The manuals");
  EXPECT_TRUE(choice->Required);
  EXPECT_TRUE(choice->Typical);
  EXPECT_FALSE(choice->Visible);
  EXPECT_EQ(W->FModified, 1);
  // The core choice's file, listed under its directory, gets its flag ticked.
  Choose(W->tcChoices, 0);
  Choose(W->lbDirectories, 0);
  ASSERT_EQ(W->lbFiles->Items().Count(), 1);
  W->lbFiles->SetItemIndex(0);
  W->lbFiles->SetChecked(0, true);
  SendMessageA(GetParent(W->lbFiles->Handle()), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(W->lbFiles->Handle()));
  EXPECT_EQ(core->Files->GetIntObject(0), 1);

  W->DoRegistry();
  Choose(W->tcRegistry, 1);
  auto* entry = Item<TRegEntry>(W->tcRegistry, 1);
  ASSERT_NE(entry, nullptr);
  W->edNameRegistry->SetText("AppPath");
  Choose(W->cbRoot, 2);
  Choose(W->cbKey, 0);
  W->edValName->SetText("Path");
  W->edValValue->SetText("[TARGETDIR]");
  Choose(W->cbChoicesRegistry, 1);
  EXPECT_EQ(W->tcRegistry->Tabs()[1], "AppPath");
  EXPECT_EQ(entry->FName, "AppPath");
  EXPECT_EQ(entry->Root, 2);
  EXPECT_EQ(entry->Key, W->cbKey->Items()[0]);
  EXPECT_EQ(entry->ValName, "Path");
  EXPECT_EQ(entry->ValValue, "[TARGETDIR]");
  EXPECT_EQ(entry->Choice, "Docs");

  W->DoShortcuts();
  Choose(W->tcShortcuts, 1);
  auto* shortcut = Item<TRwiShortcut>(W->tcShortcuts, 1);
  ASSERT_NE(shortcut, nullptr);
  W->edNameShortcut->SetText("Start App");
  Choose(W->cbChoicesShortcuts, 0);  // its only file is picked at once
  EXPECT_EQ(shortcut->Target, FixtureFile("app.exe"));
  shortcut->Target.clear();
  Choose(W->lbFilesShortcuts, 0);
  Choose(W->cbDirectoryShortcuts, 1);
  Choose(W->cbWkDir, 1);
  Choose(W->cbShowCmd, 2);
  W->edArguments->SetText("/q");
  W->edDescriptionShortcuts->SetText("Starts the program");
  EXPECT_EQ(W->tcShortcuts->Tabs()[1], "Start App");
  EXPECT_EQ(shortcut->Shortcut, "Start App");
  EXPECT_EQ(shortcut->Choice, "Core_Program");
  EXPECT_EQ(shortcut->Target, FixtureFile("app.exe"));
  EXPECT_EQ(shortcut->FName, "app.exe");
  EXPECT_EQ(shortcut->Directory, "bin");
  EXPECT_EQ(shortcut->WkDir, "bin");
  EXPECT_EQ(shortcut->ShowCmd, 2);
  EXPECT_EQ(shortcut->Arguments, "/q");
  EXPECT_EQ(shortcut->Description, "Starts the program");

  W->DoEnvironment();
  Choose(W->tcEVar, 1);
  auto* evar = Item<TEVar>(W->tcEVar, 1);
  ASSERT_NE(evar, nullptr);
  W->edNameEvar->SetText("TQHOME");
  Choose(W->cbValueEVar, 0);
  Choose(W->cbChoicesEvar, 1);
  Press(W->ckbNoAction);
  Press(W->ckbDelete);
  Press(W->rgHowToInstall->Buttons(0));
  Press(W->rgType->Buttons(1));
  EXPECT_EQ(W->tcEVar->Tabs()[1], "TQHOME");
  EXPECT_EQ(evar->FName, "TQHOME");
  EXPECT_EQ(evar->Value, "<Home Directory>");
  EXPECT_EQ(evar->Choice, "Docs");
  EXPECT_TRUE(evar->NoAction);
  EXPECT_FALSE(evar->Delete);
  EXPECT_EQ(evar->HowToInstall, 0);
  EXPECT_EQ(evar->TheType, 1);

  W->DoModules();
  Choose(W->tcMergeModules, 1);
  auto* merge = Item<TMerge>(W->tcMergeModules, 1);
  ASSERT_NE(merge, nullptr);
  W->edNameMergeModules->SetText("Runtime");
  Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDialog3", mrOk, {},
                                 [this] { W->OpenDialog3->FileName = FixtureFile("runtime.msm"); }));
  Press(W->buBrowseMergeModules);
  Choose(W->cbDirectoryMergeModules, 1);
  Choose(W->cbChoicesMergeModules, 1);
  ASSERT_GT(W->cbLanguageMergeModules->Items().Count(), 1);
  Choose(W->cbLanguageMergeModules, 1);
  EXPECT_EQ(W->tcMergeModules->Tabs()[1], "Runtime");
  EXPECT_EQ(merge->FName, "Runtime");
  EXPECT_EQ(merge->MergeModule, FixtureFile("runtime.msm"));
  EXPECT_EQ(merge->Directory, "bin");
  EXPECT_EQ(merge->Choice, "Docs");
  EXPECT_EQ(merge->Language, W->cbLanguageMergeModules->Items().GetIntObject(1));

  W->DoAssociations();
  Choose(W->tcAssociations, 1);
  auto* association = Item<TAssociation>(W->tcAssociations, 1);
  ASSERT_NE(association, nullptr);
  W->edNameAssociations->SetText("Tool Files");
  W->edExtensionAssociations->SetText(".tq");
  W->edDescriptionAssociations->SetText("Tool document");
  W->edIconIndexAssociations->SetText("2");
  Choose(W->cbChoicesAssociations, 0);  // its only file is picked at once
  EXPECT_EQ(association->FileName, FixtureFile("app.exe"));
  association->FileName.clear();
  Choose(W->lbFilesAssociations, 0);
  EXPECT_EQ(W->tcAssociations->Tabs()[1], "Tool Files");
  EXPECT_EQ(association->FName, "Tool Files");
  EXPECT_EQ(association->Extension, ".tq");
  EXPECT_EQ(association->Description, "Tool document");
  EXPECT_EQ(association->IconIndex, "2");
  EXPECT_EQ(association->Choice, "Core_Program");
  EXPECT_EQ(association->FileName, FixtureFile("app.exe"));

  // The name checks: a key that makes another tab's caption warns.
  struct TNameCase {
    TTabControl* Tabs;
    TEdit* Field;
  };
  for (const TNameCase& c : {TNameCase{W->tcChoices, W->edNameChoices}, TNameCase{W->tcRegistry, W->edNameRegistry},
                             TNameCase{W->tcShortcuts, W->edNameShortcut}, TNameCase{W->tcEVar, W->edNameEvar},
                             TNameCase{W->tcMergeModules, W->edNameMergeModules},
                             TNameCase{W->tcAssociations, W->edNameAssociations}}) {
    SCOPED_TRACE(c.Field->Name());
    Choose(c.Tabs, 1);
    const std::string other = c.Tabs->Tabs()[0];
    c.Field->SetText(other.substr(0, other.size() - 1));
    Prompts.Expect(pkMessageDlg, "is the same as another", mrOk);
    TypeKey(c.Field, other.back());
    Prompts.Check();
  }

  // The delete buttons take the selected item.
  struct TDeleteCase {
    TTabControl* Tabs;
    TButton* Delete;
  };
  for (const TDeleteCase& c :
       {TDeleteCase{W->tcRegistry, W->buDeleteRegistry}, TDeleteCase{W->tcShortcuts, W->buShortcutsDelete},
        TDeleteCase{W->tcEVar, W->buEVarDelete}, TDeleteCase{W->tcMergeModules, W->buDeleteMergeModules},
        TDeleteCase{W->tcAssociations, W->buDeleteAssociations}, TDeleteCase{W->tcChoices, W->buDeleteChoices}}) {
    const int count = c.Tabs->Tabs().Count();
    Choose(c.Tabs, 1);
    Press(c.Delete);
    EXPECT_EQ(c.Tabs->Tabs().Count(), count - 1) << c.Delete->Name();
  }

  // The directory tree: its buttons, its pop-up and its in-place editing.
  TTreeNode* home = W->trTargetDir->Items().GetFirstNode();
  W->trTargetDir->SetSelected(home);
  const int nodes = W->trTargetDir->Items().Count();
  Press(W->buTargetDirectoriesAdd);
  EXPECT_EQ(W->trTargetDir->Items().Count(), nodes + 1);
  bool allow = true;
  W->trTargetDir->OnEditing(W->trTargetDir, home, allow);
  EXPECT_FALSE(allow) << "the home folder keeps its name";
  std::string text;
  W->FModified = 0;
  W->trTargetDir->OnEdited(W->trTargetDir, home->Item(0), text);
  EXPECT_EQ(text, home->Item(0)->Text()) << "an empty name is refused";
  W->FSelectedDirNode = home->Item(0);
  W->RemoveNode1->Click();
  EXPECT_EQ(W->trTargetDir->Items().Count(), nodes);
  W->FSelectedDirNode = home;
  W->AddChildNode1->Click();
  EXPECT_EQ(W->trTargetDir->Items().Count(), nodes + 1);
  Prompts.Check();
}

TEST_F(ItemPagesTest, DeletingAChoiceTakesItsSubtreeAndOnlyItsOwnTabs) {
  PickTab(W, W->tcChoices, 1);  // A under Core_Program
  Type(W->edNameChoices, "A");
  PickTab(W, W->tcChoices, 2);  // B under A
  Type(W->edNameChoices, "B");
  // A second top-level-free choice that happens to be called "B" as well.
  W->trChoices->SetSelected(W->trChoices->Items().GetFirstNode()->getFirstChild());
  W->trChoicesClick(W->trChoices);
  PickTab(W, W->tcChoices, 3);
  auto* otherB = Item<TChoice>(W->tcChoices, 3);
  Type(W->edNameChoices, "B");
  ASSERT_EQ(TabCaptions(W->tcChoices), (Captions{"Core_Program", "A", "B", "B", "Add A Sub-Choice"}));

  TTreeNode* a = W->trChoices->Items().GetFirstNode()->getFirstChild()->getFirstChild();
  ASSERT_EQ(a->Text(), "A");
  W->trChoices->SetSelected(a);
  W->trChoicesClick(W->trChoices);
  ASSERT_EQ(W->tcChoices->TabIndex(), 1);
  W->FModified = 0;
  W->buDeleteChoicesClick(W);
  EXPECT_EQ(TabCaptions(W->tcChoices), (Captions{"Core_Program", "B", "Add A Sub-Choice"}));
  EXPECT_EQ(Item<TChoice>(W->tcChoices, 1), otherB) << "the first tab captioned B was A's child";
  EXPECT_EQ(W->tcChoices->TabIndex(), 0);
  EXPECT_EQ(W->trChoices->Selected()->Text(), "Core_Program");
  EXPECT_EQ(W->FModified, 1);
  // The tree keeps Choices > Core_Program > B (the second one).
  EXPECT_EQ(W->trChoices->Items().Count(), 3);

  // Deleting every choice of an install package turns the placeholder.
  W->buDeleteChoicesClick(W);
  W->tcChoices->SetTabIndex(0);
  W->buDeleteChoicesClick(W);
  ASSERT_EQ(W->tcChoices->Tabs().Count(), 2);
  EXPECT_EQ(W->tcChoices->Tabs()[1], "Add A Sub-Choice");
}

TEST_F(ItemPagesTest, MergeModuleKeepsItsOnlyChoice) {
  W->MergeModule1Click(W);
  ASSERT_EQ(W->tcChoices->Tabs().Count(), 1);
  auto* only = Item<TChoice>(W->tcChoices, 0);
  PickTab(W, W->tcChoices, 0);
  EXPECT_EQ(W->tcChoices->Tabs().Count(), 1) << "a merge module has no placeholder to turn";
  W->buDeleteChoicesClick(W);
  ASSERT_EQ(W->tcChoices->Tabs().Count(), 1);
  EXPECT_EQ(Item<TChoice>(W->tcChoices, 0), only);
  // An empty list (as a damaged file could leave it) crashes nothing.
  TObject* choice = W->tcChoices->Tabs().GetObjectAt(0);
  W->tcChoices->Tabs().PutObjectAt(0, nullptr);
  W->tcChoices->Tabs().Delete(0);
  delete choice;
  PickTab(W, W->tcChoices, -1);
  W->buDeleteChoicesClick(W);
  Type(W->edNameChoices, "x");
  W->trChoicesClick(W->trChoices);
  EXPECT_EQ(W->tcChoices->Tabs().Count(), 0);
}

TEST_F(ItemPagesTest, FilesOfADirectoryListAndDeleteOnlyThatDirectorysEntries) {
  auto* core = Item<TChoice>(W->tcChoices, 0);
  const std::string app = FixtureFile("app.exe"), readme = FixtureFile("readme.txt"),
                    lib = FixtureFile("a-rather-long-name.dll");
  // app.exe is installed twice: into the home folder and into bin.
  core->Files->AddIntObject(app, 0);
  core->Directories->Add("<Home Directory>");
  core->Files->AddIntObject(readme, 0);
  core->Directories->Add("bin");
  core->Files->AddIntObject(app, 1);
  core->Directories->Add("bin");
  core->Files->AddIntObject(lib, 1);
  core->Directories->Add("Bin");
  ShowDirectories(W, {{"<Home Directory>", 0}, {"bin", 1}});
  PickTab(W, W->tcChoices, 0);
  EXPECT_FALSE(W->buDeleteSelectedFiles->Enabled());

  W->lbDirectories->SetItemIndex(1);
  W->lbDirectoriesClick(W->lbDirectories);
  EXPECT_TRUE(W->buAddFiles->Enabled());
  ASSERT_EQ(Lines(W->lbFiles->Items()), (Captions{"readme.txt", "app.exe"})) << "letter case counts";
  EXPECT_FALSE(W->lbFiles->Checked(0));
  EXPECT_TRUE(W->lbFiles->Checked(1));

  W->FModified = 0;
  W->lbFiles->SetSelected(0, true);
  W->lbFiles->SetSelected(1, true);
  W->buDeleteSelectedFilesClick(W);
  EXPECT_EQ(W->lbFiles->Items().Count(), 0);
  EXPECT_EQ(Lines(*core->Files), (Captions{app, lib}));
  EXPECT_EQ(Lines(*core->Directories), (Captions{"<Home Directory>", "Bin"}));
  EXPECT_EQ(core->Files->GetIntObject(0), 0) << "the home folder's copy keeps its own flag";
  EXPECT_EQ(W->FModified, 1);

  W->lbDirectories->SetItemIndex(0);
  W->lbDirectoriesClick(W->lbDirectories);
  EXPECT_EQ(Lines(W->lbFiles->Items()), (Captions{"app.exe"}));
}

TEST_F(ItemPagesTest, DirectoryTreeKeepsItsHomeAndRefusesEmptyNames) {
  TTreeNode* home = W->trTargetDir->Items().GetFirstNode();
  TTreeNode* bin = W->trTargetDir->Items().AddChild(home, "bin");
  TTreeNode* docs = W->trTargetDir->Items().AddChild(bin, "docs");
  TTreeNode* fonts = W->trTargetDir->Items().Add(nullptr, "FontsFolder");

  // The home folder: no delete by button or pop-up.
  W->FModified = 0;
  W->trTargetDir->SetSelected(home);
  W->buTargetDirectoriesDeleteClick(W);
  W->FSelectedDirNode = home;
  W->RemoveNode1Click(W);
  EXPECT_EQ(W->trTargetDir->Items().Count(), 4);
  EXPECT_EQ(W->FModified, 0);

  // Renaming in place: an empty name is refused, a new one marks the project.
  std::string text = "";
  W->trTargetDirEdited(W->trTargetDir, fonts, text);
  EXPECT_EQ(text, "FontsFolder");
  EXPECT_EQ(W->FModified, 0);
  text = "Fonts";
  W->trTargetDirEdited(W->trTargetDir, fonts, text);
  EXPECT_EQ(W->FModified, 1);
  bool allow = true;
  W->trTargetDirEditing(W->trTargetDir, home, allow);
  EXPECT_FALSE(allow);

  // Delete asks, and No keeps the node.
  W->FModified = 0;
  W->trTargetDir->SetSelected(bin);
  Prompts.Expect(pkMessageDlg, "Do you want to delete bin?", mrNo);
  W->buTargetDirectoriesDeleteClick(W);
  EXPECT_EQ(W->trTargetDir->Items().Count(), 4);
  Prompts.Expect(pkMessageDlg, "Do you want to delete bin?", mrYes);
  W->buTargetDirectoriesDeleteClick(W);
  EXPECT_EQ(W->trTargetDir->Items().Count(), 2);
  EXPECT_EQ(W->FSelectedDirNode, nullptr);
  EXPECT_EQ(W->trTargetDir->Selected(), home);
  EXPECT_EQ(W->FModified, 1);
  (void)docs;

  // The pop-up's items after their node went away add a top-level node.
  W->AddChildNode1Click(W);
  W->trTargetDir->Items().GetFirstNode();
  ASSERT_EQ(W->trTargetDir->Items().Count(), 3);
  EXPECT_EQ(W->trTargetDir->Items().TopItem(2)->Text(), "Directory");
  W->RemoveNode1Click(W);
  EXPECT_EQ(W->trTargetDir->Items().Count(), 3);

  // Add under the selection: a child "Directory".
  W->trTargetDir->SetSelected(home);
  W->buTargetDirectoriesAddClick(W);
  if (W->trTargetDir->IsEditing()) W->trTargetDir->Selected();
  ASSERT_EQ(home->Count(), 1);
  EXPECT_EQ(home->Item(0)->Text(), "Directory");
  EXPECT_TRUE(home->Expanded());
  Prompts.Check();
}

TEST_F(ItemPagesTest, ChoiceFileListsFollowTheChosenChoice) {
  auto* core = Item<TChoice>(W->tcChoices, 0);
  core->Files->AddIntObject(FixtureFile("app.exe"), 0);
  core->Directories->Add("<Home Directory>");
  core->Files->AddIntObject(FixtureFile("tool.exe"), 0);
  core->Directories->Add("<Home Directory>");
  W->cbChoicesShortcuts->Items().Clear();
  W->cbChoicesShortcuts->Items().Add("Core_Program");
  auto* shortcut = Item<TRwiShortcut>(W->tcShortcuts, 0);
  shortcut->FName = "tool.exe";
  PickTab(W, W->tcShortcuts, 0);
  W->FModified = 0;
  W->cbChoicesShortcuts->SetItemIndex(0);
  W->cbChoicesShortcutsClick(W->cbChoicesShortcuts);
  EXPECT_EQ(shortcut->Choice, "Core_Program");
  EXPECT_EQ(Lines(W->lbFilesShortcuts->Items()), (Captions{FixtureFile("app.exe"), FixtureFile("tool.exe")}));
  EXPECT_EQ(W->lbFilesShortcuts->ItemIndex(), 1) << "the entry named like the shortcut";
  EXPECT_EQ(W->FModified, 1);

  // The placeholder's new shortcut starts without a choice or files.
  PickTab(W, W->tcShortcuts, 1);
  EXPECT_EQ(W->tcShortcuts->Tabs()[2], "Add A Shortcut");
  EXPECT_EQ(W->cbChoicesShortcuts->ItemIndex(), -1);
  EXPECT_EQ(W->lbFilesShortcuts->Items().Count(), 0);

  auto* association = Item<TAssociation>(W->tcAssociations, 0);
  ASSERT_NE(association, nullptr);
  W->cbChoicesAssociations->Items().Clear();
  W->cbChoicesAssociations->Items().Add("Core_Program");
  association->Choice = "Core_Program";
  association->FileName = FixtureFile("tool.exe");
  association->Extension = ".tq";
  PickTab(W, W->tcAssociations, 0);
  EXPECT_EQ(W->edExtensionAssociations->Text(), ".tq");
  EXPECT_EQ(W->lbFilesAssociations->ItemIndex(), 1);
}

}  // namespace
}  // namespace tq::testing
