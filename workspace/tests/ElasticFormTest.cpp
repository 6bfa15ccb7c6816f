// The form-resizing component: its rounding, start bounds and state-file
// rules as tables, and a real form carrying it on an injected screen: start
// bounds, the 5-pixel rule, tracking sizes, fonts, visibility and the state
// file written and read back. Then the main window and the Add Files dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "AddFilesDlg.h"
#include "ElasticForm.h"
#include "FileUtils.h"
#include "MainWindowFixture.h"
#include "StdCtrls.h"

namespace tq::testing {
namespace {

const TScreenMetrics DesignScreen{1032, 748, 96};

// Puts a screen in for one test.
class TScreenScope {
 public:
  explicit TScreenScope(TScreenMetrics m) { ScreenMetricsSource() = [m] { return m; }; }
  ~TScreenScope() { ScreenMetricsSource() = nullptr; }
  TScreenScope(const TScreenScope&) = delete;
  TScreenScope& operator=(const TScreenScope&) = delete;
};

TEST(ElasticRoundingTest, BoundsRoundHalvesToEvenFontsOnlyAboveOneHalf) {
  struct TCase {
    double Value;
    int Bounds, Font;
  };
  const TCase cases[] = {{10.5, 10, 10}, {11.5, 12, 11}, {10.51, 11, 11}, {10.49, 10, 10},
                         {-10.7, -11, -10}, {0.5, 0, 0}, {9.06, 9, 9}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Value);
    EXPECT_EQ(RoundBounds(c.Value), c.Bounds);
    EXPECT_EQ(RoundFont(c.Value), c.Font);
  }
  EXPECT_EQ(SignRuleValue(600, 1032), 600);
  EXPECT_EQ(SignRuleValue(0, 1032), 0);
  EXPECT_EQ(SignRuleValue(-50, 1032), 516);
  EXPECT_EQ(SignRuleValue(-50, 748), 374);
}

TStartBoundsInput MainWindowStart(TScreenMetrics screen) {
  TStartBoundsInput in;
  in.DesignForm = {73, 124, 670, 452};
  in.DesignClientWidth = 662;
  in.DesignClientHeight = 406;
  in.DesignScreenWidth = 1032;
  in.DesignScreenHeight = 748;
  in.Screen = screen;
  return in;
}

TEST(ElasticStartBoundsTest, FitTheDesignToTheScreen) {
  struct TCase {
    const char* Name;
    TStartBoundsInput In;
    TElasticBounds Want;
  };
  TStartBoundsInput twice = MainWindowStart({2064, 1496, 96});
  TStartBoundsInput narrow = MainWindowStart({700, 748, 96});
  narrow.DesignScreenWidth = 700;  // no scaling: 73 + 670 passes 700
  TStartBoundsInput addFiles = MainWindowStart(DesignScreen);
  addFiles.DesignForm = {31, 4, 621, 450};
  addFiles.ScreenCenter = true;
  TStartBoundsInput negative = MainWindowStart(DesignScreen);
  negative.DesignForm = {-40, -10, 300, 200};
  TStartBoundsInput maximised = MainWindowStart(DesignScreen);
  maximised.Maximized = true;
  maximised.MaximizedPosX = -10;
  TStartBoundsInput borderless = MainWindowStart(DesignScreen);
  borderless.NoBorder = true;
  const TCase cases[] = {
      {"design screen", MainWindowStart(DesignScreen), {73, 124, 670, 452}},
      {"twice as large", twice, {146, 248, 1340, 904}},
      {"too wide: centred across", narrow, {15, 124, 670, 452}},
      {"centred dialog", addFiles, {205, 149, 621, 450}},
      {"negative position", negative, {0, 0, 300, 200}},
      {"maximised design", maximised, {0, 0, 1032, 748}},  // 103 + 1032 passes the screen: centred
      {"no border: the client size", borderless, {73, 124, 662, 406}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(StartBounds(c.In), c.Want);
  }
}

TEST(ElasticStateFileTest, EncodesAndDecodesEveryField) {
  TElasticState s;
  s.Count = 3;
  s.State = 0;
  s.Left = 0.1;
  s.Top = 0.2;
  s.Width = 0.65;
  s.Height = 0.6;
  s.MaxTrackWidth = -80;
  s.MaxTrackHeight = 500;
  s.Visible = {1, 0, 1};
  s.Placement.showCmd = SW_SHOWNORMAL;
  s.Placement.rcNormalPosition = {10, 20, 680, 472};
  const std::vector<uint8_t> bytes = EncodeElasticState(s);
  ASSERT_EQ(bytes.size(), 4u + 1 + 32 + 8 + 3 + 44);
  int32_t count = 0;
  std::memcpy(&count, bytes.data(), 4);
  EXPECT_EQ(count, 3);
  TElasticState back;
  ASSERT_EQ(DecodeElasticState(bytes, 3, back), TStateRead::Whole);
  EXPECT_EQ(back.Width, 0.65);
  EXPECT_EQ(back.MaxTrackWidth, -80);
  EXPECT_EQ(back.Visible, (std::vector<uint8_t>{1, 0, 1}));
  EXPECT_TRUE(back.PlacementRead);
  EXPECT_EQ(back.Placement.rcNormalPosition.right, 680);

  // A maximised state has no fractions.
  s.State = 2;
  const std::vector<uint8_t> maximised = EncodeElasticState(s);
  EXPECT_EQ(maximised.size(), 4u + 1 + 8 + 3 + 44);
  ASSERT_EQ(DecodeElasticState(maximised, 3, back), TStateRead::Whole);
  EXPECT_EQ(back.State, 2);

  // Another number of controls, or a file cut short.
  EXPECT_EQ(DecodeElasticState(bytes, 4, back), TStateRead::Nothing);
  EXPECT_EQ(DecodeElasticState({1, 2}, 3, back), TStateRead::Nothing);
  EXPECT_EQ(DecodeElasticState(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20), 3, back),
            TStateRead::Partial);
  std::vector<uint8_t> noPlacement(bytes.begin(), bytes.end() - 44);
  ASSERT_EQ(DecodeElasticState(noPlacement, 3, back), TStateRead::Whole);
  EXPECT_FALSE(back.PlacementRead);
}

TEST(ElasticStateFileTest, RestoredRectanglesAreClampedToTheScreen) {
  struct TCase {
    const char* Name;
    TElasticBounds In, Want;
  };
  const TCase cases[] = {
      {"fits", {73, 124, 670, 452}, {73, 124, 670, 452}},
      {"off to the right", {5000, 124, 670, 452}, {362, 124, 670, 452}},
      {"above and left", {-900, -50, 670, 452}, {0, 0, 670, 452}},
      {"no size", {10, 10, 0, -5}, {10, 10, 600, 450}},
      {"larger than the screen", {0, 0, 5000, 5000}, {0, 0, 1032, 748}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TElasticBounds b = c.In;
    ASSERT_TRUE(ClampToScreen(b, DesignScreen, 600, 450));
    EXPECT_EQ(b, c.Want);
  }
  TElasticBounds b;
  EXPECT_FALSE(ClampToScreen(b, TScreenMetrics{0, 0, 96}, 600, 450));
}

// ---- a real form --------------------------------------------------------------

class TElasticTestForm : public TForm {
 public:
  TPanel* Side = nullptr;
  TLabel* Label1 = nullptr;
  TEdit* Edit1 = nullptr;
  TLabel* Hidden1 = nullptr;
  TElasticForm* ElasticForm1 = nullptr;
  int AfterResizes = 0;
  TElasticTestForm(TComponent* owner, const std::string& elastic) : TForm(owner) {
    RegisterComponentClass<TElasticForm>("TElasticForm");
    TQ_FIELD(Side);
    TQ_FIELD(Label1);
    TQ_FIELD(Edit1);
    TQ_FIELD(Hidden1);
    TQ_FIELD(ElasticForm1);
    TQ_HANDLER(TElasticTestForm, ElasticForm1AfterResize);
    LoadLayoutText(
        "object ElasticTestForm: TElasticTestForm\n"
        "  Left = 300\n  Top = 300\n  Width = 670\n  Height = 452\n"
        "  Font.Name = 'Arial'\n  Font.Height = -13\n"
        "  object Side: TPanel\n    Align = alLeft\n    Width = 100\n  end\n"
        "  object Label1: TLabel\n    Left = 116\n    Top = 14\n    Caption = 'Product Name'\n  end\n"
        "  object Edit1: TEdit\n    Left = 230\n    Top = 10\n    Width = 250\n    Height = 22\n  end\n"
        "  object Hidden1: TLabel\n    Left = 116\n    Top = 44\n    Caption = 'Manufacturer'\n  end\n"
        "  object ElasticForm1: TElasticForm\n"
        "    DesignScreenWidth = 1032\n    DesignScreenHeight = 748\n"
        "    MinimumTrackWidth = 600\n    MinimumTrackHeight = 450\n"
        "    DesignFormWidth = 670\n    DesignFormHeight = 452\n"
        "    DesignFormClientWidth = 662\n    DesignFormClientHeight = 406\n"
        "    DesignFormLeft = 73\n    DesignFormTop = 124\n"
        "    Font.Name = 'Arial'\n    Font.Height = -13\n"
        "    ElFrmIniFile = 'test.ini'\n    OnAfterResize = ElasticForm1AfterResize\n" +
        elastic + "  end\nend\n");
  }
  void ElasticForm1AfterResize(TObject*) { ++AfterResizes; }
};

TElasticBounds RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

class ElasticFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    Folder = IncludeTrailingPathDelimiter(GetTempDir()) + "elastic-" + info->name() + "\\";
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
    ASSERT_TRUE(ForceDirectories(Folder));
    TElasticForm::StateFolder() = Folder;
  }
  void TearDown() override {
    Close();
    TElasticForm::StateFolder().clear();
  }
  TElasticTestForm* Open(const std::string& elastic = "") {
    Close();
    F = new TElasticTestForm(Application, elastic);
    Application->SetMainForm(F);
    F->Show();
    Application->ProcessMessages();
    return F;
  }
  void Close() {
    if (!F) return;
    Application->SetMainForm(nullptr);
    delete F;
    F = nullptr;
  }
  void Resize(int width, int height) {
    SetWindowPos(F->WindowHandle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    Application->ProcessMessages();
  }
  std::vector<uint8_t> StateBytes() {
    std::ifstream in(Folder + "test.ini", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void WriteState(const std::vector<uint8_t>& bytes) {
    std::ofstream out(Folder + "test.ini", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  static std::string GetTempDir() { return GetTempPath(); }
  TScreenScope FScreen{DesignScreen};
  std::string Folder;
  TElasticTestForm* F = nullptr;
};

TEST_F(ElasticFormTest, StartsAtTheDesignBoundsAndRescalesOnlyPastFivePixels) {
  Open();
  const TElasticBounds start = RectOf(F->WindowHandle());
  EXPECT_EQ(start, (TElasticBounds{73, 124, 670, 452}));
  EXPECT_GE(F->ElasticForm1->RescaleCount(), 1);
  EXPECT_GE(F->AfterResizes, 1);
  EXPECT_EQ(F->ElasticForm1->RecordCount(), 4);
  const int rescales = F->ElasticForm1->RescaleCount(), events = F->AfterResizes;
  const int editWidth = F->Edit1->Width();

  Resize(start.Width + 5, start.Height + 5);
  EXPECT_EQ(F->ElasticForm1->RescaleCount(), rescales) << "5 pixels or less both ways change nothing";
  EXPECT_EQ(F->Edit1->Width(), editWidth);

  Resize(start.Width + 5 + 60, start.Height + 5);
  EXPECT_EQ(F->ElasticForm1->RescaleCount(), rescales + 1);
  EXPECT_EQ(F->AfterResizes, events + 1);
  const double h = F->ClientWidth() * 1.0 / 662;
  EXPECT_EQ(F->Edit1->Width(), RoundBounds(250 * h));
  EXPECT_EQ(F->Edit1->Left(), RoundBounds(230 * h));
  EXPECT_EQ(F->Side->Width(), RoundBounds(100 * h)) << "an aligned control scales its width too";
}

TEST_F(ElasticFormTest, TrackingSizesFollowTheSignRule) {
  struct TCase {
    const char* Layout;
    POINT Min;
  };
  const TCase cases[] = {{"", {600, 450}}, {"    MaximumTrackWidth = 0\n", {600, 450}}};
  for (const TCase& c : cases) {
    Open(c.Layout);
    MINMAXINFO info{};
    info.ptMaxTrackSize = {5000, 5000};
    SendMessageA(F->WindowHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, c.Min.x);
    EXPECT_EQ(info.ptMinTrackSize.y, c.Min.y);
    EXPECT_EQ(info.ptMaxTrackSize.x, 5000) << "0 leaves the system's value";
  }
  F->ElasticForm1->MinimumTrackWidth = -50;
  MINMAXINFO info{};
  SendMessageA(F->WindowHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 516) << "half the screen's maximised width";
  Resize(300, 200);
  EXPECT_GE(RectOf(F->WindowHandle()).Width, 516);
  EXPECT_GE(RectOf(F->WindowHandle()).Height, 450);
}

TEST_F(ElasticFormTest, FontsScaleWithTheFormUnlessTold) {
  for (bool elastic : {true, false}) {
    SCOPED_TRACE(elastic);
    Open(elastic ? "" : "    ElasticFont = False\n");
    const int label = F->Label1->Font().Size(), form = F->Font().Size();
    const int labelWidth = F->Label1->Width();
    Resize(600, 450);
    EXPECT_LT(F->ElasticForm1->FontFactor(), 1.0);
    if (elastic) {
      EXPECT_EQ(F->Label1->Font().Size(), RoundFont(label * F->ElasticForm1->FontFactor()));
      EXPECT_LT(F->Label1->Font().Size(), label);
      EXPECT_LT(F->Label1->Width(), labelWidth) << "the label fits its smaller text";
    } else {
      EXPECT_EQ(F->Label1->Font().Size(), label);
      EXPECT_EQ(F->Font().Size(), form);
    }
  }
}

TEST_F(ElasticFormTest, AControlTheProgramHidStaysHiddenAfterARescale) {
  Open();
  F->Hidden1->SetVisible(false);
  Resize(720, 500);
  EXPECT_FALSE(F->Hidden1->Visible());
  EXPECT_TRUE(F->Label1->Visible());
  EXPECT_TRUE(F->Side->Visible()) << "the children hidden for the rescale are shown again";
  EXPECT_TRUE(IsWindowVisible(F->Side->WindowHandle()));
  F->Hidden1->SetVisible(true);
  Resize(660, 460);
  EXPECT_TRUE(F->Hidden1->Visible());
}

TEST_F(ElasticFormTest, TheStateFileBringsTheWindowBackWhereItWas) {
  Open();
  Resize(720, 500);
  SetWindowPos(F->WindowHandle(), nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  F->ElasticForm1->WriteStateFile();  // as closing does
  const TElasticBounds was = RectOf(F->WindowHandle());
  TElasticState s;
  ASSERT_EQ(DecodeElasticState(StateBytes(), 4, s), TStateRead::Whole);
  EXPECT_EQ(s.State, 0);
  EXPECT_DOUBLE_EQ(s.Left, was.Left / 1032.0);
  EXPECT_DOUBLE_EQ(s.Width, was.Width / 1032.0);
  EXPECT_DOUBLE_EQ(s.Height, was.Height / 748.0);
  EXPECT_EQ(s.Visible, (std::vector<uint8_t>{1, 1, 1, 1}));
  EXPECT_EQ(s.Placement.length, 44u);
  Close();

  Open();
  EXPECT_EQ(RectOf(F->WindowHandle()), was);
}

TEST_F(ElasticFormTest, AMaximisedWindowComesBackMaximised) {
  Open();
  SendMessageA(F->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Application->ProcessMessages();
  ASSERT_TRUE(IsZoomed(F->WindowHandle()));
  TElasticState s;
  ASSERT_EQ(DecodeElasticState(StateBytes(), 4, s), TStateRead::Whole);
  EXPECT_EQ(s.State, 2);
  Close();
  Open();
  EXPECT_TRUE(IsZoomed(F->WindowHandle()));
  EXPECT_TRUE(F->Side->Visible());
}

TEST_F(ElasticFormTest, ACorruptOrForeignStateFileCannotLoseTheWindow) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TElasticState good;
  good.Count = 4;
  good.Left = 0.1;
  good.Top = 0.1;
  good.Width = 0.7;
  good.Height = 0.7;
  good.Visible = {1, 1, 1, 1};
  struct TCase {
    const char* Name;
    std::vector<uint8_t> Bytes;
    TElasticBounds Want;
  };
  auto with = [&](auto change) {
    TElasticState s = good;
    change(s);
    return EncodeElasticState(s);
  };
  const TElasticBounds start{73, 124, 670, 452};
  const TCase cases[] = {
      {"another number of controls", with([](TElasticState& s) { s.Count = 13; }), start},
      {"cut short", {4, 0, 0}, start},
      {"fractions that are no numbers", with([&](TElasticState& s) { s.Left = nan; }), start},
      {"no size", with([](TElasticState& s) { s.Width = 0; }), start},
      {"off the screen", with([](TElasticState& s) { s.Left = 3.0; s.Top = -2.0; }), {1032 - 722, 0, 722, 524}},
      {"larger than the screen", with([](TElasticState& s) { s.Width = 1.5; s.Height = 0.7; }),
       {0, 75, 1032, 524}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteState(c.Bytes);
    Open();
    EXPECT_EQ(RectOf(F->WindowHandle()), c.Want);
    EXPECT_TRUE(IsWindowVisible(F->WindowHandle()));
  }
}

TEST(ElasticConstructionTest, OneComponentPerFormAndOnlyOnForms) {
  TComponent notAForm(nullptr);
  try {
    new TElasticForm(&notAForm);
    ADD_FAILURE() << "made on a component";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Owner of TElasticForm component must be a form");
  }
  TForm form(nullptr);
  form.SetName("SomeForm");
  new TElasticForm(&form);
  try {
    new TElasticForm(&form);
    ADD_FAILURE() << "a second component on one form";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "A TElasticForm component already exists in SomeForm");
  }
}

// ---- the program's windows ----------------------------------------------------

using MainWindowResizeTest = MainWindowTest;

TEST_F(MainWindowResizeTest, ShownOnTheDesignScreenItStartsAtItsDesignBounds) {
  TScreenScope screen(DesignScreen);
  Application->SetMainForm(W);
  SetCurrentDir(TQ_BINARY_DIR);  // state files go beside the program whatever folder is current
  W->Show();
  Application->ProcessMessages();
  EXPECT_EQ(RectOf(W->WindowHandle()), (TElasticBounds{73, 124, 670, 452}));
  // Every page can be reached: the items that do not fit are behind the spin buttons.
  TOutlook* bar = W->Outlook1;
  EXPECT_GE(bar->PlacedCount(), 5);
  EXPECT_EQ(bar->SpinVisible(), bar->PlacedCount() < 12);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(Dir) / "elfrm.ini"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(TQ_BINARY_DIR) / "elfrm.ini"));

  // Scrolled to the end and then made taller, the bar shows its first items again.
  while (bar->SpinVisible() && bar->FirstVisible() + bar->PlacedCount() <= 12) bar->SpinDown();
  const int placed = bar->PlacedCount();
  SetWindowPos(W->WindowHandle(), nullptr, 0, 0, 670, 452 + 150, SWP_NOMOVE | SWP_NOZORDER);
  Application->ProcessMessages();
  EXPECT_GT(bar->PlacedCount(), placed) << "the side bar was laid out again after the rescale";
  EXPECT_EQ(bar->FirstVisible() + bar->PlacedCount() - 1, 12);
  EXPECT_EQ(bar->SpinVisible(), bar->PlacedCount() < 12);
}

TEST_F(MainWindowResizeTest, RescalingNeverShowsWhatAMergeModuleProjectHides) {
  TScreenScope screen(DesignScreen);
  Application->SetMainForm(W);
  W->Show();
  Application->ProcessMessages();
  W->MergeModule1Click(W);
  ASSERT_FALSE(W->labManufacturer->Visible());
  for (int width : {760, 700}) {
    SetWindowPos(W->WindowHandle(), nullptr, 0, 0, width, 500, SWP_NOMOVE | SWP_NOZORDER);
    Application->ProcessMessages();
    EXPECT_FALSE(W->labManufacturer->Visible());
    EXPECT_FALSE(W->edProductCode->Visible());
    EXPECT_TRUE(W->cbLanguage->Visible());
  }
}

TEST_F(MainWindowResizeTest, TheAddFilesDialogStartsCentredAndKeepsItsFonts) {
  TScreenScope screen(DesignScreen);
  Application->SetMainForm(W);
  auto* dialog = new TOpenDlg(Application);
  dialog->Show();
  Application->ProcessMessages();
  EXPECT_EQ(RectOf(dialog->WindowHandle()), (TElasticBounds{(1032 - 621) / 2, (748 - 450) / 2, 621, 450}));
  const int font = dialog->OKBtn->Font().Size(), width = dialog->OKBtn->Width();
  SetWindowPos(dialog->WindowHandle(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  Application->ProcessMessages();
  EXPECT_EQ(dialog->OKBtn->Font().Size(), font);
  EXPECT_GT(dialog->OKBtn->Width(), width);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(Dir) / "opendlg.ini"));
  delete dialog;
}

}  // namespace
}  // namespace tq::testing
