#include "VantrelForm.h"

#include <shellapi.h>

#include <functional>

#include "FileUtils.h"
#include "InstallCommand.h"
#include "InstallUIHandler.h"
#include "InstallationBy.h"
#include "LineLog.h"
#include "Prompts.h"
#include "SetupIni.h"
#include "VantrelPages.h"
#include "grppath.h"
#include "seldirdlg.h"
#include "seldirdlg2.h"

namespace tq {

TForm1* Form1 = nullptr;

namespace {

// A value of a local machine key; false when the key does not open.
bool ReadMachineValue(const char* key, const char* name, std::string& value) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  char buf[1024] = "";
  DWORD size = sizeof buf - 1, type = 0;
  if (RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    buf[size < sizeof buf ? size : sizeof buf - 1] = 0;
    value = buf;
  } else {
    value.clear();
  }
  RegCloseKey(k);
  return true;
}

std::string WithBackslash(const std::string& path) {
  return path.empty() || path.back() == '\\' ? path : path + "\\";
}

}  // namespace

// The progress page's bar: the applet "pbProgress" of "mainFrame", looked up
// afresh for every output.
class TForm1::TBarProgress : public TProgressOutputs {
 public:
  explicit TBarProgress(TForm1& form) : FForm(form) {}
  void ProgressReset(TProgressState& s, bool oldScript) override {
    html::IHtmlProgressApplet* pb = Bar();
    if (!pb) return;
    pb->SetMin(0);
    if (pb->GetMax() < s.g_iProgressTotal) pb->SetMax(s.g_iProgressTotal);
    if (oldScript) {
      if (pb->GetValue() < s.g_iProgressTotal) pb->SetValue(s.g_iProgressTotal);
    } else if (pb->GetValue() < s.g_iProgress) {
      pb->SetValue(s.g_iProgress);
    }
  }
  void ProgressReport(TProgressState& s, int32_t ticks) override {
    html::IHtmlProgressApplet* pb = Bar();
    if (!pb) return;
    const int64_t v = s.g_bForwardProgress ? int64_t(pb->GetValue()) + ticks : int64_t(pb->GetValue()) - ticks;
    if (s.g_bForwardProgress ? v <= s.g_iProgressTotal : v >= 0) pb->SetValue(int(v));
  }
  void ProgressActionData(TProgressState& s) override {
    html::IHtmlProgressApplet* pb = Bar();
    if (!pb) return;
    const int64_t v = int64_t(pb->GetValue()) + s.g_iActionStep;
    if (v >= 0 && v <= s.g_iProgressTotal) pb->SetValue(int(v));
  }

 private:
  html::IHtmlProgressApplet* Bar() {
    html::IHtmlDocument* frame = FForm.MainFrame();
    html::IHtmlElement* e = frame ? frame->Item("pbProgress") : nullptr;
    return e ? e->Applet() : nullptr;
  }
  TForm1& FForm;
};

TForm1::TForm1(TComponent* owner, const TVantrelStart& start)
    : TFrontEndForm(owner),
      HTMLAnchorEvents1(html::THtmlEventKind::Click, [this](html::IHtmlElement* e) { return HTMLAnchorEvents1click(e); }),
      HTMLAnchorEvents2(html::THtmlEventKind::Click, [this](html::IHtmlElement* e) { return HTMLAnchorEvents2click(e); }),
      HTMLButtonElementEvents1(html::THtmlEventKind::Click,
                               [this](html::IHtmlElement* e) { return HTMLButtonElementEvents1click(e); }),
      HTMLInputTextElementEvents1(html::THtmlEventKind::KeyPress, [this](html::IHtmlElement*) { return CustomerFieldKeyPress(0); }),
      HTMLInputTextElementEvents2(html::THtmlEventKind::KeyPress, [this](html::IHtmlElement*) { return CustomerFieldKeyPress(1); }),
      HTMLInputTextElementEvents3(html::THtmlEventKind::KeyPress, [this](html::IHtmlElement*) { return CustomerFieldKeyPress(2); }),
      HTMLOptionButtonElementEvents1(html::THtmlEventKind::Click,
                                     [this](html::IHtmlElement* e) { return HTMLOptionButtonElementEvents1click(e); }),
      HTMLOptionButtonElementEvents2(html::THtmlEventKind::Click,
                                     [this](html::IHtmlElement* e) { return HTMLOptionButtonElementEvents2click(e); }),
      HTMLSelectElementEvents1(html::THtmlEventKind::DblClick,
                               [this](html::IHtmlElement* e) { return HTMLSelectElementEvents1dblclick(e); }) {
  if (!Form1) Form1 = this;
  ProgramFolder = start.ProgramFolder;
  PackageArgument = start.PackageArgument;
  FinishPage = start.FinishPage;
  CustomPage = start.CustomPage;
  ProgressPage = start.ProgressPage;
  FProgress = std::make_unique<TBarProgress>(*this);
  TQ_FIELD(trCust);
  TQ_FIELD(Timer1);
  TQ_HANDLER(TForm1, FormCreate);
  TQ_HANDLER(TForm1, Timer1Timer);
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  LoadLayoutResource("VANTRELFORM");
}

TForm1::~TForm1() {
  SetProgressOutputs(nullptr);
  FView.reset();
  FBrowser.reset();
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate(TObject*) {
  if (ProgramFolder.empty()) ReadCommandLine();
  if (FinishPage.empty() && ParamCount() >= 5) {
    FinishPage = ParamStr(3);
    CustomPage = ParamStr(4);
    ProgressPage = ParamStr(5);
  }
  IsNT = PlatformIsNT();
  ChosenTitles.clear();
  ProgramLog().Open(ProgramFolder + "Vantrel.log");
  SetFeatureTree(trCust);

  std::string version;
  const bool opened = ReadMachineValue("Software\\Microsoft\\Internet Explorer", "Version", version);
  if (!BrowserGatePasses(opened, version)) {
    ShellExecuteA(nullptr, "open", PackagePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    Hide();
    WriteLog("Running msi dialogs installation. Your version of Internet Explorer is too low to run the Vantrel "
             "installation.");
    ProgramLog().Close();
    Application->Terminate();
    return;
  }

  InstallType = 0;
  SummaryPending = false;
  InstallPending = false;
  Installer.SetUILevel(msiUILevelNone);
  CompanyName.clear();
  ReadManufacturer(Installer, false);
  SetProgressOutputs(FProgress.get());
  RegisterInstallUIHandler();
  WriteLog("Package to install: " + PackagePath());

  HWND window = Handle();
  FBrowser = std::make_unique<html::THtmlBrowser>([window](std::function<void()> work) {
    PostMessageA(window, WM_VANTREL_POSTED, 0, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(work))));
  });
  FView = std::make_unique<html::THtmlView>(window, *FBrowser);
  FBrowser->OnDocumentComplete = [this](const std::string& url) {
    FView->Refresh();
    WebBrowser1DocumentComplete(url);
    FView->Refresh();
  };
  OnResize = [this](TObject*) {
    if (FView) FView->Resize();
  };
  SetWindowState(wsMaximized);
  FBrowser->Navigate(PageUrl("TQSetup.htm"));
}

void TForm1::FormClose(TObject*, TCloseAction&) { ProgramLog().Close(); }

LRESULT TForm1::WndProc(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_VANTREL_POSTED) {
    std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(l));
    try {
      (*work)();
    } catch (...) {
      Application->HandleException(this);
    }
    return 0;
  }
  if (msg == WM_SIZE && FView) FView->Resize();
  return TFrontEndForm::WndProc(msg, w, l);
}

html::IHtmlDocument* TForm1::MainFrame() {
  html::IHtmlDocument* top = FBrowser ? FBrowser->Document() : nullptr;
  return top ? top->Frame("mainFrame") : nullptr;
}

void TForm1::NavigateMain(const std::string& name) { FBrowser->NavigateFrame("mainFrame", PageUrl(name)); }

void TForm1::WebBrowser1DocumentComplete(const std::string&) {
  html::IHtmlDocument* page = MainFrame();
  if (!page) return;
  auto item = [page](const char* id) { return page->Item(id); };
  try {
    if (auto* cancel = item("rwiCancel")) HTMLAnchorEvents2.Connect(cancel);
    if (auto* marker = item("rwiCustomerInfo")) {
      std::string owner, organization;
      const char* key = IsNT ? "Software\\Microsoft\\Windows NT\\CurrentVersion" : "Software\\Microsoft\\Windows\\CurrentVersion";
      const bool opened = ReadMachineValue(key, "RegisteredOwner", owner);
      ReadMachineValue(key, "RegisteredOrganization", organization);
      html::IHtmlElement* customer = item("CustomerName");
      html::IHtmlElement* company = item("CompanyName");
      html::IHtmlElement* third = item("Key");
      if (!customer || !company || !third) return;
      customer->Focus();
      HTMLAnchorEvents1.Connect(marker);
      if (opened) customer->SetValue(owner);
      HTMLInputTextElementEvents1.Connect(customer);
      if (opened) company->SetValue(!CompanyName.empty() ? CompanyName : organization);
      HTMLInputTextElementEvents2.Connect(company);
      HTMLInputTextElementEvents3.Connect(third);
    } else if (auto* marker = item("rwiLocation")) {
      HTMLAnchorEvents1.Connect(marker);
      html::IHtmlElement* browse = item("Browse");
      if (!browse) return;
      HTMLButtonElementEvents1.Connect(browse);
      const std::string programFiles = SpecialFolder(0x26);
      if (!programFiles.empty()) {
        html::IHtmlElement* location = item("Location");
        if (!location) return;
        std::string path = WithBackslash(programFiles);
        if (!CompanyName.empty()) path += CompanyName + "\\";
        location->SetValue(path + GetPackageBaseName());
      }
      FirstBrowse = true;
    } else if (auto* marker = item("rwiGroup")) {
      HTMLAnchorEvents1.Connect(marker);
      html::IHtmlElement* current = item("CurrentUser");
      html::IHtmlElement* all = item("AllUsers");
      html::IHtmlElement* list = item("ExistingGroups");
      html::IHtmlElement* browse = item("Browse2");
      if (!current || !all || !list || !browse) return;
      HTMLOptionButtonElementEvents1.Connect(current);
      if (ReadSetupKey(ProgramFolder, "PerUser", "false") == "true")
        all->SetDisabled(true);
      else
        HTMLOptionButtonElementEvents2.Connect(all);
      HTMLSelectElementEvents1.Connect(list);
      HTMLButtonElementEvents1.Connect(browse);
      FillExistingGroups(true);
    } else if (auto* marker = item("rwiLicense")) {
      HTMLAnchorEvents1.Connect(marker);
    } else if (auto* marker = item("rwiCustom")) {
      HTMLAnchorEvents1.Connect(marker);
      LoadFeatureTree();
      FillCustomPage(trCust->Items(), *page);
    } else if (auto* marker = item("rwiType")) {
      HTMLAnchorEvents1.Connect(marker);
      LoadFeatureTree();
      bool listed = false;
      for (const auto& f : FeatureRecords()) listed = listed || f->Display != 0;
      if (!listed)
        if (html::IHtmlElement* custom = item("Custom")) custom->SetDisabled(true);
    } else if (auto* marker = item("rwiInstall")) {
      HTMLButtonElementEvents1.Connect(marker);
    } else if (auto* marker = item("Finish")) {
      HTMLButtonElementEvents1.Connect(marker);
    }
  } catch (const std::exception& e) {
    WriteLog("Page not filled: " + std::string(e.what()));
    return;
  }

  if (SummaryPending) {
    SummaryPending = false;
    try {
      html::IHtmlElement* summary = item("Summary");
      if (!summary) throw Exception("the page has no Summary field");
      summary->SetValue(SummaryText(trCust->Items(), *this, ChosenTitles));
    } catch (const std::exception& e) {
      ShowMessage("Error setting summary information");
      WriteLog("Error setting summary information");
      WriteLog("The error message was " + std::string(e.what()));
    }
  }
  if (InstallPending) {
    InstallPending = false;
    FView->Refresh();
    Sleep(InstallDelay);
    RunInstall();
  }
}

void TForm1::RunInstall() {
  if (DestinationPath.empty()) {
    WriteLog(kNoLocationText);
    ShowMessage(kNoLocationText);
    Screen->SetCursor(crDefault);
    return;
  }
  std::string properties;
  try {
    properties = VantrelPropertyString(DestinationPath, GroupPath, FeatureList);
  } catch (const EInstallValueRefused& e) {
    WriteLog("Install refused: " + e.Message);
    Screen->SetCursor(crDefault);
    ShowMessage(InstallFailureText(e.Message));
    return;
  }
  WriteLog("Installing " + PackagePath() + " with " + properties);
  try {
    InstallPackage(Installer, ProgramFolder, PackageArgument, properties);
  } catch (const std::exception& e) {
    WriteLog("Install failed: " + std::string(e.what()));
    Screen->SetCursor(crDefault);
    ShowMessage(InstallFailureText(e.what()));
    return;
  }
  WriteLog("Install succeeded");
  ShowEndPage();
}

void TForm1::ShowEndPage() {
  Screen->SetCursor(crDefault);
  NavigateMain(FinishPage);
}

void TForm1::FillExistingGroups(bool currentUser) {
  html::IHtmlDocument* page = MainFrame();
  const std::string folder = tq::ProgramsFolder(currentUser);
  if (!page || folder.empty()) return;
  ProgramsFolder = folder;
  tq::FillExistingGroups(ProgramsFolder, GetPackageBaseName(), *page);
}

bool TForm1::HTMLAnchorEvents1click(html::IHtmlElement* link) {
  html::IHtmlDocument* page = MainFrame();
  if (!page || !link) return true;
  auto value = [page](const char* id) {
    html::IHtmlElement* e = page->Item(id);
    return e ? e->Value() : std::string();
  };
  auto checked = [page](const char* id) {
    html::IHtmlElement* e = page->Item(id);
    return e && e->Checked();
  };
  const std::string id = link->Id();
  if (id == "rwiCustomerInfo") {
    CustomerName = value("CustomerName");
    CompanyName = value("CompanyName");
    Key = value("Key");
  } else if (id == "rwiLocation") {
    const std::string location = value("Location");
    if (location.empty()) return false;
    DestinationPath = location;
  } else if (id == "rwiGroup") {
    const std::string group = value("Group");
    if (group.empty()) return false;
    Group = group;
    GroupPath = ProgramsFolder + group;
    WriteSetupGroup(ProgramFolder, GroupPath);
  } else if (id == "rwiCustom") {
    SummaryPending = true;
    TakeCustomChoices(trCust->Items(), *page, *this, ChosenTitles);
  } else if (id == "rwiLicense") {
    const bool yes = checked("rbyes"), no = checked("rbno");
    if (!yes && !no) {
      ShowMessage("You must select agree for the installation to continue, or do not agree to cancel the installation");
      return false;
    }
    if (no) {
      ShowMessage("You must agree to license terms to install the software.  Installation cancelled by user.");
      CloseLater();
    }
  } else if (id == "rwiType") {
    if (checked("Typical"))
      InstallType = 0;
    else if (checked("Custom"))
      InstallType = 1;
    else if (checked("Complete"))
      InstallType = 2;
    if (InstallType == 1) {
      NavigateMain(CustomPage);
      return false;
    }
    SummaryPending = true;
  }
  return true;
}

bool TForm1::HTMLAnchorEvents2click(html::IHtmlElement* link) {
  if (!link || link->Id() != "rwiCancel") return true;
  if (MessageDlg("Cancel requested. Do you want to cancel the installation?", mtConfirmation, mbYesNo) != mrYes)
    return false;
  CloseLater();
  return true;
}

// A page event never closes the window (and with it the page and its
// browser) inside itself: the close comes after the event returned.
void TForm1::CloseLater() { PostMessageA(Handle(), WM_CLOSE, 0, 0); }

bool TForm1::HTMLButtonElementEvents1click(html::IHtmlElement* button) {
  html::IHtmlDocument* page = MainFrame();
  if (!page || !button) return true;
  const std::string id = button->Id();
  if (id == "Browse") {
    if (!SelectDirectoryDlg) return true;
    if (FirstBrowse) {
      FirstBrowse = false;
      const std::string programFiles = SpecialFolder(0x26);
      if (!programFiles.empty()) SelectDirectoryDlg->Preset(programFiles);
    }
    if (SelectDirectoryDlg->ShowModal() == mrOk)
      if (html::IHtmlElement* location = page->Item("Location")) location->SetValue(SelectDirectoryDlg->DestinationPath());
  } else if (id == "Browse2") {
    if (!SelectDirectoryDlg2) return true;
    SelectDirectoryDlg2->IsNT = IsNT;
    SelectDirectoryDlg2->PackageBaseName = GetPackageBaseName();
    SelectDirectoryDlg2->AskWhichPath = [this](bool& allUsers) {
      if (!WhichGroupPathDlg || WhichGroupPathDlg->ShowModal() != mrOk) return false;
      allUsers = WhichGroupPathDlg->rgWhichUser->ItemIndex() == 1;
      return true;
    };
    if (SelectDirectoryDlg2->ShowModal() == mrOk) TakeGroupDialog();
  } else if (id == "rwiInstall") {
    InstallPending = true;
    Screen->SetCursor(crHourGlass);
    NavigateMain(ProgressPage);
  } else if (id == "Finish") {
    try {
      Timer1->SetEnabled(true);
    } catch (...) {
    }
  }
  return true;
}

// The group the dialog's OK took goes into the page's field, and the folder
// the dialog listed (the common one after "All Users") is the one that group
// joins on Next.
void TForm1::TakeGroupDialog() {
  if (!SelectDirectoryDlg2) return;
  if (!SelectDirectoryDlg2->Folder().empty()) ProgramsFolder = SelectDirectoryDlg2->Folder();
  if (html::IHtmlDocument* page = MainFrame())
    if (html::IHtmlElement* group = page->Item("Group")) group->SetValue(SelectDirectoryDlg2->edGroup->Text());
}

void TForm1::Timer1Timer(TObject*) {
  Timer1->SetEnabled(false);
  if (InstallationByDlg) InstallationByDlg->ShowModal();
  Close();
}

bool TForm1::CustomerFieldKeyPress(int field) {
  static const char* const ring[3] = {"CustomerName", "CompanyName", "Key"};
  html::IHtmlDocument* page = MainFrame();
  if (page && page->KeyCode() == 9)
    if (html::IHtmlElement* next = page->Item(ring[(field + 1) % 3])) next->Focus();
  return true;
}

bool TForm1::HTMLOptionButtonElementEvents1click(html::IHtmlElement*) {
  FillExistingGroups(true);
  return true;
}

bool TForm1::HTMLOptionButtonElementEvents2click(html::IHtmlElement*) {
  FillExistingGroups(false);
  return true;
}

bool TForm1::HTMLSelectElementEvents1dblclick(html::IHtmlElement*) {
  html::IHtmlDocument* page = MainFrame();
  html::IHtmlElement* list = page ? page->Item("ExistingGroups") : nullptr;
  html::IHtmlElement* group = page ? page->Item("Group") : nullptr;
  if (list && group) {
    const int i = list->SelectedIndex();
    if (html::IHtmlElement* option = list->Option(i)) group->SetValue(option->Text());
  }
  return true;
}

}  // namespace tq
