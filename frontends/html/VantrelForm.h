#pragma once
// Vantrel's main window: shows the setup pages of the distribution in its page
// browser, recognises each page by the ids it carries, fills its fields and
// binds its handlers to the page's links, buttons, fields and options, keeps
// the user's answers, and runs the installation from the progress page.
//
// Command line (every argument relative to the program folder): 1 the package,
// 2 not read, 3 the end page, 4 the custom-features page, 5 the progress page.
// The start page "TQSetup.htm" is a frameset whose frame "mainFrame" shows
// every setup page.
//
// Page markers, tested in this order after each load (the first found decides;
// "rwiCancel" is bound on every page that has it): rwiCustomerInfo,
// rwiLocation, rwiGroup, rwiLicense, rwiCustom, rwiType, rwiInstall, Finish.
// The progress page carries none; the installation starts one second after it
// loaded and runs inside that load's handler.
#include <memory>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "FrontEndForm.h"
#include "HtmlBrowser.h"
#include "HtmlView.h"
#include "InstallProgress.h"
#include "Installer.h"

namespace tq {

class TSelectDirectoryDlg;
class TSelectDirectoryDlg2;
class TWhichGroupPathDlg;
class TInstallationByDlg;

constexpr UINT WM_VANTREL_POSTED = WM_USER + 600;  // lParam: a posted browser task

// Where the window runs and which pages it shows; empty parts come from the
// command line. The window starts (FormCreate) as it is made, so tests hand
// it a folder of their own here.
struct TVantrelStart {
  std::string ProgramFolder;  // with a trailing backslash
  std::string PackageArgument, FinishPage, CustomPage, ProgressPage;
};

class TForm1 : public TFrontEndForm {
 public:
  explicit TForm1(TComponent* owner, const TVantrelStart& start = {});
  ~TForm1() override;
  std::string ClassName() const override { return "TForm1"; }

  TTreeView* trCust = nullptr;
  TTimer* Timer1 = nullptr;

  // The dialogs the program made at its start (any may be null: not shown then).
  TSelectDirectoryDlg* SelectDirectoryDlg = nullptr;
  TWhichGroupPathDlg* WhichGroupPathDlg = nullptr;
  TSelectDirectoryDlg2* SelectDirectoryDlg2 = nullptr;
  TInstallationByDlg* InstallationByDlg = nullptr;

  // The page browser and its view filling the window.
  html::THtmlBrowser& WebBrowser1() { return *FBrowser; }

  // The pages' other arguments (3 to 5), from the command line unless set.
  std::string FinishPage, CustomPage, ProgressPage;

  TInstaller Installer;
  bool SummaryPending = false;
  bool InstallPending = false;
  bool FirstBrowse = false;
  std::string GroupPath;  // the group's full path
  std::string ProgramsFolder;  // the last listed Programs folder (page or group dialog), with a backslash
  std::vector<std::string> ChosenTitles;
  // The time between the progress page's load and the installation (ms).
  unsigned InstallDelay = 1000;

  void FormCreate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void WebBrowser1DocumentComplete(const std::string& url);
  void Timer1Timer(TObject* sender);
  void RunInstall();
  // Group := the package base name, ExistingGroups := the sub-folders of the
  // user's (currentUser) or the common Programs folder.
  void FillExistingGroups(bool currentUser);
  // After OK in the group dialog: its group into the page, its folder as ProgramsFolder.
  void TakeGroupDialog();

  // ---- the sinks' handlers ----
  bool HTMLAnchorEvents1click(html::IHtmlElement* link);
  bool HTMLAnchorEvents2click(html::IHtmlElement* link);
  bool HTMLButtonElementEvents1click(html::IHtmlElement* button);
  bool CustomerFieldKeyPress(int field);
  bool HTMLOptionButtonElementEvents1click(html::IHtmlElement*);
  bool HTMLOptionButtonElementEvents2click(html::IHtmlElement*);
  bool HTMLSelectElementEvents1dblclick(html::IHtmlElement*);

  // The frame "mainFrame" of the shown start page; null when none.
  html::IHtmlDocument* MainFrame();
  std::string PageUrl(const std::string& name) const { return "file://" + ProgramFolder + name; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;

 private:
  class TBarProgress;
  void NavigateMain(const std::string& name);
  void CloseLater();
  void ShowEndPage();
  std::unique_ptr<html::THtmlBrowser> FBrowser;
  std::unique_ptr<html::THtmlView> FView;
  std::unique_ptr<TBarProgress> FProgress;
  html::THtmlEventSink HTMLAnchorEvents1, HTMLAnchorEvents2, HTMLButtonElementEvents1,
      HTMLInputTextElementEvents1, HTMLInputTextElementEvents2, HTMLInputTextElementEvents3,
      HTMLOptionButtonElementEvents1, HTMLOptionButtonElementEvents2, HTMLSelectElementEvents1;
};

extern TForm1* Form1;

}  // namespace tq
