// The application object: the error box for escaped exceptions, the message
// loop, modal forms and dialogs through the prompt service, closing, menus,
// the screen cursor and hints.
#include <gtest/gtest.h>

#include "PromptsTesting.h"
#include "TestForms.h"

namespace tq::testing {
namespace {

const char* const kButtonLayout = R"(
  object buBuild: TButton
    Caption = 'Build'
    OnClick = AnyClick
  end
)";

struct TBoxCase {
  std::string Name;
  std::string Message;
  std::string Shown;
};

class ExceptionBox : public ::testing::TestWithParam<TBoxCase> {};

TEST_P(ExceptionBox, AnExceptionEscapingAHandlerIsShownAndTheProgramGoesOn) {
  auto form = MakeForm(kButtonLayout);
  form->ThrowOnClick = GetParam().Message;
  Application->SetTitle("Tarnquill");
  TPromptScript prompts({{pkMessageBox, GetParam().Shown, IDOK}});
  // The window's click runs the handler; the exception stops at the window.
  SendMessageA(form->Get<TButton>("buBuild")->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(prompts.Asked().size(), 1u);
  EXPECT_EQ(prompts.Asked()[0].Text, GetParam().Shown);
  EXPECT_EQ(prompts.Asked()[0].Caption, "Tarnquill");
  EXPECT_EQ(prompts.Asked()[0].Flags & 0xFF, MB_OK | MB_ICONSTOP);
  EXPECT_EQ(form->Log, std::vector<std::string>{"Click buBuild"});
}

INSTANTIATE_TEST_SUITE_P(Messages, ExceptionBox,
                         // ")" sorts before ".", "?" and "\\" after it.
                         ::testing::Values(TBoxCase{"Letter", "Cannot open file a.txt", "Cannot open file a.txt."},
                                           TBoxCase{"Parenthesis", "Cabinet error 3 (type 1)", "Cabinet error 3 (type 1)"},
                                           TBoxCase{"Stop", "Already ends in a stop.", "Already ends in a stop."},
                                           TBoxCase{"QuestionMark", "Question?", "Question?."},
                                           TBoxCase{"Backslash", "Path C:\\temp\\", "Path C:\\temp\\."}),
                         [](const ::testing::TestParamInfo<TBoxCase>& info) { return info.param.Name; });

TEST(Application, AbortIsSilentAndAProgrammaticClickPassesTheExceptionOn) {
  auto form = MakeForm(kButtonLayout);
  form->Get<TButton>("buBuild")->OnClick = [](TObject*) { Abort(); };
  TPromptScript prompts;  // no box expected
  SendMessageA(form->Get<TButton>("buBuild")->Handle(), BM_CLICK, 0, 0);
  form->Get<TButton>("buBuild")->OnClick = [](TObject*) { throw Exception("direct"); };
  EXPECT_THROW(form->Get<TButton>("buBuild")->Click(), Exception);
}

TEST(Application, ProcessMessagesRunsAQueuedClick) {
  auto form = MakeForm(kButtonLayout);
  Application->ProcessMessages();
  PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(form->Get<TButton>("buBuild")->Handle()));
  EXPECT_TRUE(form->Log.empty());
  Application->ProcessMessages();
  EXPECT_EQ(form->Log, std::vector<std::string>{"Click buBuild"});
}

TEST(Application, TimersFireFromTheMessageLoopAndTheirErrorsAreShown) {
  auto form = MakeForm(R"(
  object Timer1: TTimer
    Interval = 10
    Enabled = False
    OnTimer = AnyClick
  end
)");
  auto* timer = form->Get<TTimer>("Timer1");
  form->ThrowOnClick = "Timer failed";
  // The box stops the timer: on a loaded machine the next tick can be due
  // before the loop below looks at the log, and would show a second box.
  TPromptScript prompts({{pkMessageBox, "Timer failed.", IDOK, {}, [timer] { timer->SetEnabled(false); }}});
  timer->SetEnabled(true);
  for (int i = 0; i < 500 && form->Log.empty(); ++i) {
    Application->ProcessMessages();
    Sleep(5);
  }
  timer->SetEnabled(false);
  ASSERT_FALSE(form->Log.empty());
  EXPECT_EQ(form->Log[0], "Click Timer1");
}

TEST(Application, ShowModalIsAnsweredByThePromptService) {
  auto dialog = MakeForm(R"(
  object OKBtn: TButton
    ModalResult = mrOk
  end
)");
  dialog->SetName("SystemFoldersDlg");
  TPromptScript prompts({{pkModalForm, "SystemFoldersDlg", mrOk}});
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(dialog->Visible());
}

TEST(Application, ARealModalLoopEndsWithTheButtonsModalResult) {
  auto dialog = MakeForm(R"(
  object OKBtn: TButton
    ModalResult = mrOk
  end
)");
  dialog->SetName("OptionsDlg");
  // A service that shows the form for real, with a click queued.
  class TShowForReal : public TScriptedPrompts {
   public:
    int ShowModal(const std::string&, const std::function<int()>& show) override { return show(); }
  } real;
  TPromptScope scope(real);
  PostMessageA(dialog->Get<TButton>("OKBtn")->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(dialog->Visible());
}

TEST(Application, EnterAndEscapePressTheDefaultAndCancelButtons) {
  auto dialog = MakeForm(R"(
  object Panel1: TPanel
    object OKBtn: TButton
      Default = True
      OnClick = AnyClick
    end
    object CancelBtn: TButton
      Cancel = True
      ModalResult = mrCancel
      OnClick = AnyClick
    end
  end
)");
  SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  EXPECT_EQ(dialog->Log, (std::vector<std::string>{"Click OKBtn", "Click CancelBtn"}));
  EXPECT_EQ(dialog->ModalResult(), mrCancel);
}

TEST(Application, CommonDialogsAreAnsweredByThePromptService) {
  auto form = MakeForm(R"(
  object OpenDialog3: TOpenDialog
    DefaultExt = 'msm'
    Filter = 'Merge Modules (*.msm)|*.msm'
  end
)");
  auto* dlg = form->Get<TOpenDialog>("OpenDialog3");
  TPromptScript prompts({{pkModalForm, "OpenDialog3", mrOk, "", [dlg] { dlg->FileName = "C:\\m\\a.msm"; }},
                         {pkModalForm, "OpenDialog3", mrCancel}});
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->FileName, "C:\\m\\a.msm");
  EXPECT_FALSE(dlg->Execute());
  EXPECT_EQ(dlg->Filter, "Merge Modules (*.msm)|*.msm");
}

TEST(Application, CloseAsksOnCloseAndCaNoneKeepsTheForm) {
  auto form = MakeForm("");
  form->Show();
  TCloseAction answer = caNone;
  int asked = 0;
  form->OnClose = [&](TObject*, TCloseAction& action) {
    ++asked;
    action = answer;
  };
  form->Close();
  EXPECT_TRUE(form->Visible());
  answer = caHide;
  form->Close();
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(asked, 2);
}

TEST(Application, MenusTakeItemsAtRunTimeAndRouteTheirCommands) {
  auto form = MakeForm(R"(
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Exit1: TMenuItem
        Caption = 'E&xit'
        OnClick = AnyClick
      end
      object N9: TMenuItem
        Caption = '-'
      end
    end
  end
)");
  auto* file = form->Get<TMenuItem>("File1");
  HMENU bar = GetMenu(form->Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 2);
  std::string clicked;
  for (const char* name : {"1 A.ipr", "2 B.ipr"}) {
    auto* item = new TMenuItem(form.get());
    item->SetCaption(name);
    item->OnClick = [&clicked](TObject* s) { clicked = static_cast<TMenuItem*>(s)->Caption(); };
    file->Add(item);
  }
  bar = GetMenu(form->Handle());
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, 0)), 4);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(file->Items(3)->Command(), 0), 0);
  EXPECT_EQ(clicked, "2 B.ipr");
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Get<TMenuItem>("Exit1")->Command(), 0), 0);
  EXPECT_EQ(form->Log, std::vector<std::string>{"Click Exit1"});
  // Freeing dynamic items takes them out of the menu.
  delete file->Items(3);
  delete file->Items(2);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(form->Handle()), 0)), 2);
  // Checked and hidden items show in the window menu.
  form->Get<TMenuItem>("Exit1")->SetChecked(true);
  EXPECT_TRUE(GetMenuState(GetSubMenu(GetMenu(form->Handle()), 0), 0, MF_BYPOSITION) & MF_CHECKED);
  form->Get<TMenuItem>("N9")->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(form->Handle()), 0)), 1);
}

// Opening a pop-up runs its item's OnClick, and what the handler changes shows
// in the pop-up the system opens (its handle stays the one being shown).
TEST(Application, OpeningAPopupRunsItsItemsClickAndShowsItsChanges) {
  auto form = MakeForm(R"(
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Save1: TMenuItem
        Caption = '&Save'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        OnClick = AnyClick
      end
    end
  end
)");
  auto* file = form->Get<TMenuItem>("File1");
  int opened = 0;
  file->OnClick = [&](TObject*) {
    ++opened;
    form->Get<TMenuItem>("Save1")->SetEnabled(false);
    auto* recent = new TMenuItem(form.get());
    recent->SetCaption("1 A.ipr");
    file->Add(recent);
  };
  HMENU popup = GetSubMenu(GetMenu(form->Handle()), 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), 2);
  SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(IsMenu(popup));
  EXPECT_EQ(GetSubMenu(GetMenu(form->Handle()), 0), popup);
  ASSERT_EQ(GetMenuItemCount(popup), 3);
  EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED);
  char text[32] = {};
  GetMenuStringA(popup, 2, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "1 A.ipr");
  // The new entry routes its command; the next change rebuilds as before.
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(form->Get<TMenuItem>("Exit1")->Command(), 0), 0);
  EXPECT_EQ(form->Log, std::vector<std::string>{"Click Exit1"});
  form->Get<TMenuItem>("Save1")->SetEnabled(true);
  EXPECT_FALSE(GetMenuState(GetSubMenu(GetMenu(form->Handle()), 0), 0, MF_BYPOSITION) & MF_GRAYED);
  // A pop-up the menu does not hold (another menu's) runs nothing.
  HMENU other = CreatePopupMenu();
  SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(other), MAKELPARAM(0, FALSE));
  DestroyMenu(other);
  EXPECT_EQ(opened, 1);
}

TEST(Application, ScreenCursorShowsTheHourglassInItsScope) {
  EXPECT_EQ(Screen->Cursor(), crDefault);
  {
    TCursorScope wait(crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    auto form = MakeForm(kButtonLayout);
    // Every window of the program answers WM_SETCURSOR with the hourglass.
    EXPECT_TRUE(SendMessageA(form->Get<TButton>("buBuild")->Handle(), WM_SETCURSOR,
                             reinterpret_cast<WPARAM>(form->Get<TButton>("buBuild")->Handle()), HTCLIENT));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  }
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST(Application, HintHandlerChangesTheHintForAPoint) {
  auto form = MakeForm(R"(
  object lbFiles: TListBox
    Hint = 'files'
    ShowHint = True
    Items.Strings = ('a.txt' 'b.txt')
  end
  object lbPlain: TListBox
    Hint = 'never'
  end
)");
  auto* lb = form->Get<TListBox>("lbFiles");
  Application->OnShowHint = [&](std::string& hint, bool& canShow, THintInfo& info) {
    if (info.HintControl != lb) return;
    int i = lb->ItemAtPos(info.CursorPos, true);
    if (i >= 0) hint = "C:\\src\\" + lb->Items().Get(i);
  };
  Application->HintHidePause = 5000;
  EXPECT_EQ(Application->HintFor(lb, 3, 2), "C:\\src\\a.txt");
  EXPECT_EQ(Application->HintFor(lb, 3, lb->ItemHeight() + 2), "C:\\src\\b.txt");
  EXPECT_EQ(Application->HintFor(lb, 3, 90), "files");
  EXPECT_EQ(Application->HintFor(form->Get<TListBox>("lbPlain"), 3, 2), "");  // ShowHint off
  Application->OnShowHint = nullptr;
}

TEST(Application, HelpGoesToTheHelpHook) {
  std::vector<std::pair<int, intptr_t>> calls;
  Application->OnHelp = [&](uint16_t command, intptr_t data, bool& callHelp) {
    calls.push_back({command, data});
    callHelp = false;
    return true;
  };
  EXPECT_TRUE(Application->HelpContext(120));
  Application->OnHelp = nullptr;
  EXPECT_FALSE(Application->HelpContext(121));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].first, HELP_CONTEXT);
  EXPECT_EQ(calls[0].second, 120);
}

struct TProbeForm : public TForm {
  static TProbeForm* Global;
  bool SawItself = false;
  explicit TProbeForm(TComponent* owner) : TForm(owner) { SawItself = Global == this; }
};
TProbeForm* TProbeForm::Global = nullptr;

TEST(Application, CreateFormSetsTheReferenceBeforeTheConstructorRuns) {
  TProbeForm*& ref = TProbeForm::Global;
  TForm* oldMain = Application->MainForm();
  Application->CreateForm(ref);
  EXPECT_TRUE(ref->SawItself);
  if (!oldMain) {
    EXPECT_EQ(Application->MainForm(), ref);
  }
  delete ref;
  Application->SetMainForm(oldMain);
}

}  // namespace
}  // namespace tq::testing
