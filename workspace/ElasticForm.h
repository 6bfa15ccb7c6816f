#pragma once
// The form-resizing component: dropped on a form, it fits the form to the
// current screen when first shown, rescales every named control of the form
// and its font in proportion to the form's client size, applies minimum and
// maximum tracking sizes, remembers the window's state in a small binary state
// file and fires OnAfterResize after each rescale.
//
// Screens: every size is relative to the screen's maximised-window size, which
// comes from ScreenMetrics() (by default the system's); tests and other
// displays put their own screen in.
//
// Rounding: bounds, the form's start bounds and the form font size round to
// nearest with halves to even (RoundBounds); control font sizes and the start
// font size round up only above one half (RoundFont: 10.5 gives 10, 10.51
// gives 11, a negative value truncates towards zero); reference font sizes
// truncate.
//
// State file (ElFrmIniFile; a relative name lies in StateFolder(), by default
// the program's folder), little-endian:
//   int32   number of recorded controls (a file for another number is ignored)
//   uint8   state: 2 maximised, 0 normal
//   double  x4  only for state 0: left, top, width, height over the screen size
//   int32   x2  MaximumTrackWidth, MaximumTrackHeight
//   uint8   one per recorded control: its Visible
//   44 bytes    the window placement (WINDOWPLACEMENT, length 44)
// A restored position and size are clamped to the screen, so a corrupt or
// foreign file can never put the window off-screen or at no size.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"

namespace tq {

struct TScreenMetrics {
  int Width = 0;   // maximised-window width
  int Height = 0;  // maximised-window height
  int PixelsPerInch = 96;
};
using TScreenMetricsSource = std::function<TScreenMetrics()>;
// The screen the forms fit themselves to; an empty source is the system's.
TScreenMetricsSource& ScreenMetricsSource();
TScreenMetrics ScreenMetrics();

int RoundBounds(double v);
int RoundFont(double v);
// A track size or maximised position: positive pixels, 0 not set, -p percent
// of the screen size.
int SignRuleValue(int value, int screenSize);

struct TElasticBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TElasticBounds&) const = default;
};

// What the first show needs to know of a form to find where it starts.
struct TStartBoundsInput {
  TElasticBounds DesignForm;  // outer size and position at design time
  int DesignClientWidth = 0, DesignClientHeight = 0;
  int DesignScreenWidth = 0, DesignScreenHeight = 0;
  TScreenMetrics Screen;
  bool Maximized = false;  // WindowState wsMaximized
  int MaximizedPosX = 0, MaximizedPosY = 0;
  bool NoBorder = false;       // BorderStyle bsNone: the client size is the size
  bool ScreenCenter = false;   // Position poScreenCenter
};
TElasticBounds StartBounds(const TStartBoundsInput& in);

// The state file's contents.
struct TElasticState {
  int32_t Count = 0;
  uint8_t State = 0;
  double Left = 0, Top = 0, Width = 0, Height = 0;
  int32_t MaxTrackWidth = 0, MaxTrackHeight = 0;
  std::vector<uint8_t> Visible;
  WINDOWPLACEMENT Placement{};
  bool PlacementRead = false;
};
std::vector<uint8_t> EncodeElasticState(const TElasticState& state);
// How much of a state file counts: nothing (absent, another control count or
// cut before the state byte), the state and what followed it.
enum class TStateRead { Nothing, Partial, Whole };
TStateRead DecodeElasticState(const std::vector<uint8_t>& bytes, int32_t controls, TElasticState& state);
// A restored window rectangle made to fit the screen: at least minWidth x
// minHeight (and never above the screen), wholly on it; false when the
// fractions are no numbers a screen could have.
bool ClampToScreen(TElasticBounds& b, const TScreenMetrics& screen, int minWidth, int minHeight);

class TElasticForm : public TLayoutComponent {
 public:
  explicit TElasticForm(TComponent* owner);
  ~TElasticForm() override;
  std::string ClassName() const override { return "TElasticForm"; }

  // The folder relative state-file names lie in (empty: the program's).
  static std::string& StateFolder();

  bool ElasticHorizontal = true;
  bool ElasticVertical = true;
  bool ElasticFont = true;
  int DesignScreenWidth = 0;
  int DesignScreenHeight = 0;
  int DesignPixelsPerInch = 0;
  int MaximizedPosX = 0, MaximizedPosY = 0;
  int MinimumTrackWidth = 0, MinimumTrackHeight = 0;
  int MaximumTrackWidth = 0, MaximumTrackHeight = 0;
  int DesignFormWidth = 0, DesignFormHeight = 0;
  int DesignFormClientWidth = 0, DesignFormClientHeight = 0;
  int DesignFormLeft = 0, DesignFormTop = 0;
  bool MaintainProportions = false;
  std::string ElFrmIniFile;
  bool ResolutionIndependence = true;
  std::string EFActiveControl;
  TNotifyEvent OnAfterResize;
  // The working font: its size is the form's font size after scaling.
  TFont& Font() { return FFont; }
  void SetFont(const TFont& font);
  float Version() const { return 504; }
  std::string StateFilePath() const;

  // What the last rescale computed, for the form's users and checks.
  double FontFactor() const { return FFontFactor; }
  int RecordCount() const { return static_cast<int>(FRecords.size()); }
  int RescaleCount() const { return FRescales; }

  // Runs a rescale now, as a size change does.
  void Rescale();
  // Writes the state file now, as closing the window does.
  void WriteStateFile();

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  // Called at the end of every completed rescale; fires OnAfterResize.
  virtual void AfterResize();

 private:
  struct TFrame {
    TControl* Control = nullptr;
    int Left = 0, Width = 0, Top = 0, Height = 0;
    int FontSize = 0, DesignFontSize = 0;
    bool Visible = true;
  };
  bool FormMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
  void FirstShow();
  void BuildRecords();
  void Capture();
  void ApplyRecord(TFrame& r, double h, double v);
  void ReadStateFile();
  void HideChildren();
  void ShowChildren();
  void ApplyFontToForm();
  void RestoreFocus();
  void MinMaxInfo(MINMAXINFO* info);
  void ProportionsAtDragEnd();
  TElasticBounds FormBounds() const;
  TForm* FForm = nullptr;
  std::shared_ptr<TElasticForm*> FHookSlot;
  TFont FFont;
  TScreenMetrics FScreen;
  double FHRatio = 1, FVRatio = 1, FFontRatio = 1;
  TElasticBounds FStart;
  int FStartFontSize = 0;
  int FRefClientWidth = 0, FRefClientHeight = 0, FRefFontSize = 0;
  double FFontFactor = 1;
  int FLastWidth = 0, FLastHeight = 0;
  int FDragWidth = 0, FDragHeight = 0;
  int FMaxWidth = 0, FMaxHeight = 0;
  std::vector<TFrame> FRecords;
  std::vector<TControl*> FHidden;  // the direct children this component hid
  WINDOWPLACEMENT FPlacement{};
  double FPendingLeft = 0, FPendingTop = 0, FPendingWidth = 0, FPendingHeight = 0;
  bool FPositionPending = false, FSizePending = false;
  bool FFirstShowPending = true;
  bool FFirstRescalePending = true;
  bool FDragging = false;
  bool FSizedInDrag = false;
  bool FSettled = false;
  int FSettleCounter = 0;
  bool FMaximized = false;
  bool FMaxPlacementPending = false;
  bool FPlacementRead = false;
  bool FShowSuppressed = false;
  bool FWaitShowChildren = false;
  bool FFocusNamed = true;
  bool FInSize = false;
  int FRescales = 0;
  HWND FNotedFocus = nullptr;
};

}  // namespace tq
