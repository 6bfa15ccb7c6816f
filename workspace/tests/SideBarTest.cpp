// The side bar as a real control on a real form: which items its layout
// places for a height, the spin buttons, the header buttons, clicks, the item
// store and its stored pictures.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "Outlook.h"
#include "PageIcons.h"

namespace tq::testing {
namespace {

using Captions = std::vector<std::string>;

class SideBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = new TForm(Application);
    Form->SetBounds(0, 0, 400, 900);
    Bar = new TOutlook(Form);
    Bar->SetAlign(alNone);
    Bar->SetParent(Form);
  }
  void TearDown() override { delete Form; }
  // Headers "A", "B", ... with the given numbers of items "A1", "A2", ...
  void Fill(const std::vector<int>& counts, int available) {
    Captions headers;
    for (size_t h = 0; h < counts.size(); ++h) headers.push_back(std::string(1, static_cast<char>('A' + h)));
    Bar->Items().SetHeaders(headers);
    for (size_t h = 0; h < counts.size(); ++h)
      for (int i = 1; i <= counts[h]; ++i)
        Bar->Items().SetItemCaption(static_cast<int>(h) + 1, i, headers[h] + IntToStr(i));
    SetAvailable(available, static_cast<int>(counts.size()));
    Bar->ArrangeItems();
  }
  void SetAvailable(int available, int headers) {
    Bar->SetBounds(0, 0, 110, available + TOutlook::HeaderHeight * headers);
  }
  // The captions of the placed items, top to bottom; each at its 60-pixel row.
  Captions Shown() {
    std::vector<TPanel*> placed;
    for (TPanel* p : Bar->ActivePanels())
      if (p->Parent() == Bar->InnerBox()) placed.push_back(p);
    std::sort(placed.begin(), placed.end(), [](TPanel* a, TPanel* b) { return a->Top() < b->Top(); });
    Captions out;
    for (size_t i = 0; i < placed.size(); ++i) {
      EXPECT_EQ(placed[i]->Top(), static_cast<int>(i) * TOutlook::ItemHeight);
      EXPECT_TRUE(IsWindowVisible(placed[i]->WindowHandle()) || !IsWindowVisible(Form->WindowHandle()));
      out.push_back(Bar->ItemImage(placed[i])->StrValue());
    }
    return out;
  }
  static Captions Items(int from, int to) {
    Captions out;
    for (int i = from; i <= to; ++i) out.push_back("A" + IntToStr(i));
    return out;
  }
  static void Click(TControl* c) {
    SendMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  TForm* Form = nullptr;
  TOutlook* Bar = nullptr;
};

struct TSpinCase {
  const char* Name;
  int Items;
  int Available;
  const char* Steps;  // 'd' spin down, 'u' spin up, one letter per step
  std::vector<Captions> After;  // shown before the first step, then after each
  bool Spin;                    // spin buttons shown at the start
};

TEST_F(SideBarTest, PlacesTheItemsThatFitAndSpinsThroughTheRest) {
  const TSpinCase cases[] = {
      {"five items in 200 pixels", 5, 200, "dddu",
       {Items(1, 3), Items(2, 4), Items(3, 5), Items(3, 5), Items(2, 4)}, true},
      {"three items that fit", 3, 200, "du", {Items(1, 3), Items(1, 3), Items(1, 3)}, false},
      {"the main window's twelve pages at its design size", 12, 384, "ddddddd",
       {Items(1, 6), Items(2, 7), Items(3, 8), Items(4, 9), Items(5, 10), Items(6, 11), Items(7, 12), Items(7, 12)},
       true},
      // Four rows exactly as tall as the space: the last row's bottom would
      // touch the headers, so it is not placed, and the spin buttons reach it.
      {"items exactly as tall as the space", 4, 240, "dd", {Items(1, 3), Items(2, 4), Items(2, 4)}, true},
  };
  for (const TSpinCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Fill({c.Items}, c.Available);
    Bar->SetActiveTab(1);
    EXPECT_EQ(Bar->SpinVisible(), c.Spin);
    EXPECT_EQ(Shown(), c.After[0]);
    for (size_t s = 0; c.Steps[s]; ++s) {
      if (c.Steps[s] == 'd') Bar->SpinDown();
      else Bar->SpinUp();
      EXPECT_EQ(Shown(), c.After[s + 1]) << "after step " << s + 1;
    }
  }
}

TEST_F(SideBarTest, TheSpinButtonsHalvesScrollAsClicked) {
  Fill({5}, 200);
  Bar->SetActiveTab(1);
  TSpinButton* spin = Bar->SpinButton();
  const int lower = spin->Height() - 3, upper = 3;
  for (int y : {lower, lower}) {
    SendMessageA(spin->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, y));
    SendMessageA(spin->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, y));
  }
  EXPECT_EQ(Shown(), Items(3, 5));
  SendMessageA(spin->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, upper));
  SendMessageA(spin->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, upper));
  EXPECT_EQ(Shown(), Items(2, 4));
}

TEST_F(SideBarTest, ScrollingAndThenGrowingLeavesNoItemOutOfReach) {
  Fill({12}, 384);
  Bar->SetActiveTab(1);
  for (int i = 0; i < 6; ++i) Bar->SpinDown();
  ASSERT_EQ(Shown(), Items(7, 12));
  // Room for eight: the bar scrolls back so that eight show, ending at the last.
  SetAvailable(8 * 60 + 1, 1);
  EXPECT_EQ(Shown(), Items(5, 12));
  EXPECT_TRUE(Bar->SpinVisible());
  // Room for all: every item shows and the spin buttons go.
  SetAvailable(12 * 60 + 1, 1);
  EXPECT_EQ(Shown(), Items(1, 12));
  EXPECT_FALSE(Bar->SpinVisible());
  // Shrinking again keeps the top and brings the spin buttons back.
  SetAvailable(384, 1);
  EXPECT_EQ(Shown(), Items(1, 6));
  EXPECT_TRUE(Bar->SpinVisible());
}

TEST_F(SideBarTest, HeadersStackAboveAndBelowTheActiveOne) {
  Fill({2, 0, 1}, 200);  // bar height 266
  struct TCase {
    int Active;
    std::vector<int> Tops;
    Captions Shown;
  };
  const TCase cases[] = {
      {0, {200, 222, 244}, {}},
      {1, {0, 222, 244}, {"A1", "A2"}},
      {2, {0, 22, 244}, {}},  // a header without items still has its button
      {3, {0, 22, 44}, {"C1"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Active);
    Bar->SetActiveTab(c.Active);
    ASSERT_EQ(Bar->HeaderButtonCount(), 3);
    for (int b = 0; b < 3; ++b) {
      EXPECT_EQ(Bar->HeaderButton(b)->Top(), c.Tops[static_cast<size_t>(b)]) << "button " << b + 1;
      EXPECT_EQ(Bar->HeaderButton(b)->Height(), TOutlook::HeaderHeight);
      EXPECT_EQ(Bar->HeaderButton(b)->Caption(), std::string(1, static_cast<char>('A' + b)));
    }
    EXPECT_EQ(Shown(), c.Shown);
    EXPECT_FALSE(Bar->SpinVisible());
  }
  Bar->SetActiveTab(4);  // above the number of headers: nothing changes
  EXPECT_EQ(Bar->ActiveTab(), 3);
}

TEST_F(SideBarTest, ClicksOnHeadersAndPicturesReportTheirCaptions) {
  Fill({2, 1}, 200);
  Bar->SetActiveTab(1);
  std::vector<std::string> tabs, items;
  Bar->OnTabChange = [&](TObject*, const std::string& caption) { tabs.push_back(caption); };
  Bar->OnItemClick = [&](TObject*, const std::string& caption) { items.push_back(caption); };
  Click(Bar->ItemImage(Bar->ActivePanels()[1]));
  EXPECT_EQ(items, Captions{"A2"});
  Click(Bar->HeaderButton(1));
  EXPECT_EQ(tabs, Captions{"B"});
  EXPECT_EQ(Bar->ActiveTab(), 2);
  EXPECT_EQ(Shown(), Captions{"B1"});
  // Each item is a picture 40 pixels square, centred in the bar, with its
  // caption centred under it.
  TPanel* panel = Bar->ActivePanels()[0];
  TFlatImage* image = Bar->ItemImage(panel);
  EXPECT_EQ(image->Left(), (110 - 40) / 2);
  EXPECT_EQ(image->Top(), 5);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(panel->Height(), TOutlook::ItemHeight);
}

TEST_F(SideBarTest, PictureButtonsRaiseUnderTheMouseAndSinkWhilePressed) {
  Fill({1}, 200);
  Bar->SetActiveTab(1);
  TFlatImage* image = Bar->ItemImage(Bar->ActivePanels()[0]);
  HWND w = image->Handle();
  EXPECT_FALSE(image->MouseInside());
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(image->MouseInside());
  EXPECT_FALSE(image->Pressed());
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_TRUE(image->Pressed());
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_FALSE(image->Pressed());
  EXPECT_TRUE(image->MouseInside());
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(w, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(image->MouseInside());
  EXPECT_FALSE(image->Pressed());
}

TEST_F(SideBarTest, TheItemStoreReadsItsLinesAndGrowsOnDemand) {
  TOutlookItems& items = Bar->Items();
  items.SetHeaders({"One", "Two", "Three"});
  // Lines before the first index are dropped; a caption equal to the next
  // index starts that header.
  items.SetContents({"stray", "0", "a", "1", "b", "1", "2", "c"});
  EXPECT_EQ(items.ItemCount(0), 3);
  EXPECT_EQ(items.ItemCount(1), 1);
  EXPECT_EQ(items.ItemCount(2), 2);
  EXPECT_EQ(items.GetItemCaption(2, 2), "1");
  EXPECT_EQ(items.GetItemCaption(3, 1), "c");
  EXPECT_EQ(items.Contents(), (Captions{"0", "a", "1", "b", "1", "2", "c"}));
  EXPECT_EQ(items.Headers(), (Captions{"One", "Two", "Three"}));
  items.SetItemCaption(1, 4, "d");
  ASSERT_EQ(items.ItemCount(1), 4);
  for (int i : {2, 3}) {
    EXPECT_EQ(items.GetItemCaption(1, i), "");
    ASSERT_NE(items.GetItemPicture(1, i), nullptr);
    EXPECT_TRUE(items.GetItemPicture(1, i)->Bitmap().Empty());
  }
  // Out of range: empty answers, no changes.
  EXPECT_EQ(items.GetItemCaption(4, 1), "");
  EXPECT_EQ(items.GetItemPicture(1, 9), nullptr);
  EXPECT_EQ(items.ItemCount(7), 0);
  items.SetItemCaption(5, 1, "x");
  items.DeleteItem(1, 9);
  EXPECT_EQ(items.ItemCount(0), 3);
  EXPECT_EQ(items.ItemCount(1), 4);
  items.DeleteItem(1, 1);
  EXPECT_EQ(items.GetItemCaption(1, 3), "d");
}

// The colour of a bitmap's pixel.
COLORREF PixelOf(HBITMAP bmp, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

HBITMAP Filled(int size, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT r{0, 0, size, size};
  HBRUSH b = CreateSolidBrush(colour);
  FillRect(dc, &r, b);
  DeleteObject(b);
  SetPixel(dc, 0, 0, RGB(255, 255, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bmp;
}

TEST_F(SideBarTest, StoredPicturesComeBackFromThePlatformImageList) {
  TOutlookItems& items = Bar->Items();
  items.SetHeaders({"One", "Two"});
  items.SetContents({"0", "a", "b", "1", "c"});
  items.GetItemPicture(1, 1)->Bitmap().SetHandle(Filled(32, RGB(200, 0, 0)));
  items.GetItemPicture(2, 1)->Bitmap().SetHandle(Filled(16, RGB(0, 0, 200)));  // stored at 32 x 32
  const std::vector<uint8_t> stored = items.WriteImages();
  ASSERT_GT(stored.size(), 2u);
  EXPECT_EQ(stored[0], 'I');
  EXPECT_EQ(stored[1], 'L');

  TOutlookItems copy(nullptr);
  copy.SetHeaders({"One", "Two"});
  copy.SetContents({"0", "a", "b", "1", "c"});
  copy.ReadImages(stored);
  struct TProbe {
    int Header, Item, X, Y;
    COLORREF Colour;
  };
  for (const TProbe& p : {TProbe{1, 1, 10, 10, RGB(200, 0, 0)}, TProbe{1, 1, 0, 0, RGB(255, 255, 0)},
                          TProbe{1, 2, 10, 10, RGB(128, 128, 128)}, TProbe{2, 1, 31, 31, RGB(0, 0, 200)}}) {
    TPicture* picture = copy.GetItemPicture(p.Header, p.Item);
    ASSERT_NE(picture, nullptr);
    ASSERT_FALSE(picture->Bitmap().Empty());
    EXPECT_EQ(picture->Width(), 32);
    EXPECT_EQ(PixelOf(picture->Bitmap().Handle(), p.X, p.Y), p.Colour) << p.Header << "." << p.Item;
  }
  EXPECT_THROW(copy.ReadImages({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}), EReadError);
  EXPECT_THROW(copy.ReadImages({}), EReadError);
}

// The main window's side bar: its pictures are our page icons, and it is
// rebuilt after every rescale of the window.
using MainWindowSideBarTest = MainWindowTest;

TEST_F(MainWindowSideBarTest, ThePicturesAreThePageIconsInPageOrder) {
  TOutlookItems& items = W->Outlook1->Items();
  ASSERT_EQ(items.ItemCount(1), PageIconCount);
  for (int i = 0; i < PageIconCount; ++i) {
    SCOPED_TRACE(PageIconCaptions[i]);
    EXPECT_EQ(items.GetItemCaption(1, i + 1), PageIconCaptions[i]);
    TPicture* picture = items.GetItemPicture(1, i + 1);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->Width(), 32);
    HBITMAP drawn = DrawPageIcon(i);
    int differing = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (PixelOf(drawn, x, y) != PixelOf(picture->Bitmap().Handle(), x, y)) ++differing;
    DeleteObject(drawn);
    EXPECT_EQ(differing, 0) << "the layout's picture is not the icon drawn now: run tqsidebaricons";
  }
  // One icon per page: no two alike.
  for (int a = 0; a < PageIconCount; ++a)
    for (int b = a + 1; b < PageIconCount; ++b) {
      int differing = 0;
      for (int y = 0; y < 32; y += 2)
        for (int x = 0; x < 32; x += 2)
          if (PixelOf(items.GetItemPicture(1, a + 1)->Bitmap().Handle(), x, y) !=
              PixelOf(items.GetItemPicture(1, b + 1)->Bitmap().Handle(), x, y))
            ++differing;
      EXPECT_GT(differing, 20) << PageIconCaptions[a] << " and " << PageIconCaptions[b];
    }
}

}  // namespace
}  // namespace tq::testing
