// The folder dialog and its tree in a real window, on real folders.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PathDialog.h"
#include "TestFolder.h"
#include "seldirdlg.h"
#include "seldirdlg2.h"

namespace tq {
namespace {

// Folders made for one test, removed afterwards.
class TFolders {
 public:
  explicit TFolders(const std::vector<std::string>& relative) {
    for (const std::string& r : relative) CreateDirectoryA((Base + r).c_str(), nullptr);
  }

 private:
  testing::TTestFolder FFolder{"pickers-"};

 public:
  const std::string Base = FFolder.Path();
};

std::vector<std::string> ChildTexts(TTreeNode* node) {
  std::vector<std::string> texts;
  for (int i = 0; i < node->Count(); ++i) texts.push_back(node->Item(i)->Text());
  return texts;
}

int ItemChildrenFlag(TTreeView* tree, TTreeNode* node) {
  TVITEMA item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = node->ItemId();
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.cChildren;
}

// A real mouse press on the node's label (the release already queued, so the
// tree's own press handling ends at once).
void Press(TTreeView* tree, TTreeNode* node, UINT down, UINT up) {
  RECT r{};
  HTREEITEM id = node->ItemId();
  std::memcpy(&r, &id, sizeof id);  // TVM_GETITEMRECT takes the item in the rectangle
  ASSERT_TRUE(SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
  LPARAM at = MAKELPARAM(r.left + 3, (r.top + r.bottom) / 2);
  PostMessageA(tree->Handle(), up, 0, at);
  SendMessageA(tree->Handle(), down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, at);
  Application->ProcessMessages();
}

class Pickers : public ::testing::Test {
 protected:
  void SetUp() override {
    Dlg = std::make_unique<TSelectDirectoryDlg>(nullptr);
    Dlg->Show();
    Tree = Dlg->DirectoryTree1;
  }
  void TearDown() override { Dlg.reset(); }
  std::unique_ptr<TSelectDirectoryDlg> Dlg;
  TDirectoryTree* Tree = nullptr;
};

TEST_F(Pickers, TheTreeShowsTheDrivesWithTheirImages) {
  TTreeNode* root = Tree->Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Text(), "My Computer");
  EXPECT_EQ(root->ImageIndex, 2);
  std::vector<std::string> drives = ChildTexts(root);
  ASSERT_FALSE(drives.empty());
  for (int i = 0; i < root->Count(); ++i) {
    TTreeNode* d = root->Item(i);
    std::string letter = d->Text();
    EXPECT_EQ(letter.size(), 2u);
    EXPECT_TRUE(Tree->MarkedAsHavingChildren(d));
    EXPECT_EQ(ItemChildrenFlag(Tree, d), 1);
    if (letter == "C:") {
      EXPECT_EQ(d->ImageIndex, 3);  // fixed
    }
  }
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  ASSERT_NE(Tree->Selected(), nullptr);
  EXPECT_EQ(Tree->Selected()->Text(), std::string(1, static_cast<char>(toupper(current[0]))) + ":");
}

TEST_F(Pickers, PresetWalksThePathIgnoringLetterCase) {
  Dlg->Preset("c:\\program files");
  TTreeNode* node = Tree->Selected();
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->Text(), "Program Files");
  EXPECT_EQ(node->Parent()->Text(), "C:");
  EXPECT_EQ(Dlg->Label2->Caption(), "c:\\program files\\");
  EXPECT_EQ(Dlg->SelectedPath(), "C:\\Program Files");
  EXPECT_EQ(Dlg->DestinationPath(), "C:\\Program Files");
  EXPECT_EQ(Tree->Directory(), "C:\\Program Files");
}

TEST_F(Pickers, SubFoldersAreReadOnceAndSortedAndAnUnknownPartStopsTheWalk) {
  TFolders folders({"b", "A", "c", "A\\deeper"});
  Dlg->Preset(folders.Base + "A\\missing\\more");
  TTreeNode* a = Tree->Selected();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Text(), "A");
  EXPECT_EQ(ChildTexts(a->Parent()), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(ChildTexts(a), (std::vector<std::string>{"deeper"}));
  EXPECT_EQ(a->Item(0)->SelectedIndex, 1);
  Tree->OpenNode(a);  // already read: not listed twice
  EXPECT_EQ(ChildTexts(a), (std::vector<std::string>{"deeper"}));
}

TEST_F(Pickers, AClickedFolderWithoutSubFoldersLosesItsButton) {
  TFolders folders({"empty", "full", "full\\inner"});
  Dlg->Preset(folders.Base);
  TTreeNode* base = Tree->Selected();
  ASSERT_EQ(ChildTexts(base), (std::vector<std::string>{"empty", "full"}));
  base->Expand(false);  // as its button would
  int changes = 0;
  Tree->OnChange = [&](TObject*) { ++changes; };
  TTreeNode* empty = base->Item(0);
  EXPECT_EQ(ItemChildrenFlag(Tree, empty), 1);
  Press(Tree, empty, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_EQ(Tree->Selected(), empty);
  EXPECT_EQ(Tree->Directory(), Tree->NodePath(empty));
  EXPECT_GE(changes, 1);
  EXPECT_EQ(ItemChildrenFlag(Tree, empty), 0);
  EXPECT_EQ(Dlg->Label2->Caption(), Dlg->SelectedPath());

  TTreeNode* full = base->Item(1);
  Press(Tree, full, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_EQ(ChildTexts(full), (std::vector<std::string>{"inner"}));
  EXPECT_TRUE(full->Expanded());
}

TEST_F(Pickers, OkIsRefusedAtTheRootAndADriveComesBackWithItsBackslash) {
  Tree->SetSelected(Tree->Root());
  EXPECT_EQ(Dlg->SelectedPath(), "My Computer");
  Dlg->SetModalResult(mrNone);
  Dlg->OKBtn->Click();
  EXPECT_EQ(Dlg->ModalResult(), mrNone);

  Dlg->Preset("C:");
  EXPECT_EQ(Dlg->SelectedPath(), "C:");
  EXPECT_EQ(Dlg->DestinationPath(), "C:\\");
  Dlg->OKBtn->Click();
  EXPECT_EQ(Dlg->ModalResult(), mrOk);
}

TEST_F(Pickers, RightClickAddsANewDirectoryToEditInPlaceOnlyInTheTree) {
  TFolders folders({"Mango", "Zebra", "Mango\\Seed"});
  Dlg->Preset(folders.Base + "Mango");
  TTreeNode* base = Tree->Selected()->Parent();
  Tree->SetSelected(base);
  Press(Tree, base, WM_RBUTTONDOWN, WM_RBUTTONUP);
  TTreeNode* added = Dlg->NewFolderNode();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->Parent(), base);
  EXPECT_EQ(ChildTexts(base), (std::vector<std::string>{"Mango", "New Directory", "Zebra"}));
  // The timer starts editing the new name.
  for (int i = 0; i < 200 && !Tree->IsEditing(); ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
  ASSERT_TRUE(Tree->IsEditing());
  EXPECT_TRUE(base->Expanded());
  HWND edit = reinterpret_cast<HWND>(SendMessageA(Tree->Handle(), TVM_GETEDITCONTROL, 0, 0));
  SetWindowTextA(edit, "Apple");
  SendMessageA(Tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
  Application->ProcessMessages();
  EXPECT_EQ(ChildTexts(base), (std::vector<std::string>{"Apple", "Mango", "Zebra"}));
  EXPECT_EQ(GetFileAttributesA((folders.Base + "Apple").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((folders.Base + "New Directory").c_str()), INVALID_FILE_ATTRIBUTES);
}

std::vector<std::string> ListTexts(TListBox* list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list->Items().Count(); ++i) texts.push_back(list->Items().Strings[i]);
  std::sort(texts.begin(), texts.end());  // the file system's order is its own
  return texts;
}

// The group dialog over two Programs folders made for the test.
class GroupDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    Dlg = std::make_unique<TSelectDirectoryDlg2>(nullptr);
    Dlg->PackageBaseName = "Sample";
    Dlg->SpecialFolder = [this](int csidl, std::string& path) {
      if (csidl == 2 && UserResolves) path = Folders.Base + "user";
      else if (csidl == 23) path = Folders.Base + "common\\";
      else return false;
      return true;
    };
    Dlg->AskWhichPath = [this](bool& allUsers) {
      ++Questions;
      allUsers = AllUsers;
      return !CancelQuestion;
    };
  }
  TFolders Folders{{"user", "user\\Accessories", "user\\Games", "common", "common\\Admin Tools"}};
  std::unique_ptr<TSelectDirectoryDlg2> Dlg;
  bool UserResolves = true, AllUsers = false, CancelQuestion = false;
  int Questions = 0;
};

TEST_F(GroupDialog, ListsTheUsersGroupsAndProposesThePackageName) {
  Dlg->IsNT = false;
  Dlg->Show();  // each showing fills the lists
  EXPECT_EQ(Questions, 0);
  EXPECT_EQ(Dlg->Folder(), Folders.Base + "user\\");
  EXPECT_EQ(Dlg->edGroup->Text(), "Sample");
  EXPECT_EQ(ListTexts(Dlg->lbGroups), (std::vector<std::string>{"Accessories", "Games"}));
  Dlg->lbGroups->SetItemIndex(-1);
  Dlg->lbGroupsDblClick(nullptr);  // nothing selected: nothing taken
  EXPECT_EQ(Dlg->edGroup->Text(), "Sample");
  Dlg->lbGroups->SetItemIndex(1);
  Dlg->lbGroupsDblClick(nullptr);
  EXPECT_EQ(Dlg->edGroup->Text(), Dlg->lbGroups->Items().Strings[1]);
}

TEST_F(GroupDialog, OnNtAllUsersListsTheCommonGroupsAndCancelKeepsTheLastList) {
  Dlg->IsNT = true;
  AllUsers = true;
  Dlg->FormShow(nullptr);
  EXPECT_EQ(Questions, 1);
  EXPECT_EQ(Dlg->Folder(), Folders.Base + "common\\");
  EXPECT_EQ(ListTexts(Dlg->lbGroups), (std::vector<std::string>{"Admin Tools"}));
  CancelQuestion = true;
  AllUsers = false;
  Dlg->edGroup->SetText("Typed");
  Dlg->FormShow(nullptr);
  EXPECT_EQ(Questions, 2);
  EXPECT_EQ(Dlg->Folder(), Folders.Base + "common\\");
  EXPECT_EQ(ListTexts(Dlg->lbGroups), (std::vector<std::string>{"Admin Tools"}));
  EXPECT_EQ(Dlg->edGroup->Text(), "Typed");
  // An unresolvable Programs folder changes nothing either, and asks nothing.
  UserResolves = false;
  CancelQuestion = false;
  Dlg->FormShow(nullptr);
  EXPECT_EQ(Questions, 2);
  EXPECT_EQ(ListTexts(Dlg->lbGroups), (std::vector<std::string>{"Admin Tools"}));
}

TEST(GroupDialogShell, TheUsersProgramsFolderResolves) {
  std::string path;
  ASSERT_TRUE(TSelectDirectoryDlg2::ShellSpecialFolder(2, path));
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(PathDialog, DirectoryDropsOneBackslashAndDefaultsToTheCurrentFolder) {
  TPathDialog dialog(nullptr);
  dialog.SetDirectory("C:\\Data\\\\");
  EXPECT_EQ(dialog.Directory(), "C:\\Data\\");
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  dialog.SetDirectory("");
  EXPECT_EQ(dialog.Directory(), current);
  dialog.SetStatusText("Choose");
  EXPECT_EQ(dialog.StatusText(), "Choose");
}

}  // namespace
}  // namespace tq
