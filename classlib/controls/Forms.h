#pragma once
// Forms, the application object and the screen.
//
// A form class names its layout resource, registers its handler methods and
// its component fields by name, and loads the layout in its constructor:
//
//   class TDemoForm : public TForm {
//    public:
//     TButton* buOK = nullptr;
//     explicit TDemoForm(TComponent* owner) : TForm(owner) {
//       TQ_FIELD(buOK);
//       TQ_HANDLER(TDemoForm, buOKClick);
//       LoadLayoutResource("DEMOFORM");  // or LoadLayoutText(text)
//     }
//     void buOKClick(TObject* sender);
//   };
//
// Loading creates the controls, sets their properties, binds their events by
// handler name and fills the fields; it then runs OnCreate (an exception there
// is shown in the application's error box, as every exception escaping a
// handler, and the form stays usable).
#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

namespace tq {

class TMainMenu;
class TForm;

#define TQ_HANDLER(FormClass, Method) RegisterHandler(#Method, this, &FormClass::Method)
#define TQ_FIELD(Field) RegisterField(#Field, Field)

enum TCloseAction { caNone, caHide, caFree, caMinimize };
// bsNone and bsSingle as for controls (TBorderStyle), and the form-only kinds.
using TFormBorderStyle = int;
constexpr TFormBorderStyle bsSizeable = 2, bsDialog = 3, bsToolWindow = 4, bsSizeToolWin = 5;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poMainFormCenter,
                 poOwnerFormCenter, poDesktopCenter };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  std::string ClassName() const override { return "TForm"; }

  // ---- layouts and binding ----
  template <class F, class... A>
  void RegisterHandler(const std::string& name, F* self, void (F::*method)(A...)) {
    FMethods.Register(name, self, method);
  }
  template <class T>
  void RegisterField(const std::string& name, T*& field) {
    FFields.Register(name, field);
  }
  // Loads a layout (text form) from an RCDATA resource of the program.
  void LoadLayoutResource(const std::string& resourceName);
  void LoadLayoutText(const std::string& text);
  const TMethodTable& Methods() const { return FMethods; }

  // ---- showing and closing ----
  void Show();
  void Hide();
  // Runs the form modally through the prompt service (ShowModalHook with the
  // form's name), which may answer instead of showing it (headless runs).
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  bool Modal() const { return FModal; }
  // Asks OnCloseQuery and OnClose; hides the form (ends the program for the
  // main form) unless the action says otherwise.
  void Close();
  void Release();  // frees the form once the current message is handled

  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* c);
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool v) { FKeyPreview = v; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle s) { FBorderStyle = s; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition p) { FPosition = p; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState s);
  void BringToFront();

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnPaint;

  bool SetLayoutProperty(const TLayoutProperty& prop, TLayoutLoader& loader) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitWindow() override;
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  virtual void DoCreate();
  // The modal message loop (what ShowModal shows for real).
  TModalResult RunModal();

 private:
  void PlaceWindow();
  TMethodTable FMethods;
  TFieldTable FFields;
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FKeyPreview = false;
  bool FPlaced = false;
  TMainMenu* FMenu = nullptr;
  TWinControl* FActiveControl = nullptr;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
  unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TWindowState FWindowState = wsNormal;
  bool FClientSizeSet = false;
  int FClientW = 0, FClientH = 0;
};

// ---- hints ---------------------------------------------------------------

struct THintInfo {
  TControl* HintControl = nullptr;
  POINT CursorPos{};    // in the hint control's client coordinates
  RECT CursorRect{};    // the area within which the hint stays
  int HideTimeout = 0;  // ms; the application's HintHidePause
};
using TShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;
using THelpEvent = std::function<bool(uint16_t command, intptr_t data, bool& callHelp)>;
using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;

// ---- the application -------------------------------------------------------

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;
  std::string ClassName() const override { return "TApplication"; }

  void Initialize() {}
  // Makes a form owned by the application; the reference is set before the
  // form's constructor runs, so start-up code can already use it. The first
  // form made becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    void* memory = ::operator new(sizeof(T));
    reference = static_cast<T*>(memory);
    try {
      new (memory) T(this);
    } catch (...) {
      reference = nullptr;
      ::operator delete(memory);
      throw;
    }
    if (!FMainForm) FMainForm = reference;
  }
  TForm* MainForm() const { return FMainForm; }
  void SetMainForm(TForm* form) { FMainForm = form; }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Waits for one message and handles it.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ResetTerminated() { FTerminated = false; }

  // Shows the exception being handled (call inside a catch block) unless it
  // is an EAbort; OnException may take over.
  void HandleException(TObject* sender);
  // The error box through the prompt service: the application title, a stop
  // icon and OK, the message with "." appended when its last character sorts
  // after ".".
  void ShowException(const std::exception& e);
  // A message box through the prompt service; returns the button's result.
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

  // The title is the prompt service's application title (ApplicationTitle()).
  const std::string& Title() const { return ApplicationTitle(); }
  void SetTitle(const std::string& title) { ApplicationTitle() = title; }
  std::string HelpFile;
  THelpEvent OnHelp;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnHint;  // the hint of the control under the mouse changed (Hint)
  TExceptionEvent OnException;
  int HintHidePause = 2500;
  int HintPause = 500;
  bool ShowHint = true;
  const std::string& Hint() const { return FHint; }

  // Runs OnHelp; true when some help was shown (or the hook said so).
  bool HelpCommand(uint16_t command, intptr_t data);
  bool HelpContext(int context);

  // ---- hint machinery used by the controls ----
  void SetHintFromControl(TControl* control, const std::string& hint);
  // The hint text to show for a control at a client point (empty: none),
  // after OnShowHint had its say.
  std::string HintFor(TControl* control, int x, int y);
  void TrackHint(TControl* control, int x, int y);
  void CancelHint();

  // Forms currently shown modally (innermost last).
  std::vector<TForm*>& ModalStack() { return FModalStack; }

 private:
  bool DispatchOne(MSG& msg);
  void Report(TObject* sender, const std::exception& e);
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  std::string FHint;
  HWND FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  std::string FHintText;
  std::vector<TForm*> FModalStack;
};

// ---- the screen ------------------------------------------------------------

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
                  crNo = -18, crHandPoint = -21, crAppStart = -19, crHelp = -20;

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TScreen"; }
  TCursor Cursor() const { return FCursor; }
  // Sets the cursor of every window of the program (crDefault: each window's own).
  void SetCursor(TCursor cursor);
  HCURSOR CursorHandle(TCursor cursor) const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TForm* Forms(int index) const { return FForms.at(static_cast<size_t>(index)); }
  TForm* ActiveForm() const;

 private:
  friend class TForm;
  TCursor FCursor = crDefault;
  std::vector<TForm*> FForms;
};

extern TApplication* Application;
extern TScreen* Screen;

// Sets the screen cursor for a scope and puts the previous one back.
class TCursorScope {
 public:
  explicit TCursorScope(TCursor cursor) : FOld(Screen->Cursor()) { Screen->SetCursor(cursor); }
  ~TCursorScope() { Screen->SetCursor(FOld); }
  TCursorScope(const TCursorScope&) = delete;
  TCursorScope& operator=(const TCursorScope&) = delete;

 private:
  TCursor FOld;
};

}  // namespace tq
