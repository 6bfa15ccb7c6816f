// A tab control with many more tabs than its native control holds: every tab
// keeps its caption and object in order through selections, inserts and
// deletes, and the user reaches every tab with the row's arrows, the keyboard
// and the mouse.
#include <gtest/gtest.h>

#include <functional>

#include "TestForms.h"

namespace tq::testing {
namespace {

constexpr int kTabs = 2000;

int NativeCount(HWND h) { return static_cast<int>(SendMessageA(h, TCM_GETITEMCOUNT, 0, 0)); }
RECT NativeRect(HWND h, int native) {
  RECT r{};
  SendMessageA(h, TCM_GETITEMRECT, static_cast<WPARAM>(native), reinterpret_cast<LPARAM>(&r));
  return r;
}
HWND Arrows(HWND h) { return FindWindowExA(h, nullptr, UPDOWN_CLASSA, nullptr); }

std::string Caption(int id) { return "Entry" + std::to_string(id); }

class ManyTabs : public ::testing::Test {
 public:  // the cases below change the row through it
  void SetUp() override {
    Form->SetBounds(0, 0, 600, 300);
    Row->SetBounds(0, 0, 500, 200);
    Refill();
  }
  void Refill() {
    TUpdateBatch batch(Row->Tabs());
    Row->Tabs().Clear();
    Ids.clear();
    for (int i = 0; i < kTabs; ++i) Add(i, i);
    Row->SetTabIndex(0);
  }
  void Add(int at, int id) {
    Row->Tabs().InsertObject(at, Caption(id), TStrings::IntToObject(id));
    Ids.insert(Ids.begin() + at, id);
  }
  void Delete(int at) {
    Row->Tabs().Delete(at);
    Ids.erase(Ids.begin() + at);
  }
  // The first tab the row shows and the one at its right end (before the arrows).
  int FirstShown() { return Row->IndexOfTabAt(4, RowMiddle()); }
  int LastShown() {
    RECT arrows;
    GetWindowRect(Arrows(Row->Handle()), &arrows);
    MapWindowPoints(nullptr, Row->Handle(), reinterpret_cast<POINT*>(&arrows), 2);
    return Row->IndexOfTabAt(arrows.left - 4, RowMiddle());
  }
  int RowMiddle() { return Row->DisplayRect().top / 2; }
  // Every difference between the tabs, the model and the native control
  // ("" when none): each tab's caption and object, the tabs the native control
  // holds (at most its share, a run of the tabs in order), the selection.
  std::string Differences(int selected) {
    std::string d;
    const int count = Row->Tabs().Count();
    if (count != static_cast<int>(Ids.size())) return "count " + std::to_string(count);
    for (int i = 0; i < count && d.empty(); ++i)
      if (Row->Tabs().Get(i) != Caption(Ids[i]) || Row->Tabs().GetIntObject(i) != Ids[i])
        d += "tab " + std::to_string(i) + " is " + Row->Tabs().Get(i) + "; ";
    HWND h = Row->Handle();
    const int held = NativeCount(h);
    if (held != std::min(count, TTabControl::HeldTabsMax)) d += "held " + std::to_string(held) + "; ";
    const int first = FirstShown();
    if (count > 0 && first < 0) return d + "no tab shown";
    TCHITTESTINFO hit{};
    hit.pt = POINT{4, RowMiddle()};
    const int native = static_cast<int>(SendMessageA(h, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const int start = first - native;  // the tab held as native tab 0
    for (int k = 0; k < held; ++k)
      if (TabItem(h, k) != Row->Tabs().Get(start + k)) {
        d += "native tab " + std::to_string(k) + " is " + TabItem(h, k) + "; ";
        break;
      }
    if (Row->TabIndex() != selected) d += "selected " + std::to_string(Row->TabIndex()) + "; ";
    const int cur = static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0));
    if (cur >= 0 && start + cur != selected) d += "native selection " + std::to_string(start + cur) + "; ";
    return d;
  }
  // The selected tab is in the native control and shown in the row.
  bool SelectedShown() {
    HWND h = Row->Handle();
    const int cur = static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0));
    if (cur < 0) return false;
    RECT r = NativeRect(h, cur);
    return Row->IndexOfTabAt((r.left + r.right) / 2, (r.top + r.bottom) / 2) == Row->TabIndex();
  }
  void ClickArrow(bool right) {
    HWND arrows = Arrows(Row->Handle());
    RECT r;
    GetClientRect(arrows, &r);
    const LPARAM at = MAKELPARAM(right ? r.right - 3 : 2, r.bottom / 2);
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(arrows, WM_LBUTTONUP, 0, at);
  }
  std::unique_ptr<TEventForm> Form = MakeForm(R"(
  object tcMany: TTabControl
    OnChange = AnyChange
  end
)");
  TTabControl* Row = Form->Get<TTabControl>("tcMany");
  std::vector<int> Ids;
};

struct TManyTabsCase {
  const char* Name;
  std::function<void(ManyTabs&)> Change;
  int Selected;  // TabIndex after the change
  bool SelectionShown = true;  // false: the selected tab is outside the window
};

TEST_F(ManyTabs, EveryTabKeepsItsCaptionObjectAndSelection) {
  const TManyTabsCase cases[] = {
      {"loaded", [](ManyTabs&) {}, 0},
      {"far tab selected", [](ManyTabs& t) { t.Row->SetTabIndex(1500); }, 1500},
      {"last tab selected", [](ManyTabs& t) { t.Row->SetTabIndex(kTabs - 1); }, kTabs - 1},
      {"near after far", [](ManyTabs& t) { t.Row->SetTabIndex(1700), t.Row->SetTabIndex(3); }, 3},
      {"none selected", [](ManyTabs& t) { t.Row->SetTabIndex(1200), t.Row->SetTabIndex(-1); }, -1},
      {"inserted before a far selection", [](ManyTabs& t) { t.Row->SetTabIndex(1500), t.Add(0, 9000); }, 1501},
      {"inserted beside a far selection", [](ManyTabs& t) { t.Row->SetTabIndex(1500), t.Add(1490, 9000); }, 1501},
      {"inserted after the selection", [](ManyTabs& t) { t.Row->SetTabIndex(10), t.Add(1800, 9000); }, 10},
      {"inserted at the end", [](ManyTabs& t) { t.Row->SetTabIndex(kTabs - 1), t.Add(kTabs, 9000); }, kTabs - 1},
      {"deleted before a far selection", [](ManyTabs& t) { t.Row->SetTabIndex(1500), t.Delete(3); }, 1499},
      {"deleted beside a far selection", [](ManyTabs& t) { t.Row->SetTabIndex(1500), t.Delete(1499); }, 1499},
      {"far selection deleted", [](ManyTabs& t) { t.Row->SetTabIndex(1500), t.Delete(1500); }, -1},
      {"deleted after the selection", [](ManyTabs& t) { t.Row->SetTabIndex(5), t.Delete(1900); }, 5},
      {"window emptied one by one",
       [](ManyTabs& t) {
         t.Row->SetTabIndex(1000);
         for (int i = 0; i < 700; ++i) t.Delete(900);
       },
       -1},
      {"window's end deleted one by one",
       [](ManyTabs& t) {
         t.Row->SetTabIndex(100);
         for (int i = 0; i < 1800; ++i) t.Delete(t.Row->Tabs().Count() - 1);
       },
       100},
      {"far caption replaced",
       [](ManyTabs& t) {
         t.Row->Tabs().Put(1600, Caption(9000)), t.Row->Tabs().PutIntObject(1600, 9000), t.Ids[1600] = 9000;
         t.Row->SetTabIndex(1600);
       },
       1600},
      // The selected tab pushed off the window's end by an insert at its start
      // is still the selection, and selecting it brings it back.
      {"selection pushed out of the window",
       [](ManyTabs& t) { t.Row->SetTabIndex(TTabControl::HeldTabsMax - 1), t.Add(0, 9000); },
       TTabControl::HeldTabsMax, false},
      {"pushed-out selection selected again",
       [](ManyTabs& t) {
         t.Row->SetTabIndex(TTabControl::HeldTabsMax - 1), t.Add(0, 9000);
         t.Row->SetTabIndex(t.Row->TabIndex());
       },
       TTabControl::HeldTabsMax},
      {"replaced in a batch",
       [](ManyTabs& t) {
         TUpdateBatch batch(t.Row->Tabs());
         t.Row->SetTabIndex(1500);
         t.Row->Tabs().Clear();
         t.Ids.clear();
         for (int i = 0; i < kTabs; ++i) t.Add(i, kTabs + i);
         t.Row->SetTabIndex(1999);
       },
       1999},
  };
  for (const TManyTabsCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Refill();  // a fresh row of tabs for each case
    c.Change(*this);
    EXPECT_EQ(Differences(c.Selected), "");
    if (c.Selected >= 0) {
      EXPECT_EQ(SelectedShown(), c.SelectionShown);
    }
  }
  EXPECT_EQ(Form->Log.size(), 0u);  // no change fired a user's event
}

// The row's right arrow, clicked again and again, scrolls it one tab at a time
// to the last tab, and the left arrow all the way back to the first.
TEST_F(ManyTabs, TheRowsArrowsReachTheLastTabAndTheFirst) {
  ASSERT_TRUE(Arrows(Row->Handle()));
  int first = FirstShown();
  ASSERT_EQ(first, 0);
  for (int i = 0; i < 2 * kTabs && LastShown() != kTabs - 1; ++i) {
    ClickArrow(true);
    ASSERT_EQ(FirstShown(), ++first) << "after " << i + 1 << " clicks";
  }
  EXPECT_EQ(LastShown(), kTabs - 1);
  EXPECT_EQ(Differences(0), "");
  for (int i = 0; i < 2 * kTabs && first > 0; ++i) {
    ClickArrow(false);
    ASSERT_EQ(FirstShown(), --first) << "after " << i + 1 << " clicks back";
  }
  EXPECT_EQ(FirstShown(), 0);
  ClickArrow(false);
  EXPECT_EQ(FirstShown(), 0);
  EXPECT_EQ(Differences(0), "");
}

// The arrow keys step the selection through every tab, each step a user's
// choice (OnChange), the selected tab always shown and the row scrolled only
// the way the selection goes, by a few tabs at most (the native control scrolls
// as many narrow tabs away as a wider one needs): never back to a window's
// start or end.
TEST_F(ManyTabs, TheArrowKeysStepToTheLastTabAndBack) {
  HWND h = Row->Handle();
  for (int i = 1, first = FirstShown(); i < kTabs; ++i) {
    SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(Row->TabIndex(), i);
    ASSERT_TRUE(SelectedShown()) << "tab " << i;
    const int now = FirstShown();
    ASSERT_TRUE(now >= first && now <= first + 3) << "tab " << i << ": row from " << first << " to " << now;
    first = now;
  }
  SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(Row->TabIndex(), kTabs - 1);
  EXPECT_EQ(Differences(kTabs - 1), "");
  for (int i = kTabs - 2, first = FirstShown(); i >= 0; --i) {
    SendMessageA(h, WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_EQ(Row->TabIndex(), i);
    ASSERT_TRUE(SelectedShown()) << "tab " << i;
    const int now = FirstShown();
    ASSERT_TRUE(now <= first && now >= first - 3) << "tab " << i << ": row from " << first << " to " << now;
    first = now;
  }
  EXPECT_EQ(Differences(0), "");
  EXPECT_EQ(Form->Log.size(), static_cast<size_t>(2 * (kTabs - 1)));
}

// A click on a tab of the row selects that tab: the hit test and the user's
// choice give its own index, far from the first tab too.
TEST_F(ManyTabs, AClickOnAShownTabSelectsIt) {
  Row->SetTabIndex(1500);
  HWND h = Row->Handle();
  const int cur = static_cast<int>(SendMessageA(h, TCM_GETCURSEL, 0, 0));
  RECT r = NativeRect(h, cur + 1);  // the next tab, beside the selected one
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  EXPECT_EQ(Row->IndexOfTabAt(x, y), 1501);
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  EXPECT_EQ(Row->TabIndex(), 1501);
  EXPECT_EQ(Row->Tabs().GetIntObject(Row->TabIndex()), 1501);
  ASSERT_EQ(Form->Log.size(), 1u);
  EXPECT_EQ(Form->Log[0], "Change tcMany");
}

// A multi-line control shows all its rows at once: it holds every tab.
TEST(ManyTabsMultiLine, HoldsEveryTab) {
  auto form = MakeForm(R"(
  object tcLines: TTabControl
    MultiLine = True
  end
)");
  auto* lines = form->Get<TTabControl>("tcLines");
  const int count = TTabControl::HeldTabsMax + 40;
  {
    TUpdateBatch batch(lines->Tabs());
    for (int i = 0; i < count; ++i) lines->Tabs().Add(Caption(i));
  }
  lines->SetTabIndex(count - 1);
  ASSERT_EQ(NativeCount(lines->Handle()), count);
  EXPECT_EQ(TabItem(lines->Handle(), count - 1), Caption(count - 1));
  EXPECT_EQ(SendMessageA(lines->Handle(), TCM_GETCURSEL, 0, 0), count - 1);
  EXPECT_EQ(lines->TabIndex(), count - 1);
}

}  // namespace
}  // namespace tq::testing
