// The workspace dialogs as the pages use them: adding files through the
// "Add Files" dialog, picking system folders for the directory tree and for a
// shortcut, and the setup pages' font and colour options.
#include <windows.h>

#include <fstream>

#include "FileUtils.h"
#include "ItemPages.h"
#include "MainWindowFixture.h"
#include "WorkspaceDialogs.h"
#include "choices.h"
#include "shortcut.h"

namespace tq::testing {
namespace {

using Names = std::vector<std::string>;

Names Lines(TStrings& list) {
  Names out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

void Touch(const std::string& file) { std::ofstream(file) << "x"; }

class WorkspaceDialogsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Application->CreateForm(OpenDlg);
    Application->CreateForm(SystemFoldersDlg);
    ASSERT_NE(OpenDlg, nullptr);
    ASSERT_NE(SystemFoldersDlg, nullptr);
    Product = Dir + "Product";
    Other = Dir + "Other";
    ASSERT_TRUE(ForceDirectories(Product + "\\sub"));
    ASSERT_TRUE(ForceDirectories(Other));
    for (const char* f : {"b.txt", "a.exe", "c.exe"}) Touch(Product + "\\" + f);
    Touch(Other + "\\b.txt");
    Touch(Other + "\\d.dll");
  }
  void TearDown() override {
    delete OpenDlg;
    OpenDlg = nullptr;
    delete SystemFoldersDlg;
    SystemFoldersDlg = nullptr;
    MainWindowTest::TearDown();
  }

  TMultiColumnFileListBox* Files() { return OpenDlg->MultiColumnFileListBox1; }

  // Opens folder in the dialog and selects the named files of it.
  void Pick(const std::string& folder, const Names& names) {
    OpenDlg->DirectoryListBox1->SetDirectory(folder);
    for (const std::string& name : names) {
      int index = Files()->Items().IndexOf(name);
      ASSERT_GE(index, 0) << name;
      Files()->SetSelected(index, true);
    }
  }

  // The Choices page with a choice and one of its directories picked.
  void ChooseDirectory(int choiceTab, int dirIndex) {
    W->tcChoices->SetTabIndex(choiceTab);
    W->tcChoicesChange(W->tcChoices);
    W->lbDirectories->SetItemIndex(dirIndex);
    W->lbDirectoriesClick(W->lbDirectories);
  }

  void ShowDirectories(const Names& names) {
    W->lbDirectories->Items().Clear();
    W->FDirNodeNames->Clear();
    for (const std::string& name : names) {
      W->lbDirectories->Items().Add(name);
      W->FDirNodeNames->Add(name);
    }
  }

  // One Add Files session: each entry of picks is one Add of files from a folder.
  void AddFiles(const std::vector<std::pair<std::string, Names>>& picks) {
    Prompts.Expect(TExpectedPrompt(pkModalForm, "OpenDlg", mrCancel, {}, [this, picks] {
      for (const auto& [folder, names] : picks) {
        Files()->SetItemIndex(-1);
        Pick(folder, names);
        OpenDlg->OKBtn->Click();
        EXPECT_EQ(OpenDlg->ModalResult(), mrNone) << "Add leaves the dialog open";
      }
    }));
    W->buAddFilesClick(W->buAddFiles);
  }

  std::string Product, Other;
};

TEST_F(WorkspaceDialogsTest, AddFilesPutsTheChosenFilesIntoTheChoicesDirectory) {
  W->tcChoices->SetTabIndex(1);  // a second choice
  W->tcChoicesChange(W->tcChoices);
  auto* core = dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(0));
  auto* second = dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(1));
  ASSERT_TRUE(core && second);
  ShowDirectories({"<Home Directory>", "bin"});

  ChooseDirectory(0, 1);
  W->FModified = 0;
  AddFiles({{Product, {"a.exe", "c.exe"}}, {Product, {"a.exe", "b.txt"}}, {Other, {"b.txt"}}});
  // a.exe a second time and the other folder's b.txt add nothing.
  EXPECT_EQ(Lines(W->lbFiles->Items()), (Names{"a.exe", "c.exe", "b.txt"}));
  auto* path = dynamic_cast<TFilePathObject*>(W->lbFiles->Items().GetObjectAt(2));
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->Path, Product + "\\b.txt");
  EXPECT_FALSE(W->lbFiles->Checked(0));
  const Names coreFiles{Product + "\\a.exe", Product + "\\c.exe", Product + "\\b.txt"};
  EXPECT_EQ(Lines(*core->Files), coreFiles);
  EXPECT_EQ(Lines(*core->Directories), (Names{"bin", "bin", "bin"}));
  EXPECT_EQ(core->Files->GetIntObject(0), 0);
  EXPECT_EQ(W->FModified, 1);

  // The second choice gets its own files in the home folder.
  ChooseDirectory(1, 0);
  EXPECT_EQ(W->lbFiles->Items().Count(), 0);
  AddFiles({{Other, {"b.txt", "d.dll"}}});
  EXPECT_EQ(Lines(*second->Files), (Names{Other + "\\b.txt", Other + "\\d.dll"}));
  EXPECT_EQ(Lines(*second->Directories), (Names{"<Home Directory>", "<Home Directory>"}));
  EXPECT_EQ(Lines(*core->Files), coreFiles);

  // Back on the first choice, bin lists its files again and home lists none.
  ChooseDirectory(0, 1);
  EXPECT_EQ(Lines(W->lbFiles->Items()), (Names{"a.exe", "c.exe", "b.txt"}));
  ChooseDirectory(0, 0);
  EXPECT_EQ(W->lbFiles->Items().Count(), 0);
}

TEST_F(WorkspaceDialogsTest, AddWithoutAChosenDirectoryAddsNothing) {
  ShowDirectories({"<Home Directory>"});
  W->tcChoices->SetTabIndex(0);
  W->tcChoicesChange(W->tcChoices);
  auto* core = dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(0));
  Pick(Product, {"a.exe"});
  OpenDlg->OKBtnClick(OpenDlg->OKBtn);
  EXPECT_EQ(core->Files->Count(), 0);
  EXPECT_EQ(W->lbFiles->Items().Count(), 0);
}

TEST_F(WorkspaceDialogsTest, FileListFollowsTheTypedPathAndSortsByExtension) {
  TEdit* edit = OpenDlg->Edit1;
  auto enter = [&](const std::string& text) {
    edit->SetText(text);
    uint16_t key = VK_RETURN;
    OpenDlg->Edit1KeyDown(edit, key, 0);
    EXPECT_EQ(key, 0);
  };
  enter(Product);
  EXPECT_TRUE(SameText(Files()->Directory(), Product));
  EXPECT_TRUE(SameText(OpenDlg->Label4->Caption(), Product)) << "the label shows the folder";
  EXPECT_EQ(Lines(Files()->Items()), (Names{"a.exe", "b.txt", "c.exe"})) << "by name, folders left out";
  EXPECT_EQ(edit->Text(), "*.*");

  OpenDlg->buSortByExtensionClick(OpenDlg->buSortByExtension);
  EXPECT_EQ(Lines(Files()->Items()), (Names{"a.exe", "c.exe", "b.txt"}));

  // A mask filters; a relative path with a mask changes folder; name order returns.
  enter("*.exe");
  EXPECT_EQ(Lines(Files()->Items()), (Names{"a.exe", "c.exe"}));
  enter("..\\Other\\*.*");
  EXPECT_TRUE(SameText(Files()->Directory(), Other));
  EXPECT_EQ(Lines(Files()->Items()), (Names{"b.txt", "d.dll"}));
  // A folder that does not exist changes nothing.
  EXPECT_THROW(enter(Dir + "Missing\\*.txt"), EInOutError);
  EXPECT_TRUE(SameText(Files()->Directory(), Other));
  EXPECT_EQ(Lines(Files()->Items()), (Names{"b.txt", "d.dll"}));

  // The column width follows the longest name.
  EXPECT_EQ(Files()->ColumnWidth(), LongestEntryWidth(Files()) + 10);
  EXPECT_GT(LongestEntryWidth(Files()), 0);
}

TEST_F(WorkspaceDialogsTest, CtrlASelectsEveryFileWhenTheTimerFires) {
  Pick(Product, {});
  struct KeyCase {
    uint16_t Key;
    TShiftState Shift;
    bool Starts;
  };
  for (const KeyCase& c : {KeyCase{'A', 0, false}, KeyCase{'B', ssCtrl, false}, KeyCase{'A', ssCtrl, true}}) {
    uint16_t key = c.Key;
    OpenDlg->MultiColumnFileListBox1KeyDown(Files(), key, c.Shift);
    EXPECT_EQ(OpenDlg->Timer1->Enabled(), c.Starts) << char(c.Key) << " shift " << c.Shift;
  }
  EXPECT_EQ(Files()->SelCount(), 0) << "nothing before the timer fires";
  OpenDlg->Timer1->Timer();
  EXPECT_FALSE(OpenDlg->Timer1->Enabled());
  EXPECT_EQ(Files()->SelCount(), 3);
}

TEST_F(WorkspaceDialogsTest, SystemFoldersJoinTheTreeOnceEach) {
  EXPECT_EQ(Lines(SystemFoldersDlg->lbSystemFolders->Items()),
            (Names{"AdminToolsFolder", "AppDataFolder", "CommonAppDataFolder", "CommonFiles64Folder",
                   "CommonFilesFolder", "DesktopFolder", "FavoritesFolder", "FontsFolder", "LocalAppDataFolder",
                   "MyPicturesFolder", "PersonalFolder", "ProgramFiles64Folder", "ProgramFilesFolder",
                   "ProgramMenuFolder", "SendToFolder", "StartMenuFolder", "StartupFolder", "System16Folder",
                   "System64Folder", "SystemFolder", "TempFolder", "TemplateFolder", "WindowsFolder",
                   "WindowsVolume"}));
  TTreeNode* home = W->trTargetDir->Items().GetFirstNode();
  W->trTargetDir->Items().AddChild(home, "FontsFolder");  // a sub-directory of that name
  TListBox* list = SystemFoldersDlg->lbSystemFolders;

  // A double click with nothing selected leaves the dialog open; with a
  // selection it closes with OK.
  auto choose = [&](const Names& names, bool viaDoubleClick) {
    SystemFoldersDlg->SetModalResult(mrNone);
    list->SetItemIndex(-1);
    SystemFoldersDlg->lbSystemFoldersDblClick(list);
    EXPECT_EQ(SystemFoldersDlg->ModalResult(), mrNone);
    for (const std::string& n : names) list->SetSelected(list->Items().IndexOf(n), true);
    if (viaDoubleClick) {
      SystemFoldersDlg->lbSystemFoldersDblClick(list);
      EXPECT_EQ(SystemFoldersDlg->ModalResult(), mrOk);
    }
  };
  auto topLevel = [&] {
    Names out;
    for (TTreeNode* n = W->trTargetDir->Items().GetFirstNode(); n; n = n->getNextSibling()) out.push_back(n->Text());
    return out;
  };

  W->FModified = 0;
  Prompts.Expect(TExpectedPrompt(pkModalForm, "SystemFoldersDlg", mrCancel, {},
                                 [&] { choose({"TempFolder"}, false); }));
  W->buTargetDirectoriesAddSystemFoldersClick(W->buTargetDirectoriesAddSystemFolders);
  EXPECT_EQ(topLevel(), (Names{"<Home Directory>"}));
  EXPECT_EQ(W->FModified, 0);

  Prompts.Expect(TExpectedPrompt(pkModalForm, "SystemFoldersDlg", mrOk, {},
                                 [&] { choose({"WindowsFolder", "AppDataFolder", "FontsFolder"}, true); }));
  W->buTargetDirectoriesAddSystemFoldersClick(W->buTargetDirectoriesAddSystemFolders);
  EXPECT_EQ(topLevel(), (Names{"<Home Directory>", "AppDataFolder", "WindowsFolder"})) << "in the dialog's order";
  EXPECT_EQ(W->FModified, 1);

  W->FModified = 0;
  Prompts.Expect(TExpectedPrompt(pkModalForm, "SystemFoldersDlg", mrOk, {}, [&] { choose({"AppDataFolder"}, true); }));
  W->buTargetDirectoriesAddSystemFoldersClick(W->buTargetDirectoriesAddSystemFolders);
  EXPECT_EQ(topLevel(), (Names{"<Home Directory>", "AppDataFolder", "WindowsFolder"}));
  EXPECT_EQ(W->FModified, 0);
}

TEST_F(WorkspaceDialogsTest, ShortcutSystemFolderBecomesItsDirectory) {
  ShowDirectories({"<Home Directory>", "bin"});
  W->cbDirectoryShortcuts->Items().Assign(*W->FDirNodeNames);
  W->cbDirectoryShortcuts->Items().Add("Select A System Directory...");
  W->tcShortcuts->SetTabIndex(0);
  W->tcChoicesChange(W->tcShortcuts);
  auto* shortcut = dynamic_cast<TRwiShortcut*>(W->tcShortcuts->Tabs().GetObjectAt(0));
  ASSERT_NE(shortcut, nullptr);
  shortcut->Directory = "bin";
  TListBox* list = SystemFoldersDlg->lbSystemFolders;
  auto pickSystemEntry = [&](int answer, const std::string& folder, const char* message = nullptr) {
    Prompts.Expect(TExpectedPrompt(pkModalForm, "SystemFoldersDlg", answer, {}, [&, folder] {
      EXPECT_FALSE(list->MultiSelect());
      EXPECT_EQ(SystemFoldersDlg->Label1->Caption(), "Select a folder from the list below");
      list->SetItemIndex(list->Items().IndexOf(folder));
    }));
    if (message) Prompts.Expect(pkShowMessage, message);
    W->cbDirectoryShortcuts->SetItemIndex(W->cbDirectoryShortcuts->Items().Count() - 1);
    W->cbDirectoryShortcutsClick(W->cbDirectoryShortcuts);
    EXPECT_TRUE(list->MultiSelect()) << "back to several folders";
    EXPECT_EQ(SystemFoldersDlg->Label1->Caption(), "Select one or more folders from the list below");
  };

  W->FModified = 0;
  pickSystemEntry(mrOk, "DesktopFolder");
  EXPECT_EQ(Lines(W->cbDirectoryShortcuts->Items()),
            (Names{"<Home Directory>", "bin", "DesktopFolder", "Select A System Directory..."}));
  EXPECT_EQ(W->cbDirectoryShortcuts->ItemIndex(), 2);
  EXPECT_EQ(Lines(*W->FDirNodeNames), (Names{"<Home Directory>", "bin", "DesktopFolder"}));
  EXPECT_EQ(W->trTargetDir->Items().GetFirstNode()->getNextSibling()->Text(), "DesktopFolder");
  EXPECT_EQ(shortcut->Directory, "DesktopFolder");
  EXPECT_EQ(W->FModified, 1);

  // Already a directory: a message and no change.
  int nodes = W->trTargetDir->Items().Count();
  pickSystemEntry(mrOk, "DesktopFolder", "That directory is in the list presently. Select it from there");
  EXPECT_EQ(W->cbDirectoryShortcuts->Items().Count(), 4);
  EXPECT_EQ(W->trTargetDir->Items().Count(), nodes);
  EXPECT_EQ(shortcut->Directory, "DesktopFolder");

  // Cancel leaves the box without a selection and the shortcut as it was.
  pickSystemEntry(mrCancel, "TempFolder");
  EXPECT_EQ(W->cbDirectoryShortcuts->ItemIndex(), -1);
  EXPECT_EQ(shortcut->Directory, "DesktopFolder");
  EXPECT_EQ(W->FDirNodeNames->Count(), 3);
}

TEST_F(WorkspaceDialogsTest, OptionsStartWithTheDefaultFontsAndColours) {
  TBPOptionsDlg fresh(nullptr);
  EXPECT_EQ(fresh.FontDialog1->Font().Name(), "Verdana");
  EXPECT_EQ(fresh.FontDialog1->Font().Size(), 12);
  EXPECT_EQ(fresh.FontDialog1->Font().Color(), clBlue);
  EXPECT_EQ(fresh.FontDialog2->Font().Name(), "Verdana");
  EXPECT_EQ(fresh.FontDialog2->Font().Color(), clGreen);
  EXPECT_EQ(fresh.Label1->Font().Color(), clBlue);
  EXPECT_EQ(fresh.ProgressBarBackgroundColorDlg->Color, clGray);
  EXPECT_EQ(fresh.ProgressBarForegroundColorDlg->Color, clGreen);
}

TEST_F(WorkspaceDialogsTest, OptionsCancelBringsTheFontsBackButKeepsTheColours) {
  TBPOptionsDlg* d = BPOptionsDlg;
  ASSERT_NE(d, nullptr);
  d->FormShow(d);
  W->FModified = 0;
  Prompts.Expect(TExpectedPrompt(pkModalForm, "FontDialog2", mrOk, {}, [d] {
    d->FontDialog2->Font().SetName("Arial");
    d->FontDialog2->Font().SetSize(9);
  }));
  d->buOtherTextFontClick(d->buOtherTextFont);
  EXPECT_EQ(d->Label2->Font().Name(), "Arial");
  Prompts.Expect(TExpectedPrompt(pkModalForm, "ProgressBarBackgroundColorDlg", mrOk, {},
                                 [d] { d->ProgressBarBackgroundColorDlg->Color = clRed; }));
  d->buProgressBarBackgroundColorClick(d->buProgressBarBackgroundColor);
  EXPECT_EQ(d->Shape1->BrushColor(), clRed);
  // A colour dialog cancelled leaves the font's colour.
  Prompts.Expect(TExpectedPrompt(pkModalForm, "BackNextCancelFontColorDlg", mrCancel, {},
                                 [d] { d->BackNextCancelFontColorDlg->Color = clYellow; }));
  d->Button1Click(d->Button1);
  EXPECT_EQ(d->FontDialog1->Font().Color(), clBlue);

  d->CancelBtn->Click();
  EXPECT_EQ(d->ModalResult(), mrCancel);
  EXPECT_EQ(d->FontDialog2->Font().Name(), "Verdana");
  EXPECT_EQ(d->FontDialog2->Font().Size(), 12);
  EXPECT_EQ(d->Label2->Font().Name(), "Verdana");
  EXPECT_EQ(d->ProgressBarBackgroundColorDlg->Color, clRed);
  EXPECT_EQ(W->FModified, 0);
}

TEST_F(WorkspaceDialogsTest, OptionsOkKeepsTheNewFontColourAndMarksTheProject) {
  TBPOptionsDlg* d = BPOptionsDlg;
  ASSERT_NE(d, nullptr);
  d->FormShow(d);
  W->FModified = 0;
  Prompts.Expect(TExpectedPrompt(pkModalForm, "BackNextCancelFontColorDlg", mrOk, {}, [d] {
    EXPECT_EQ(d->BackNextCancelFontColorDlg->Color, clBlue) << "preset with the font's colour";
    d->BackNextCancelFontColorDlg->Color = clMaroon;
  }));
  d->Button1Click(d->Button1);
  d->OKBtn->Click();
  EXPECT_EQ(d->ModalResult(), mrOk);
  EXPECT_EQ(d->FontDialog1->Font().Color(), clMaroon);
  EXPECT_EQ(d->Label1->Font().Color(), clMaroon);
  EXPECT_EQ(W->FModified, 1);
}

TEST_F(WorkspaceDialogsTest, AboutOpensThePublishersPage) {
  Application->CreateForm(AboutBox);
  Prompts.Expect(pkModalForm, "AboutBox", mrOk);
  W->About1Click(W->About1);
  AboutBox->Label4Click(AboutBox->Label4);
  ASSERT_EQ(ShellOpens.size(), 1u);
  EXPECT_EQ(ShellOpens[0].File, Dir + "Quorvel Web Page.htm");
  EXPECT_EQ(ShellOpens[0].Dir, Dir);
  delete AboutBox;
  AboutBox = nullptr;
}

}  // namespace
}  // namespace tq::testing
