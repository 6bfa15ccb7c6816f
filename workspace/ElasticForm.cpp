#include "ElasticForm.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "FileUtils.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "TabControls.h"

namespace tq {

// ---- screens and rounding ---------------------------------------------------

TScreenMetricsSource& ScreenMetricsSource() {
  static TScreenMetricsSource source;
  return source;
}

TScreenMetrics ScreenMetrics() {
  if (ScreenMetricsSource()) return ScreenMetricsSource()();
  TScreenMetrics m;
  m.Width = GetSystemMetrics(SM_CXMAXIMIZED);
  m.Height = GetSystemMetrics(SM_CYMAXIMIZED);
  HDC dc = GetDC(nullptr);
  m.PixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return m;
}

int RoundBounds(double v) { return static_cast<int>(std::nearbyint(v)); }

int RoundFont(double v) {
  const double whole = std::trunc(v);
  return static_cast<int>(v - whole > 0.5 ? whole + 1 : whole);
}

namespace {
int Trunc(double v) { return static_cast<int>(std::trunc(v)); }
}  // namespace

int SignRuleValue(int value, int screenSize) {
  if (value >= 0) return value;
  return RoundBounds(-static_cast<double>(value) * screenSize * 0.01);
}

TElasticBounds StartBounds(const TStartBoundsInput& in) {
  TElasticBounds design = in.DesignForm;
  int clientW = in.DesignClientWidth, clientH = in.DesignClientHeight;
  if (in.Maximized) {
    design.Width = clientW = in.DesignScreenWidth;
    design.Height = clientH = in.DesignScreenHeight;
    design.Left = SignRuleValue(in.MaximizedPosX, in.DesignScreenWidth);
    design.Top = SignRuleValue(in.MaximizedPosY, in.DesignScreenHeight);
  }
  const double h = in.DesignScreenWidth ? in.Screen.Width * 1.0 / in.DesignScreenWidth : 1.0;
  const double v = in.DesignScreenHeight ? in.Screen.Height * 1.0 / in.DesignScreenHeight : 1.0;
  TElasticBounds b{RoundBounds(design.Left * h), RoundBounds(design.Top * v),
                   RoundBounds((in.NoBorder ? clientW : design.Width) * h),
                   RoundBounds((in.NoBorder ? clientH : design.Height) * v)};
  if (in.ScreenCenter) {
    b.Left = (in.Screen.Width - b.Width) / 2;
    b.Top = (in.Screen.Height - b.Height) / 2;
  }
  if (b.Left + b.Width > in.Screen.Width) b.Left = (in.Screen.Width - b.Width) / 2;
  if (b.Top + b.Height > in.Screen.Height) b.Top = (in.Screen.Height - b.Height) / 2;
  b.Left = std::max(b.Left, 0);
  b.Top = std::max(b.Top, 0);
  return b;
}

bool ClampToScreen(TElasticBounds& b, const TScreenMetrics& screen, int minWidth, int minHeight) {
  if (screen.Width <= 0 || screen.Height <= 0) return false;
  const int minW = std::clamp(minWidth, 1, screen.Width), minH = std::clamp(minHeight, 1, screen.Height);
  b.Width = std::clamp(b.Width, minW, screen.Width);
  b.Height = std::clamp(b.Height, minH, screen.Height);
  b.Left = std::clamp(b.Left, 0, screen.Width - b.Width);
  b.Top = std::clamp(b.Top, 0, screen.Height - b.Height);
  return true;
}

// ---- the state file ------------------------------------------------------------

namespace {

template <class T>
void Put(std::vector<uint8_t>& out, const T& v) {
  const auto* p = reinterpret_cast<const uint8_t*>(&v);
  out.insert(out.end(), p, p + sizeof v);
}

class TStateReader {
 public:
  explicit TStateReader(const std::vector<uint8_t>& bytes) : FBytes(bytes) {}
  template <class T>
  bool Get(T& v) {
    if (FBytes.size() - FAt < sizeof v) return false;
    std::memcpy(&v, FBytes.data() + FAt, sizeof v);
    FAt += sizeof v;
    return true;
  }

 private:
  const std::vector<uint8_t>& FBytes;
  size_t FAt = 0;
};

}  // namespace

std::vector<uint8_t> EncodeElasticState(const TElasticState& s) {
  std::vector<uint8_t> out;
  Put(out, s.Count);
  Put(out, s.State);
  if (s.State == 0)
    for (double f : {s.Left, s.Top, s.Width, s.Height}) Put(out, f);
  Put(out, s.MaxTrackWidth);
  Put(out, s.MaxTrackHeight);
  out.insert(out.end(), s.Visible.begin(), s.Visible.end());
  WINDOWPLACEMENT p = s.Placement;
  p.length = sizeof p;
  Put(out, p);
  return out;
}

TStateRead DecodeElasticState(const std::vector<uint8_t>& bytes, int32_t controls, TElasticState& s) {
  s = TElasticState{};
  TStateReader in(bytes);
  if (!in.Get(s.Count) || s.Count != controls || !in.Get(s.State)) return TStateRead::Nothing;
  if (s.State == 0)
    for (double* f : {&s.Left, &s.Top, &s.Width, &s.Height})
      if (!in.Get(*f)) return TStateRead::Partial;
  if (!in.Get(s.MaxTrackWidth) || !in.Get(s.MaxTrackHeight)) return TStateRead::Partial;
  s.Visible.resize(static_cast<size_t>(std::max(controls, 0)));
  for (uint8_t& v : s.Visible)
    if (!in.Get(v)) return TStateRead::Partial;
  WINDOWPLACEMENT p{};
  s.PlacementRead = in.Get(p) && p.length == sizeof p;
  if (s.PlacementRead) s.Placement = p;
  return TStateRead::Whole;
}

// ---- the component ---------------------------------------------------------------

std::string& TElasticForm::StateFolder() {
  static std::string folder;
  return folder;
}

TElasticForm::TElasticForm(TComponent* owner) : TLayoutComponent(owner) {
  FForm = dynamic_cast<TForm*>(owner);
  if (!FForm) throw Exception("Owner of TElasticForm component must be a form");
  int count = 0;
  for (int i = 0; i < FForm->ComponentCount(); ++i)
    if (dynamic_cast<TElasticForm*>(FForm->Components(i))) ++count;
  if (count > 1) throw Exception("A TElasticForm component already exists in " + FForm->Name());
  FHookSlot = std::make_shared<TElasticForm*>(this);
  std::shared_ptr<TElasticForm*> slot = FHookSlot;
  FForm->MessageHooks.push_back([slot](TControl*, UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
    return *slot && (*slot)->FormMessage(msg, w, l, result);
  });
  FFont.Assign(FForm->Font());
  FScreen = ScreenMetrics();
  FMaximized = FForm->WindowState() == wsMaximized;
}

TElasticForm::~TElasticForm() {
  if (FHookSlot) *FHookSlot = nullptr;
}

void TElasticForm::SetFont(const TFont& font) {
  FFont.Assign(font);
  FForm->Font().Assign(FFont);
  FForm->Invalidate();
}

std::string TElasticForm::StateFilePath() const {
  if (ElFrmIniFile.empty()) return {};
  const bool absolute = ElFrmIniFile.size() > 1 && (ElFrmIniFile[1] == ':' || ElFrmIniFile[0] == '\\' ||
                                                    ElFrmIniFile[0] == '/');
  if (absolute) return ElFrmIniFile;
  std::string folder = StateFolder().empty() ? ExtractFilePath(ParamStr(0)) : StateFolder();
  return IncludeTrailingPathDelimiter(folder) + ElFrmIniFile;
}

bool TElasticForm::SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) {
  struct TBoolProp {
    const char* Name;
    bool TElasticForm::*Field;
  };
  static const TBoolProp bools[] = {
      {"ElasticHorizontal", &TElasticForm::ElasticHorizontal}, {"ElasticVertical", &TElasticForm::ElasticVertical},
      {"ElasticFont", &TElasticForm::ElasticFont},             {"MaintainProportions", &TElasticForm::MaintainProportions},
      {"ResolutionIndependence", &TElasticForm::ResolutionIndependence}};
  struct TIntProp {
    const char* Name;
    int TElasticForm::*Field;
  };
  static const TIntProp ints[] = {
      {"DesignScreenWidth", &TElasticForm::DesignScreenWidth},
      {"DesignScreenHeight", &TElasticForm::DesignScreenHeight},
      {"DesignPixelsPerInch", &TElasticForm::DesignPixelsPerInch},
      {"MaximizedPosX", &TElasticForm::MaximizedPosX},
      {"MaximizedPosY", &TElasticForm::MaximizedPosY},
      {"MinimumTrackWidth", &TElasticForm::MinimumTrackWidth},
      {"MinimumTrackHeight", &TElasticForm::MinimumTrackHeight},
      {"MaximumTrackWidth", &TElasticForm::MaximumTrackWidth},
      {"MaximumTrackHeight", &TElasticForm::MaximumTrackHeight},
      {"DesignFormWidth", &TElasticForm::DesignFormWidth},
      {"DesignFormHeight", &TElasticForm::DesignFormHeight},
      {"DesignFormClientWidth", &TElasticForm::DesignFormClientWidth},
      {"DesignFormClientHeight", &TElasticForm::DesignFormClientHeight},
      {"DesignFormLeft", &TElasticForm::DesignFormLeft},
      {"DesignFormTop", &TElasticForm::DesignFormTop}};
  for (const TBoolProp& b : bools)
    if (SameText(prop.Name, b.Name)) {
      this->*b.Field = prop.Value.AsBool();
      return true;
    }
  for (const TIntProp& i : ints)
    if (SameText(prop.Name, i.Name)) {
      this->*i.Field = prop.Value.AsInt();
      return true;
    }
  if (SameText(prop.Name, "ElFrmIniFile")) {
    ElFrmIniFile = prop.Value.AsString();
    return true;
  }
  if (SameText(prop.Name, "EFActiveControl")) {
    EFActiveControl = prop.Value.AsString();
    return true;
  }
  if (SameText(prop.Name, "OnAfterResize")) {
    loader.Bind(OnAfterResize, prop);
    return true;
  }
  if (SetLayoutFontProperty(FFont, prop, loader)) return true;
  // Kept at their defaults by both windows; accepted so that layouts may name them.
  for (const char* kept : {"Version", "DBGridSelfResize", "GridColumnWidthResize", "GridRowHeightResize",
                           "GridFontResize", "FontWarning", "LookForExtraFonts"})
    if (SameText(prop.Name, kept)) return true;
  return TLayoutComponent::SetLayoutProperty(prop, loader);
}

TElasticBounds TElasticForm::FormBounds() const {
  RECT r{};
  GetWindowRect(FForm->WindowHandle(), &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TElasticForm::AfterResize() {
  if (OnAfterResize) OnAfterResize(this);
}

// ---- recording the controls ------------------------------------------------------

namespace {

void Collect(TWinControl* parent, std::vector<TControl*>& out) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Name().empty() && !dynamic_cast<TTabSheet*>(c)) out.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) Collect(w, out);
  }
}

}  // namespace

void TElasticForm::BuildRecords() {
  FScreen = ScreenMetrics();
  if (!ResolutionIndependence) {
    DesignScreenWidth = FScreen.Width;
    DesignScreenHeight = FScreen.Height;
  }
  std::vector<TControl*> collected;
  Collect(FForm, collected);
  // The form's own children first, in the order their alignment stacks them.
  struct TKeyed {
    TControl* Control;
    int Group;
    int Key;
    size_t Index;
  };
  std::vector<TKeyed> direct;
  std::vector<TControl*> rest;
  for (size_t i = 0; i < collected.size(); ++i) {
    TControl* c = collected[i];
    if (c->Parent() != FForm) {
      rest.push_back(c);
      continue;
    }
    switch (c->Align()) {
      case alTop: direct.push_back({c, 0, c->Top(), i}); break;
      case alBottom: direct.push_back({c, 1, -c->Top(), i}); break;
      case alLeft: direct.push_back({c, 2, c->Left(), i}); break;
      case alRight: direct.push_back({c, 3, -c->Left(), i}); break;
      case alClient: direct.push_back({c, 4, c->Left(), i}); break;
      default: direct.push_back({c, 5, 0, i}); break;
    }
  }
  std::sort(direct.begin(), direct.end(), [](const TKeyed& a, const TKeyed& b) {
    if (a.Group != b.Group) return a.Group < b.Group;
    if (a.Group == 5) return a.Index < b.Index;
    if (a.Key != b.Key) return a.Key < b.Key;
    return a.Index > b.Index;
  });
  FRecords.clear();
  for (const TKeyed& k : direct) FRecords.push_back(TFrame{k.Control});
  for (TControl* c : rest) FRecords.push_back(TFrame{c});
  for (TFrame& r : FRecords) {
    r.Left = r.Control->Left();
    r.Width = r.Control->Width();
    r.Top = r.Control->Top();
    r.Height = r.Control->Height();
  }
  ReadStateFile();
  for (TFrame& r : FRecords) r.Visible = r.Control->Visible();
}

void TElasticForm::ReadStateFile() {
  const std::string path = StateFilePath();
  if (path.empty()) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TElasticState s;
  const TStateRead read = DecodeElasticState(bytes, static_cast<int32_t>(FRecords.size()), s);
  if (read == TStateRead::Nothing) return;
  if (s.State == 2 && FForm->WindowState() == wsNormal) FWaitShowChildren = true;
  if (s.State == 0) {
    const bool numbers = std::isfinite(s.Left) && std::isfinite(s.Top) && std::isfinite(s.Width) &&
                         std::isfinite(s.Height) && std::abs(s.Left) < 100 && std::abs(s.Top) < 100 &&
                         s.Width > 0 && s.Width < 100 && s.Height > 0 && s.Height < 100;
    if (read == TStateRead::Whole && numbers) {
      FPendingLeft = s.Left;
      FPendingTop = s.Top;
      FPendingWidth = s.Width;
      FPendingHeight = s.Height;
      FPositionPending = FSizePending = true;
    }
  } else if (s.State == 2) {
    FMaxPlacementPending = true;
  }
  if (read == TStateRead::Whole) {
    MaximumTrackWidth = s.MaxTrackWidth;
    MaximumTrackHeight = s.MaxTrackHeight;
    if (s.PlacementRead) {
      FPlacement = s.Placement;
      // The normal position the placement restores to fits the screen too.
      RECT& n = FPlacement.rcNormalPosition;
      TElasticBounds b{n.left, n.top, n.right - n.left, n.bottom - n.top};
      ClampToScreen(b, FScreen, SignRuleValue(MinimumTrackWidth, FScreen.Width),
                    SignRuleValue(MinimumTrackHeight, FScreen.Height));
      n = RECT{b.Left, b.Top, b.Left + b.Width, b.Top + b.Height};
      FPlacementRead = true;
    }
  }
  // The window state follows at the first show, once the start bounds are known.
  if (!FMaxPlacementPending) FMaximized = false;
}

void TElasticForm::WriteStateFile() {
  const std::string path = StateFilePath();
  if (path.empty() || !FForm->HandleAllocated()) return;
  try {
    const TScreenMetrics screen = ScreenMetrics();
    if (screen.Width <= 0 || screen.Height <= 0) return;
    TElasticState s;
    s.Count = static_cast<int32_t>(FRecords.size());
    s.State = FMaximized || FMaxPlacementPending ? 2 : 0;
    const TElasticBounds b = FormBounds();
    s.Placement.length = sizeof s.Placement;
    if (!GetWindowPlacement(FForm->WindowHandle(), &s.Placement)) s.Placement = FPlacement;
    if (s.State == 0) {
      s.Left = b.Left * 1.0 / screen.Width;
      s.Top = b.Top * 1.0 / screen.Height;
      s.Width = b.Width * 1.0 / screen.Width;
      s.Height = b.Height * 1.0 / screen.Height;
    } else {
      MaximumTrackWidth = -RoundBounds(b.Width * 1.0 / screen.Width * 100);
      MaximumTrackHeight = -RoundBounds(b.Height * 1.0 / screen.Height * 100);
      if (MaximumTrackWidth <= -100) MaximumTrackWidth = 0;
      if (MaximumTrackHeight <= -100) MaximumTrackHeight = 0;
    }
    s.MaxTrackWidth = MaximumTrackWidth;
    s.MaxTrackHeight = MaximumTrackHeight;
    for (const TFrame& r : FRecords) s.Visible.push_back(r.Control->Visible() ? 1 : 0);
    const std::vector<uint8_t> bytes = EncodeElasticState(s);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  } catch (...) {
  }
}

// ---- first show ---------------------------------------------------------------------

void TElasticForm::FirstShow() {
  FFirstShowPending = false;
  BuildRecords();
  TStartBoundsInput in;
  in.DesignForm = {DesignFormLeft, DesignFormTop, DesignFormWidth, DesignFormHeight};
  in.DesignClientWidth = DesignFormClientWidth;
  in.DesignClientHeight = DesignFormClientHeight;
  in.DesignScreenWidth = DesignScreenWidth;
  in.DesignScreenHeight = DesignScreenHeight;
  in.Screen = FScreen;
  in.Maximized = FForm->WindowState() == wsMaximized && !FMaxPlacementPending;
  in.MaximizedPosX = MaximizedPosX;
  in.MaximizedPosY = MaximizedPosY;
  in.NoBorder = FForm->BorderStyle() == bsNone;
  in.ScreenCenter = FForm->Position() == poScreenCenter;
  FHRatio = DesignScreenWidth ? FScreen.Width * 1.0 / DesignScreenWidth : 1.0;
  FVRatio = DesignScreenHeight ? FScreen.Height * 1.0 / DesignScreenHeight : 1.0;
  FFontRatio = FVRatio;
  FStartFontSize = RoundFont(FForm->Font().Size() * FFontRatio);
  FStart = StartBounds(in);
  if (FPositionPending) {
    // A position and size from the state file, made to fit this screen: they
    // become the start bounds.
    TElasticBounds b{RoundBounds(FPendingLeft * FScreen.Width), RoundBounds(FPendingTop * FScreen.Height),
                     RoundBounds(FPendingWidth * FScreen.Width), RoundBounds(FPendingHeight * FScreen.Height)};
    ClampToScreen(b, FScreen, SignRuleValue(MinimumTrackWidth, FScreen.Width),
                  SignRuleValue(MinimumTrackHeight, FScreen.Height));
    FStart = b;
    FPositionPending = FSizePending = false;
  }
  FDragWidth = FStart.Width;
  FDragHeight = FStart.Height;
  if (MaintainProportions && FStart.Height > 0 && DesignFormHeight > 0) {
    const double a = DesignFormWidth * 1.0 / FScreen.Width, b = DesignFormHeight * 1.0 / FScreen.Height;
    const double aspect = DesignFormWidth * 1.0 / DesignFormHeight;
    if (a >= b) {
      MaximumTrackWidth = FScreen.Width - 6;
      MaximumTrackHeight = RoundBounds((FScreen.Width - 6) / aspect);
    } else {
      MaximumTrackHeight = FScreen.Height - 5;
      MaximumTrackWidth = RoundBounds((FScreen.Height - 5) * aspect);
    }
    FMaxWidth = MaximumTrackWidth;
    FMaxHeight = MaximumTrackHeight;
  }
  FForm->SetBounds(FStart.Left, FStart.Top, FStart.Width, FStart.Height);
  if (FMaxPlacementPending) {
    // Maximised when it was closed: maximised again, over the normal bounds it
    // had (or the start bounds when the file held no placement).
    if (FPlacementRead) {
      FPlacement.showCmd = SW_SHOWMAXIMIZED;
      SetWindowPlacement(FForm->WindowHandle(), &FPlacement);
      FPlacementRead = false;
    }
    FForm->SetWindowState(wsMaximized);
    FMaxPlacementPending = false;
    ShowChildren();
  }
}

// ---- rescaling ------------------------------------------------------------------

void TElasticForm::Capture() {
  for (TFrame& r : FRecords) {
    TControl* c = r.Control;
    if (dynamic_cast<TTabSheet*>(c->Parent()) && c->ParentFont()) c->SetParentFont(false);
    r.Left = RoundBounds(r.Left * FHRatio);
    r.Top = RoundBounds(r.Top * FVRatio);
    r.Width = RoundBounds(r.Width * FHRatio);
    r.Height = RoundBounds(r.Height * FVRatio);
    r.DesignFontSize = c->Font().Size();
    r.FontSize = Trunc(r.DesignFontSize * FFontRatio);
  }
}

void TElasticForm::ApplyRecord(TFrame& r, double h, double v) {
  TControl* c = r.Control;
  if (ElasticFont && c->ClassName() != "TToolBar") {
    const int size = RoundFont(r.FontSize * FFontFactor);
    if (size > 0 && c->Font().Size() != size) c->Font().SetSize(size);
  }
  // An axis that does not stretch keeps the design bounds.
  const auto scaled = [](bool elastic, int design, double factor) { return elastic ? RoundBounds(design * factor) : design; };
  const int left = scaled(ElasticHorizontal, r.Left, h), top = scaled(ElasticVertical, r.Top, v);
  c->SetBounds(left, top, scaled(ElasticHorizontal, r.Width, h), scaled(ElasticVertical, r.Height, v));
  if (auto* label = dynamic_cast<TLabel*>(c)) {
    if (!label->AutoSize()) {
      const int w0 = label->Width(), h0 = label->Height();
      label->SetAutoSize(true);
      label->SetAutoSize(false);
      label->SetBounds(left, top, std::max(label->Width(), w0), std::max(label->Height(), h0));
    } else {
      label->SetAutoSize(false);
      label->SetAutoSize(true);
    }
  }
}

void TElasticForm::Rescale() {
  if (FRecords.empty()) {
    BuildRecords();
    FDragWidth = FStart.Width;
    FDragHeight = FStart.Height;
  }
  if (FDragging) return;
  if (FFocusNamed && !EFActiveControl.empty()) {
    for (auto it = FRecords.rbegin(); it != FRecords.rend(); ++it)
      if (it->Control->Name() == EFActiveControl) {
        if (auto* w = dynamic_cast<TWinControl*>(it->Control); w && w->HandleAllocated()) ::SetFocus(w->WindowHandle());
        break;
      }
    FFocusNamed = FForm->ActiveControl() == nullptr;
  }
  const bool first = FFirstRescalePending;
  if (first) {
    FFirstRescalePending = false;
    Capture();
    if (FStartFontSize != 0) FFont.SetSize(FStartFontSize);
    FRefClientWidth = RoundBounds(DesignFormClientWidth * FHRatio);
    FRefClientHeight = RoundBounds(DesignFormClientHeight * FVRatio);
    FRefFontSize = FFont.Size();
  }
  if (FRefClientWidth <= 0 || FRefClientHeight <= 0 || FRefFontSize <= 0) return;
  const TElasticBounds form = FormBounds();
  const double m = std::min(FRefFontSize * 1.0 * form.Width / FRefClientWidth,
                            FRefFontSize * 1.0 * form.Height / FRefClientHeight);
  if (ElasticFont) FFont.SetSize(RoundBounds(m));
  FFontFactor = m / FRefFontSize;
  const double h = ElasticHorizontal ? FForm->ClientWidth() * 1.0 / FRefClientWidth : 1.0;
  const double v = ElasticVertical ? FForm->ClientHeight() * 1.0 / FRefClientHeight : 1.0;
  for (TFrame& r : FRecords) ApplyRecord(r, h, v);
  // Aligned controls keep to their alignment at their new sizes.
  FForm->AlignControls();
  for (TFrame& r : FRecords)
    if (auto* w = dynamic_cast<TWinControl*>(r.Control)) w->AlignControls();
  ++FRescales;
  if (first && !FWaitShowChildren) ShowChildren();
  AfterResize();
}

// Hides the form's recorded direct children (last first) for the time of a
// rescale; ShowChildren shows again only those this component hid, so a
// control the program hid stays hidden.
void TElasticForm::HideChildren() {
  for (auto it = FRecords.rbegin(); it != FRecords.rend(); ++it) {
    TControl* c = it->Control;
    if (c->Parent() != FForm || !c->Visible()) continue;
    c->SetVisible(false);
    FHidden.push_back(c);
  }
}

void TElasticForm::ShowChildren() {
  for (auto it = FHidden.rbegin(); it != FHidden.rend(); ++it) (*it)->SetVisible(true);
  FHidden.clear();
  if (!EFActiveControl.empty() && !FForm->ActiveControl())
    for (const TFrame& r : FRecords)
      if (r.Control->Name() == EFActiveControl)
        if (auto* w = dynamic_cast<TWinControl*>(r.Control)) {
          if (w->HandleAllocated() && w->Visible() && w->Enabled()) ::SetFocus(w->WindowHandle());
          FForm->SetActiveControl(w);
          break;
        }
}

void TElasticForm::ApplyFontToForm() {
  if (FForm->Font().Color() != FFont.Color() || FForm->Font().Size() != FFont.Size()) SetFont(FFont);
}

void TElasticForm::RestoreFocus() {
  if (FNotedFocus && FNotedFocus != FForm->WindowHandle() && IsWindow(FNotedFocus) && GetFocus() != FNotedFocus)
    ::SetFocus(FNotedFocus);
}

void TElasticForm::MinMaxInfo(MINMAXINFO* info) {
  if (FFirstRescalePending && FForm->WindowState() == wsMaximized) Rescale();
  if (FFirstRescalePending) return;
  if (!(FMaxWidth || FMaxHeight || MaximizedPosX || MaximizedPosY || MinimumTrackWidth || MinimumTrackHeight ||
        MaximumTrackWidth || MaximumTrackHeight))
    return;
  const TScreenMetrics s = ScreenMetrics();
  auto set = [](LONG& field, int value, int size) {
    if (value) field = SignRuleValue(value, size);
  };
  set(info->ptMaxSize.x, FMaxWidth, s.Width);
  set(info->ptMaxSize.y, FMaxHeight, s.Height);
  set(info->ptMaxPosition.x, MaximizedPosX, s.Width);
  set(info->ptMaxPosition.y, MaximizedPosY, s.Height);
  set(info->ptMinTrackSize.x, MinimumTrackWidth, s.Width);
  set(info->ptMinTrackSize.y, MinimumTrackHeight, s.Height);
  set(info->ptMaxTrackSize.x, MaximumTrackWidth, s.Width);
  set(info->ptMaxTrackSize.y, MaximumTrackHeight, s.Height);
}

void TElasticForm::ProportionsAtDragEnd() {
  if (FDragHeight == 0 || FDragWidth == 0) return;
  TElasticBounds b = FormBounds();
  const int dW = b.Width - FDragWidth, dH = b.Height - FDragHeight;
  if (dW == dH) return;
  const bool grew = b.Width + b.Height > FDragWidth + FDragHeight;
  const bool widthLeads = grew ? dW > dH : dW < dH;
  if (widthLeads) b.Height = RoundBounds(b.Width * 1.0 * FDragHeight / FDragWidth);
  else b.Width = RoundBounds(b.Height * 1.0 * FDragWidth / FDragHeight);
  FForm->SetBounds(b.Left, b.Top, b.Width, b.Height);
}

// ---- the message handler ----------------------------------------------------------

bool TElasticForm::FormMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  HWND hwnd = FForm->WindowHandle();
  if (!Application->MainForm() || !hwnd || !FForm->Visible()) return false;
  FNotedFocus = GetFocus();
  ApplyFontToForm();
  if (FFirstShowPending) FirstShow();
  const TElasticBounds form = FormBounds();
  switch (msg) {
    case WM_SIZE: {
      if (FDragging || w == SIZE_MINIMIZED) {
        if (FDragging) FSizedInDrag = true;
        return false;
      }
      if (FInSize) return false;
      FInSize = true;
      if (w == SIZE_MAXIMIZED && !FMaximized) {
        if (std::abs(form.Width - FLastWidth) > 5 && std::abs(form.Height - FLastHeight) > 5) HideChildren();
        FSettled = true;
        FMaximized = true;
        ApplyFontToForm();
      } else if (w == SIZE_RESTORED && FSettled) {
        if (FMaximized) {
          HideChildren();
          FMaxPlacementPending = false;
        }
        FMaximized = false;
        ApplyFontToForm();
      }
      if ((!FSettled || FForm->BorderStyle() == bsNone) && !(form == FStart) && w != SIZE_MAXIMIZED)
        FForm->SetBounds(FStart.Left, FStart.Top, FStart.Width, FStart.Height);
      const TElasticBounds now = FormBounds();
      if (std::abs(now.Width - FLastWidth) > 5 || std::abs(now.Height - FLastHeight) > 5) {
        Rescale();
        FForm->Invalidate();
        ShowChildren();
        FLastWidth = now.Width;
        FLastHeight = now.Height;
      }
      RestoreFocus();
      WriteStateFile();
      ShowChildren();
      FInSize = false;
      return false;
    }
    case WM_SIZING:
      FDragging = true;
      FSizedInDrag = true;
      return false;
    case WM_ENTERSIZEMOVE:
      FDragWidth = form.Width;
      FDragHeight = form.Height;
      FDragging = true;
      FSizedInDrag = false;
      return false;
    case WM_EXITSIZEMOVE:
      FSettled = true;
      FDragging = false;
      if (FSizedInDrag || form.Width != FDragWidth || form.Height != FDragHeight) {
        FSizedInDrag = false;
        HideChildren();
        if (MaintainProportions) ProportionsAtDragEnd();
        Rescale();
        FForm->Invalidate();
        ShowChildren();
        const TElasticBounds now = FormBounds();
        FLastWidth = now.Width;
        FLastHeight = now.Height;
        RestoreFocus();
      }
      FMaximized = false;
      WriteStateFile();
      return false;
    case WM_GETMINMAXINFO:
      MinMaxInfo(reinterpret_cast<MINMAXINFO*>(l));
      return false;
    case WM_WINDOWPOSCHANGING:
      if (++FSettleCounter >= 10000) FSettled = true;
      return false;
    case WM_ACTIVATE:
      FSettleCounter = 10000;
      if (FPlacementRead && FMaxPlacementPending) {
        FForm->SetWindowState(wsMaximized);
        FPlacement.showCmd = SW_SHOWMAXIMIZED;
        SetWindowPlacement(hwnd, &FPlacement);
        ShowChildren();
        FPlacementRead = false;
        FMaxPlacementPending = false;
      }
      RestoreFocus();
      return false;
    case WM_SHOWWINDOW:
      if (FSizePending) {
        FSizePending = false;
        if (!ResolutionIndependence) HideChildren();
        FForm->SetBounds(FStart.Left, FStart.Top, RoundBounds(FPendingWidth), RoundBounds(FPendingHeight));
      }
      if (!FShowSuppressed) {
        HideChildren();
        Rescale();
        ShowChildren();
        FWaitShowChildren = false;
      }
      RestoreFocus();
      return false;
    case WM_SETCURSOR:
      FShowSuppressed = true;
      return false;
    case WM_SYSCOMMAND:
      if (w == SC_CLOSE) {
        WriteStateFile();
        FShowSuppressed = true;
      } else if (w == SC_MINIMIZE) {
        if (FForm->ActiveControl()) EFActiveControl = FForm->ActiveControl()->Name();
        WriteStateFile();
        FShowSuppressed = true;
        FMaximized = false;
        FLastWidth = form.Width;
        FLastHeight = form.Height;
      } else if (w == SC_MAXIMIZE) {
        HideChildren();
      } else if (w == SC_RESTORE) {
        HideChildren();
      }
      if (w != SC_RESTORE && w != SC_CLOSE && w != SC_MINIMIZE) FShowSuppressed = false;
      return false;
    case WM_DISPLAYCHANGE: {
      const int oldW = DesignScreenWidth, oldH = DesignScreenHeight;
      const TScreenMetrics s = ScreenMetrics();
      DesignScreenWidth = s.Width;
      DesignScreenHeight = s.Height;
      if (oldW > 0 && oldH > 0) {
        const double x = s.Width * 1.0 / oldW, y = s.Height * 1.0 / oldH;
        FForm->SetBounds(RoundBounds(form.Left * x), RoundBounds(form.Top * y), RoundBounds(form.Width * x),
                         RoundBounds(form.Height * y));
      }
      HideChildren();
      Rescale();
      ShowChildren();
      return false;
    }
    default:
      return false;
  }
}

}  // namespace tq
