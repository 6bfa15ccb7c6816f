// Walking the main window's pages: the side bar's items, the lists each page
// refills when shown, the Registry page's default key, the Updates page's
// buttons, the small page fields and the Updates and Help menu commands.
#include <windows.h>

#include <fstream>

#include "MainWindowFixture.h"
#include "associations.h"
#include "choices.h"
#include "evar.h"
#include "regentry.h"
#include "shortcut.h"

namespace tq::testing {
namespace {

using Captions = std::vector<std::string>;
using TShow = void (TRWInstallForm::*)();

Captions Lines(TStrings& list) {
  Captions out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

Captions VisibleTabs(TPageControl* pages) {
  Captions out;
  for (int i = 0; i < pages->PageCount(); ++i)
    if (pages->Pages(i)->TabVisible()) out.push_back(pages->Pages(i)->Caption());
  return out;
}

// The choice tab captioned name.
TChoice* ChoiceNamed(TRWInstallForm* w, const std::string& name) {
  int index = w->tcChoices->Tabs().IndexOf(name);
  return index < 0 ? nullptr : dynamic_cast<TChoice*>(w->tcChoices->Tabs().GetObjectAt(index));
}

class PageNavigationTest : public MainWindowTest {
 protected:
  // "<Home Directory>" > "Bin" > "Plugins", and "Docs" at the top level.
  void MakeDirectoryTree() {
    TTreeNodes& nodes = W->trTargetDir->Items();
    TTreeNode* home = nodes.GetFirstNode();
    TTreeNode* bin = nodes.AddChild(home, "Bin");
    nodes.AddChild(bin, "Plugins");
    nodes.Add(nullptr, "Docs");
  }
  void Click(const std::string& caption) { W->Outlook1->OnItemClick(W->Outlook1, caption); }
  void WriteProgram(const std::string& name) { std::ofstream(Dir + name) << "MZ"; }
};

struct TPageCase {
  const char* Caption;
  TTabSheet* TRWInstallForm::*Sheet;
};
const TPageCase PageCases[] = {
    {"Info", &TRWInstallForm::TabSheet1},          {"Directories", &TRWInstallForm::TabSheet2},
    {"Choices", &TRWInstallForm::TabSheet3},       {"Registry", &TRWInstallForm::TabSheet4},
    {"Shortcuts", &TRWInstallForm::TabSheet5},     {"Environment", &TRWInstallForm::TabSheet6},
    {"Modules", &TRWInstallForm::TabSheet7},       {"Build", &TRWInstallForm::TabSheet8},
    {"Gui", &TRWInstallForm::TabSheet10},          {"Msi", &TRWInstallForm::TabSheet14},
    {"Associations", &TRWInstallForm::TabSheet15}, {"Updates", &TRWInstallForm::TabSheet16},
};

TEST_F(PageNavigationTest, SideBarItemsShowTheirPageWithOnlyItsTab) {
  ASSERT_TRUE(W->Outlook1->OnItemClick) << "the layout wires the side bar's item click";
  EXPECT_EQ(W->PageControl1->ActivePage(), W->TabSheet9) << "the start page comes first";
  for (const TPageCase& c : PageCases) {
    SCOPED_TRACE(c.Caption);
    Click(c.Caption);
    TTabSheet* sheet = W->*c.Sheet;
    EXPECT_EQ(W->PageControl1->ActivePage(), sheet);
    EXPECT_EQ(VisibleTabs(W->PageControl1), Captions{sheet->Caption()});
  }
  W->PageControl2->SetActivePageIndex(0);
  Click("Gui");
  EXPECT_EQ(W->PageControl2->ActivePage(), W->TabSheet11) << "the Gui page opens on its options";

  // A caption of no page, or one spelt differently, leaves the page shown.
  for (const char* other : {"Reports", "choices", ""}) {
    SCOPED_TRACE(other);
    Click(other);
    EXPECT_EQ(W->PageControl1->ActivePage(), W->TabSheet10);
    EXPECT_EQ(VisibleTabs(W->PageControl1), Captions{W->TabSheet10->Caption()});
  }
}

TEST_F(PageNavigationTest, MouseOnTheSideBarItemShowsItsPage) {
  // The Choices item's picture, clicked as the mouse does.
  TFlatImage* choices = nullptr;
  for (TPanel* panel : W->Outlook1->ActivePanels())
    if (W->Outlook1->ItemImage(panel)->StrValue() == "Choices") choices = W->Outlook1->ItemImage(panel);
  ASSERT_NE(choices, nullptr);
  ASSERT_EQ(choices->Parent()->Parent(), W->Outlook1->InnerBox()) << "the third item is placed";
  SendMessageA(choices->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageA(choices->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(W->PageControl1->ActivePage(), W->TabSheet3);
}

// A page's indented directory list and what follows the tree's nodes.
struct TDirectoryListCase {
  const char* Page;
  TShow Show;
  TComboBox* TRWInstallForm::*List;  // nullptr: the Choices page's list box
  Captions After;                     // entries after the nodes
  Captions NamesAfter;                // node names after the plain texts
};

TEST_F(PageNavigationTest, DirectoryListsIndentFourBlanksPerLevelBesideThePlainNames) {
  MakeDirectoryTree();
  const Captions indented{"<Home Directory>", "    Bin", "        Plugins", "Docs"};
  const Captions plain{"<Home Directory>", "Bin", "Plugins", "Docs"};
  const TDirectoryListCase cases[] = {
      {"Choices", &TRWInstallForm::DoChoices, nullptr, {}, {}},
      {"Shortcuts", &TRWInstallForm::DoShortcuts, &TRWInstallForm::cbDirectoryShortcuts,
       {"Program Group", "Select A System Directory..."}, {"Program Group"}},
      {"Shortcuts working folder", &TRWInstallForm::DoShortcuts, &TRWInstallForm::cbWkDir, {}, {"Program Group"}},
      {"Modules", &TRWInstallForm::DoModules, &TRWInstallForm::cbDirectoryMergeModules, {}, {}},
  };
  for (const TDirectoryListCase& c : cases) {
    SCOPED_TRACE(c.Page);
    W->FDirNodeNames->Add("stale");
    (W->*c.Show)();
    TStrings& list = c.List ? (W->*c.List)->Items() : W->lbDirectories->Items();
    Captions expected = indented;
    expected.insert(expected.end(), c.After.begin(), c.After.end());
    EXPECT_EQ(Lines(list), expected);
    Captions names = plain;
    names.insert(names.end(), c.NamesAfter.begin(), c.NamesAfter.end());
    EXPECT_EQ(Lines(*W->FDirNodeNames), names);
  }
}

TEST_F(PageNavigationTest, DeepTreesIndentAtMostSixtyEightBlanks) {
  TTreeNode* node = W->trTargetDir->Items().GetFirstNode();
  for (int level = 1; level <= 18; ++level) node = W->trTargetDir->Items().AddChild(node, "L" + std::to_string(level));
  W->DoChoices();
  TStrings& list = W->lbDirectories->Items();
  ASSERT_EQ(list.Count(), 19);
  EXPECT_EQ(list.Get(17), std::string(68, ' ') + "L17");
  EXPECT_EQ(list.Get(18), std::string(68, ' ') + "L18");
}

TEST_F(PageNavigationTest, ChoicesPageListsTheDirectoriesAndADirectoryClickListsItsFiles) {
  MakeDirectoryTree();
  TChoice* core = ChoiceNamed(W, "Core_Program");
  ASSERT_NE(core, nullptr);
  core->Files->AddIntObject("C:\\Product\\tool.dll", 1);
  core->Directories->Add("Bin");
  core->Files->AddIntObject("C:\\Product\\readme.txt", 1);
  core->Directories->Add("<Home Directory>");
  W->lbFiles->Items().Add("left from another page");
  W->FModified = 0;

  Click("Choices");
  EXPECT_TRUE(W->lbFiles->Items().Count() == 0) << "no directory picked yet";
  EXPECT_EQ(W->edNameChoices->Text(), "Core_Program");
  W->lbDirectories->SetItemIndex(1);
  W->lbDirectoriesClick(W->lbDirectories);
  EXPECT_EQ(Lines(W->lbFiles->Items()), Captions{"tool.dll"});
  W->lbDirectories->SetItemIndex(0);
  W->lbDirectoriesClick(W->lbDirectories);
  EXPECT_EQ(Lines(W->lbFiles->Items()), Captions{"readme.txt"});
  EXPECT_EQ(W->FModified, 0) << "showing a page is no edit";
}

TEST_F(PageNavigationTest, ChoiceListsLeaveOutThePlaceholder) {
  W->tcChoices->Tabs().Insert(1, "Docs");
  const std::pair<TShow, TComboBox* TRWInstallForm::*> pages[] = {
      {&TRWInstallForm::DoRegistry, &TRWInstallForm::cbChoicesRegistry},
      {&TRWInstallForm::DoShortcuts, &TRWInstallForm::cbChoicesShortcuts},
      {&TRWInstallForm::DoEnvironment, &TRWInstallForm::cbChoicesEvar},
      {&TRWInstallForm::DoModules, &TRWInstallForm::cbChoicesMergeModules},
      {&TRWInstallForm::DoAssociations, &TRWInstallForm::cbChoicesAssociations},
  };
  for (const auto& [show, box] : pages) {
    (W->*box)->Items().Add("stale");
    (W->*show)();
    SCOPED_TRACE((W->*box)->Name());
    EXPECT_EQ(Lines((W->*box)->Items()), (Captions{"Core_Program", "Docs"}));
  }
}

TEST_F(PageNavigationTest, ItemsShowTheirChoiceWhenThePageOpens) {
  W->tcChoices->Tabs().Insert(1, "Docs");
  dynamic_cast<TRegEntry*>(W->tcRegistry->Tabs().GetObjectAt(0))->Choice = "Docs";
  dynamic_cast<TEVar*>(W->tcEVar->Tabs().GetObjectAt(0))->Choice = "Gone";
  W->DoRegistry();
  EXPECT_EQ(W->cbChoicesRegistry->ItemIndex(), 1);
  W->DoEnvironment();
  EXPECT_EQ(W->cbChoicesEvar->ItemIndex(), -1) << "a choice that no longer exists shows no selection";
}

// A merge module's one choice is chosen for the item of each page.
TEST_F(PageNavigationTest, MergeModulePagesTakeTheOnlyChoice) {
  W->NewProject(1);
  const std::string only = "Default Merge Module Choice";
  W->FModified = 0;
  W->DoRegistry();
  EXPECT_EQ(dynamic_cast<TRegEntry*>(W->tcRegistry->Tabs().GetObjectAt(0))->Choice, only);
  EXPECT_EQ(W->cbChoicesRegistry->ItemIndex(), 0);
  W->DoShortcuts();
  EXPECT_EQ(dynamic_cast<TRwiShortcut*>(W->tcShortcuts->Tabs().GetObjectAt(0))->Choice, only);
  EXPECT_EQ(W->cbChoicesShortcuts->ItemIndex(), 0);
  W->DoEnvironment();
  EXPECT_EQ(dynamic_cast<TEVar*>(W->tcEVar->Tabs().GetObjectAt(0))->Choice, only);
  EXPECT_EQ(W->cbChoicesEvar->ItemIndex(), 0);
  W->DoAssociations();
  EXPECT_EQ(dynamic_cast<TAssociation*>(W->tcAssociations->Tabs().GetObjectAt(0))->Choice, only);
  EXPECT_EQ(W->cbChoicesAssociations->ItemIndex(), 0);
  EXPECT_EQ(W->FModified, 0);
}

TEST_F(PageNavigationTest, RegistryDefaultKeyIsInsertedOncePerChangeNewestFirst) {
  const std::string designed = "Software\\Microsoft";
  ASSERT_EQ(Lines(W->cbKey->Items()), Captions{designed});
  W->edProductName->SetText("Acme Tools");
  W->DoRegistry();
  EXPECT_EQ(Lines(W->cbKey->Items()), Captions{designed}) << "no manufacturer, no default key";

  W->edProductName->SetText("Tool-Box 2!");
  W->edManufacturer->SetText("Acme");
  W->DoRegistry();
  W->DoRegistry();
  EXPECT_EQ(Lines(W->cbKey->Items()), (Captions{"Software\\Acme\\ToolBox 2", designed}));
  W->edManufacturer->SetText("Acme Corp");
  W->DoRegistry();
  EXPECT_EQ(Lines(W->cbKey->Items()), (Captions{"Software\\Acme Corp\\ToolBox 2", "Software\\Acme\\ToolBox 2",
                                                designed}));
}

TEST_F(PageNavigationTest, UpdatesButtonsNeedAVersionToUpdateFrom) {
  for (const char* from : {"", "1.0", ""}) {
    SCOPED_TRACE(from);
    W->FUpdateFrom = from;
    W->DoUpdates();
    EXPECT_EQ(W->buCreateNewPatch->Enabled(), *from != 0);
    EXPECT_EQ(W->buUploadToFtpSite->Enabled(), *from != 0);
  }
}

TEST_F(PageNavigationTest, PageFieldsMarkTheProjectModified) {
  const std::pair<const char*, std::function<void()>> edits[] = {
      {"floppy images", [this] { W->rbFloppy->SetChecked(true); }},
      {"support address", [this] { W->edSupportUrl->SetText("http://support"); }},
      {"home page", [this] { W->edHomepageUrl->SetText("http://home"); }},
      {"welcome bitmap", [this] { W->edWelcomeBitmap->SetText("w.bmp"); }},
      {"banner bitmap", [this] { W->edBannerBitmap->SetText("b.bmp"); }},
      {"installer redistributables", [this] { W->ckbIncludeMsi->SetChecked(!W->ckbIncludeMsi->Checked()); }},
  };
  for (const auto& [name, edit] : edits) {
    SCOPED_TRACE(name);
    W->FModified = 0;
    edit();
    EXPECT_EQ(W->FModified, 1);
  }
}

TEST_F(PageNavigationTest, BitmapBrowseButtonsFillTheirFieldOnOk) {
  const std::pair<TButton* TRWInstallForm::*, TEdit* TRWInstallForm::*> buttons[] = {
      {&TRWInstallForm::buWelcomeBitmap, &TRWInstallForm::edWelcomeBitmap},
      {&TRWInstallForm::buBannerBitmap, &TRWInstallForm::edBannerBitmap},
  };
  for (const auto& [button, field] : buttons) {
    SCOPED_TRACE((W->*button)->Name());
    (W->*field)->SetText("old.bmp");
    W->FModified = 0;
    Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDialog7", mrCancel));
    (W->*button)->Click();
    EXPECT_EQ((W->*field)->Text(), "old.bmp");
    EXPECT_EQ(W->FModified, 1) << "the click marks the project, even when cancelled";
    Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDialog7", mrOk, {},
                                   [this] { W->OpenDialog7->FileName = "C:\\Art\\new.bmp"; }));
    (W->*button)->Click();
    EXPECT_EQ((W->*field)->Text(), "C:\\Art\\new.bmp");
    EXPECT_EQ(W->OpenDialog7->Filter, "Bitmap Files (*.bmp)|*.bmp");
    EXPECT_EQ(W->OpenDialog7->DefaultExt, "bmp");
  }
  Prompts.Check();
}

TEST_F(PageNavigationTest, UpdatesMenuStartsTheUpdaterPrograms) {
  ShellOpens.clear();
  W->UpdateTarnquillviatheInternet1->Click();
  W->UndoLastUpdate1->Click();
  EXPECT_TRUE(ShellOpens.empty()) << "missing programs are not started";

  WriteProgram("Updates.exe");
  WriteProgram("UndoUpdates.exe");
  W->UpdateTarnquillviatheInternet1->Click();
  W->UndoLastUpdate1->Click();
  ASSERT_EQ(ShellOpens.size(), 2u);
  EXPECT_EQ(ShellOpens[0].File, Dir + "Updates.exe");
  EXPECT_EQ(ShellOpens[0].Params, "\"" + Dir + "Tarnquill.exe\" \"" + TarnquillUpdatesUrl + "\" \"Tarnquill\" /now");
  EXPECT_EQ(ShellOpens[0].Dir, Dir);
  EXPECT_EQ(ShellOpens[1].File, Dir + "UndoUpdates.exe");
  EXPECT_EQ(ShellOpens[1].Params, Dir + "Tarnquill.exe") << "the program path goes unquoted";
  EXPECT_EQ(ShellOpens[1].Dir, Dir);
}

TEST_F(PageNavigationTest, HelpMailCommandsOpenMailAddresses) {
  ShellOpens.clear();
  for (TMenuItem* item : {W->Suggestions1, W->ContactUs1, W->Support1}) item->Click();
  ASSERT_EQ(ShellOpens.size(), 3u);
  for (const TShellOpenCall& call : ShellOpens) {
    EXPECT_EQ(call.File.rfind("mailto:", 0), 0u) << call.File;
    EXPECT_NE(call.File.find('@'), std::string::npos) << call.File;
  }
}

}  // namespace
}  // namespace tq::testing
