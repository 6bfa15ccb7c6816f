// The item lists of combo boxes, list boxes, check-list boxes and tab
// controls, with their objects, kept in step with the windows.
#include <gtest/gtest.h>

#include "TestForms.h"

namespace tq::testing {
namespace {

std::string ComboItem(HWND h, int i) {
  char buf[256] = {};
  SendMessageA(h, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
  return buf;
}
std::string ListItem(HWND h, int i) {
  char buf[256] = {};
  SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
  return buf;
}

class TItem : public TObject {
 public:
  explicit TItem(int id) : Id(id) {}
  int Id;
};

class Items : public ::testing::Test {
 protected:
  std::unique_ptr<TEventForm> Form = MakeForm(R"(
  object cbLanguage: TComboBox
    Style = csDropDownList
  end
  object cbKey: TComboBox
  end
  object lbFiles: TCheckListBox
    MultiSelect = True
  end
  object lbSorted: TListBox
    Sorted = True
  end
  object tcRegistry: TTabControl
  end
  object tcBatch: TTabControl
  end
  object tcFixed: TTabControl
    TabWidth = 40
  end
)");
  TComboBox* Lang = Form->Get<TComboBox>("cbLanguage");
  TComboBox* Key = Form->Get<TComboBox>("cbKey");
  TCheckListBox* Files = Form->Get<TCheckListBox>("lbFiles");
  TListBox* Sorted = Form->Get<TListBox>("lbSorted");
  TTabControl* Tabs = Form->Get<TTabControl>("tcRegistry");
  TTabControl* Batch = Form->Get<TTabControl>("tcBatch");
  TTabControl* Fixed = Form->Get<TTabControl>("tcFixed");
};

// What a tab control shows: its style, its selection and each tab's caption
// and place.
struct TTabsShown {
  LONG_PTR Style;
  int Selected;
  std::vector<std::string> Captions;
  std::vector<RECT> Places;
};
// Each difference of what two tab controls show, as text ("" when none).
std::string Differences(const TTabsShown& a, const TTabsShown& b) {
  std::string d;
  if (a.Style != b.Style) d += "style " + std::to_string(a.Style) + " / " + std::to_string(b.Style) + "; ";
  if (a.Selected != b.Selected) d += "selected " + std::to_string(a.Selected) + " / " + std::to_string(b.Selected) + "; ";
  if (a.Captions != b.Captions) d += "captions differ; ";
  for (size_t i = 0; i < a.Places.size() && i < b.Places.size(); ++i)
    if (!EqualRect(&a.Places[i], &b.Places[i])) {
      const RECT &p = a.Places[i], &q = b.Places[i];
      d += "tab " + std::to_string(i) + " at " + std::to_string(p.left) + "," + std::to_string(p.top) + "-" +
           std::to_string(p.right) + "," + std::to_string(p.bottom) + " / " + std::to_string(q.left) + "," +
           std::to_string(q.top) + "-" + std::to_string(q.right) + "," + std::to_string(q.bottom) + "; ";
      break;
    }
  return d;
}
TTabsShown Shown(TTabControl* tabs) {
  HWND h = tabs->Handle();
  TTabsShown s{GetWindowLongPtrA(h, GWL_STYLE), static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0)), {}, {}};
  const int count = static_cast<int>(SendMessageA(h, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    s.Captions.push_back(TabItem(h, i));
    RECT r{};
    SendMessageA(h, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    s.Places.push_back(r);
  }
  return s;
}

TEST_F(Items, ComboItemsCarryObjectsAndShowInTheWindow) {
  HWND h = Lang->Handle();
  Lang->Items().AddIntObject("English (United States)", 1033);
  Lang->Items().AddIntObject("German", 1031);
  Lang->Items().InsertObject(0, "Arabic", TStrings::IntToObject(1025));
  ASSERT_EQ(SendMessageA(h, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ComboItem(h, 0), "Arabic");
  EXPECT_EQ(ComboItem(h, 2), "German");
  EXPECT_EQ(Lang->Items().GetIntObject(1), 1033);
  EXPECT_EQ(Lang->Items().IndexOfObject(TStrings::IntToObject(1031)), 2);
  Lang->SetItemIndex(Lang->Items().IndexOfObject(TStrings::IntToObject(1033)));
  EXPECT_EQ(Lang->ItemIndex(), 1);
  EXPECT_EQ(Lang->Text(), "English (United States)");
  Lang->Items().Delete(0);
  EXPECT_EQ(SendMessageA(h, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Lang->Items().GetIntObject(0), 1033);
  Lang->Items().Clear();
  EXPECT_EQ(SendMessageA(h, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Lang->ItemIndex(), -1);
}

TEST_F(Items, CopyingAListWithAssignKeepsObjects) {
  Lang->Items().AddIntObject("English", 1033);
  Lang->Items().AddIntObject("French", 1036);
  Key->Items().Assign(Lang->Items());
  ASSERT_EQ(SendMessageA(Key->Handle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ComboItem(Key->Handle(), 1), "French");
  EXPECT_EQ(Key->Items().GetIntObject(1), 1036);
}

TEST_F(Items, DropDownComboTextIsFreeAndSetSilently) {
  Key->Items().Add("Software\\Quorvel");
  Key->SetText("Software\\Other");
  EXPECT_EQ(Key->Text(), "Software\\Other");
  EXPECT_EQ(Key->ItemIndex(), -1);
  EXPECT_TRUE(Form->Log.empty());
  Lang->Items().Add("One");
  Lang->Items().Add("Two");
  Lang->SetText("Two");  // a drop-down list can only show one of its items
  EXPECT_EQ(Lang->ItemIndex(), 1);
}

TEST_F(Items, ListBoxSortsNewItemsAndPutReplacesInPlace) {
  for (const char* s : {"pear", "Apple", "melon"}) Sorted->Items().Add(s);
  HWND h = Sorted->Handle();
  EXPECT_EQ(ListItem(h, 0), "Apple");
  EXPECT_EQ(ListItem(h, 1), "melon");
  EXPECT_EQ(ListItem(h, 2), "pear");
  Sorted->SetItemIndex(2);
  EXPECT_EQ(Sorted->ItemIndex(), 2);
  Sorted->SetItemIndex(-1);
  EXPECT_EQ(Sorted->ItemIndex(), -1);
  EXPECT_EQ(Sorted->Items().IndexOf("MELON"), 1);
}

TEST_F(Items, CheckListBoxKeepsChecksObjectsAndSelectionPerItem) {
  TItem a(1), b(2);
  Files->Items().AddObject("a.exe", &a);
  Files->Items().AddObject("b.txt", &b);
  Files->Items().Add("c.dll");
  Files->SetChecked(1, true);
  EXPECT_FALSE(Files->Checked(0));
  EXPECT_TRUE(Files->Checked(1));
  EXPECT_EQ(static_cast<TItem*>(static_cast<TObject*>(Files->Items().Objects[1]))->Id, 2);
  Files->SetSelected(0, true);
  Files->SetSelected(2, true);
  EXPECT_EQ(Files->SelCount(), 2);
  EXPECT_TRUE(Files->Selected(2));
  EXPECT_FALSE(Files->Selected(1));
  // Deleting the first entry moves the others' checks and objects with them.
  Files->Items().Delete(0);
  EXPECT_TRUE(Files->Checked(0));
  EXPECT_EQ(ListItem(Files->Handle(), 0), "b.txt");
  EXPECT_EQ(Files->Items().GetObjectAt(0), &b);
  EXPECT_TRUE(Files->Selected(1));
}

TEST_F(Items, ClickingTheCheckBoxOfAnEntryTogglesItAndFiresOnClickCheck) {
  int clicks = 0;
  Files->OnClickCheck = [&](TObject*) { ++clicks; };
  Files->Items().Add("readme.txt");
  RECT r;
  SendMessageA(Files->Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  SendMessageA(Files->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left + 5, r.top + 3));
  SendMessageA(Files->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.left + 5, r.top + 3));
  EXPECT_TRUE(Files->Checked(0));
  EXPECT_EQ(clicks, 1);
}

TEST_F(Items, TabsHoldTheItemObjectsOfAPage) {
  TItem first(1), placeholder(2), inserted(3);
  Tabs->Tabs().AddObject("Registry1", &first);
  Tabs->Tabs().AddObject("Add A Registry Entry", &placeholder);
  HWND h = Tabs->Handle();
  ASSERT_EQ(SendMessageA(h, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(TabItem(h, 1), "Add A Registry Entry");
  // Turning the placeholder into an item: new caption, a new placeholder after it.
  Tabs->SetTabIndex(1);
  Tabs->Tabs().Strings[1] = "Registry2";
  Tabs->Tabs().AddObject("Add A Registry Entry", &inserted);
  EXPECT_EQ(TabItem(h, 1), "Registry2");
  EXPECT_EQ(Tabs->Tabs().GetObjectAt(1), &placeholder);
  EXPECT_EQ(Tabs->Tabs().Count(), 3);
  // Deleting a tab keeps captions and objects together.
  Tabs->Tabs().Delete(0);
  EXPECT_EQ(SendMessageA(h, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(TabItem(h, 0), "Registry2");
  EXPECT_EQ(Tabs->Tabs().GetObjectAt(0), &placeholder);
  EXPECT_EQ(Tabs->Tabs().GetObjectAt(1), &inserted);
  Tabs->SetTabIndex(0);
  EXPECT_EQ(Tabs->TabIndex(), 0);
  Tabs->SetTabIndex(7);  // out of range selects no tab
  EXPECT_EQ(Tabs->TabIndex(), -1);
}

// A batch of tab changes (BeginUpdate ... EndUpdate: how a project's pages are
// filled and cleared) ends with the window showing what the same changes one
// at a time show: captions of every width, their places, the style, the
// selection; a control of fixed-width tabs keeps them.
TEST_F(Items, ABatchOfTabChangesShowsWhatSingleChangesShow) {
  Form->SetBounds(0, 0, 900, 300);
  for (TTabControl* t : {Tabs, Batch}) t->SetBounds(0, 0, 700, 200);
  auto fill = [](TTabControl* t, const std::string& prefix) {
    for (int i = 0; i < 40; ++i) t->Tabs().Add(prefix + std::string(static_cast<size_t>(i % 7) * 3, 'W') + std::to_string(i));
  };
  fill(Tabs, "Entry");
  {
    TUpdateBatch batch(Batch->Tabs());
    fill(Batch, "Entry");
  }
  Tabs->SetTabIndex(0);
  Batch->SetTabIndex(0);
  EXPECT_EQ(Shown(Batch).Captions.size(), 40u);
  EXPECT_EQ(Differences(Shown(Batch), Shown(Tabs)), "");

  // Replaced: cleared and filled again in one batch, a selection made inside it.
  Tabs->Tabs().Clear();
  fill(Tabs, "R");
  Tabs->SetTabIndex(3);
  {
    TUpdateBatch batch(Batch->Tabs());
    Batch->Tabs().Clear();
    fill(Batch, "R");
    Batch->SetTabIndex(3);
  }
  EXPECT_EQ(Shown(Batch).Captions.front(), "R0");
  EXPECT_EQ(Differences(Shown(Batch), Shown(Tabs)), "");

  const LONG_PTR fixedStyle = GetWindowLongPtrA(Fixed->Handle(), GWL_STYLE);
  ASSERT_TRUE(fixedStyle & TCS_FIXEDWIDTH);
  {
    TUpdateBatch batch(Fixed->Tabs());
    fill(Fixed, "F");
  }
  EXPECT_EQ(GetWindowLongPtrA(Fixed->Handle(), GWL_STYLE), fixedStyle);
  EXPECT_EQ(Shown(Fixed).Captions.size(), 40u);
}

TEST(ItemsPages, HiddenTabsKeepTheirPages) {
  auto form = MakeForm(R"(
  object PageControl1: TPageControl
    object TabSheet1: TTabSheet
      Caption = 'Info'
    end
    object TabSheet2: TTabSheet
      Caption = 'Directories'
    end
    object TabSheet9: TTabSheet
      Caption = 'Start'
    end
  end
)");
  auto* pc = form->Get<TPageControl>("PageControl1");
  auto* start = form->Get<TTabSheet>("TabSheet9");
  EXPECT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->ActivePage(), form->Get<TTabSheet>("TabSheet1"));
  pc->SetTabHeight(1);
  pc->SetTabWidth(1);
  for (int i = 0; i < pc->PageCount(); ++i) pc->Pages(i)->SetTabVisible(false);
  EXPECT_EQ(SendMessageA(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), 0);
  pc->SetActivePage(start);
  start->SetTabVisible(true);
  EXPECT_EQ(SendMessageA(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(pc->ActivePage(), start);
  EXPECT_EQ(start->PageIndex(), 2);
  EXPECT_TRUE(IsWindowVisible(start->Handle()) || !IsWindowVisible(form->Handle()));
  EXPECT_TRUE(start->Visible());
  EXPECT_FALSE(form->Get<TTabSheet>("TabSheet1")->Visible());
}

TEST(ItemsText, RichEditLoadsRtfAndMemoLinesFollowTheText) {
  auto form = MakeForm(R"(
  object reInfo: TRichEdit
    ReadOnly = True
  end
  object Memo1: TMemo
    Lines.Strings = ('first' 'second')
  end
)");
  std::string path = std::string(TQ_BINARY_DIR) + "\\controls-help-test.rtf";
  // Write through the program's own file API (the path is a Windows path).
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const char rtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 The {\\b Info} page.\\par Second line.}";
  DWORD written;
  WriteFile(h, rtf, sizeof rtf - 1, &written, nullptr);
  CloseHandle(h);
  auto* re = form->Get<TRichEdit>("reInfo");
  re->Lines().LoadFromFile(path);
  EXPECT_EQ(re->Lines().Get(0), "The Info page.");
  EXPECT_EQ(re->Lines().Get(1), "Second line.");
  auto* memo = form->Get<TMemo>("Memo1");
  EXPECT_EQ(memo->Lines().Count(), 2);
  memo->Lines().Add("third");
  EXPECT_EQ(memo->Text(), "first\r\nsecond\r\nthird");
  memo->Lines().Delete(0);
  EXPECT_EQ(memo->Lines().Get(0), "second");
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace tq::testing
