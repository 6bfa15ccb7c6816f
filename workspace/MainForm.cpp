// The main window: its creation (the program's real start-up), the program
// log, the new-code buttons, the exit prompt and the help and hint hooks.
#include "main.h"

#include <windows.h>

#include <type_traits>

#include "Cabinet.h"
#include "CommandLine.h"
#include "DateTime.h"
#include "FileUtils.h"
#include "Guid.h"
#include "Recent.h"
#include "UpdaterStart.h"
#include "ZipSmth.h"
#include "choices.h"
#include "WorkspaceDialogs.h"

namespace tq {

TRWInstallForm* RWInstallForm = nullptr;
TFtpData* ProjectFtpData = nullptr;
std::string TempPath;

namespace {

// The FTP settings are a component of the window when their class is one;
// otherwise the window keeps the one object itself.
template <class T>
T* MakeFtpData(TComponent* owner) {
  if constexpr (std::is_constructible_v<T, TComponent*>)
    return new T(owner);
  else
    return new T();
}

constexpr int MainWindowWidth = 670, MainWindowHeight = 452;

const char* const ExitPrompt = "The current project needs saving. \r\nDo you want to save before exiting?";

// The page help texts, each with its panel.
struct THelpText {
  TRichEdit* TRWInstallForm::*Panel;
  const char* File;
};
const THelpText HelpTexts[] = {
    {&TRWInstallForm::reInfo, "help\\info.rtf"},
    {&TRWInstallForm::reDirectories, "help\\directories.rtf"},
    {&TRWInstallForm::reChoices, "help\\choices.rtf"},
    {&TRWInstallForm::reRegistry, "help\\registry.rtf"},
    {&TRWInstallForm::reShortcuts, "help\\shortcut.rtf"},
    {&TRWInstallForm::reEVar, "help\\environment.rtf"},
    {&TRWInstallForm::reMergeModules, "help\\mergemodules.rtf"},
    {&TRWInstallForm::reBuild, "help\\build.rtf"},
    {&TRWInstallForm::reGui, "help\\gui.rtf"},
    {&TRWInstallForm::reMsi, "help\\msi.rtf"},
    {&TRWInstallForm::reAssociations, "help\\FileAssociations.rtf"},
    {&TRWInstallForm::reUpdates, "help\\Updates.rtf"},
};

}  // namespace

void RecreateProjectFtpData(TComponent* owner) {
  delete ProjectFtpData;
  ProjectFtpData = nullptr;
  ProjectFtpData = MakeFtpData<TFtpData>(owner);
  ProjectFtpData->Port = "21";
}

std::string& TRWInstallForm::AppDirOverride() {
  static std::string dir;
  return dir;
}

TRWInstallForm::TRWInstallForm(TComponent* owner) : TForm(owner) {
  RegisterChoiceControlClasses();
  RegisterComponentClass<TOutlook>("TOutlook");
  RegisterComponentClass<TElasticForm>("TElasticForm");
  RegisterLayoutNames();
  LoadLayoutResource("RWINSTALLFORM");
  // The menu, attached while the layout is read, resizes the window before the
  // layout's size is applied: apply the window's size once more.
  if (Width() != MainWindowWidth || Height() != MainWindowHeight)
    SetBounds(Left(), Top(), MainWindowWidth, MainWindowHeight);
}

TRWInstallForm::~TRWInstallForm() {
  // The destroy handler runs while the window's own members still exist.
  if (OnDestroy) {
    TNotifyEvent destroy = std::move(OnDestroy);
    OnDestroy = nullptr;
    try {
      destroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  Application->OnShowHint = nullptr;
  CloseLog();
  if (FProjectList)
    for (int i = 0; i < FProjectList->Count(); ++i) delete FProjectList->GetObjectAt(i);
  // Owned components go with the window; the globals must not outlive them.
  if constexpr (!std::is_constructible_v<TFtpData, TComponent*>) delete ProjectFtpData;
  ProjectFtpData = nullptr;
  RecentFiles = nullptr;
  if (RWInstallForm == this) RWInstallForm = nullptr;
}

void TRWInstallForm::RegisterLayoutNames() {
  TQ_FIELD(Outlook1); TQ_FIELD(PageControl1); TQ_FIELD(MainMenu1); TQ_FIELD(ElasticForm1);
  TQ_FIELD(TabSheet1); TQ_FIELD(TabSheet2); TQ_FIELD(TabSheet3); TQ_FIELD(TabSheet4); TQ_FIELD(TabSheet5);
  TQ_FIELD(TabSheet6); TQ_FIELD(TabSheet7); TQ_FIELD(TabSheet8); TQ_FIELD(TabSheet9); TQ_FIELD(TabSheet10);
  TQ_FIELD(TabSheet11); TQ_FIELD(TabSheet12); TQ_FIELD(TabSheet13); TQ_FIELD(TabSheet14);
  TQ_FIELD(TabSheet15); TQ_FIELD(TabSheet16); TQ_FIELD(PageControl2); TQ_FIELD(reInfo);
  TQ_FIELD(reDirectories); TQ_FIELD(reChoices); TQ_FIELD(reRegistry); TQ_FIELD(reShortcuts);
  TQ_FIELD(reEVar); TQ_FIELD(reMergeModules); TQ_FIELD(reBuild); TQ_FIELD(reGui); TQ_FIELD(reMsi);
  TQ_FIELD(reAssociations); TQ_FIELD(reUpdates); TQ_FIELD(IntroPanel); TQ_FIELD(Image10); TQ_FIELD(imgStyle);
  TQ_FIELD(edProductName); TQ_FIELD(edProductVersion); TQ_FIELD(edManufacturer); TQ_FIELD(edProductCode);
  TQ_FIELD(edPackageCode); TQ_FIELD(edSupportUrl); TQ_FIELD(edHomepageUrl); TQ_FIELD(buProductCodeGuid);
  TQ_FIELD(buPackageCodeGuid); TQ_FIELD(cbLanguage); TQ_FIELD(rbPerUser); TQ_FIELD(rbPerMachine);
  TQ_FIELD(gbInstallPerUserOrPerMachine); TQ_FIELD(labProductName); TQ_FIELD(labProductVersion);
  TQ_FIELD(labManufacturer); TQ_FIELD(labProductCode); TQ_FIELD(labPackageCode); TQ_FIELD(labLanguage);
  TQ_FIELD(trTargetDir); TQ_FIELD(buTargetDirectoriesAdd); TQ_FIELD(buTargetDirectoriesDelete);
  TQ_FIELD(buTargetDirectoriesRename); TQ_FIELD(buTargetDirectoriesAddSystemFolders);
  TQ_FIELD(TargetDirectoriesPopup); TQ_FIELD(AddChildNode1); TQ_FIELD(RemoveNode1); TQ_FIELD(trChoices);
  TQ_FIELD(tcChoices); TQ_FIELD(edNameChoices); TQ_FIELD(edDescriptionChoices); TQ_FIELD(lbDirectories);
  TQ_FIELD(lbFiles); TQ_FIELD(buAddFiles); TQ_FIELD(buDeleteSelectedFiles); TQ_FIELD(buDeleteChoices);
  TQ_FIELD(buAddChoices); TQ_FIELD(ckbRequired); TQ_FIELD(ckbTypical); TQ_FIELD(ckbVisible);
  TQ_FIELD(tcRegistry); TQ_FIELD(edNameRegistry); TQ_FIELD(edValName); TQ_FIELD(edValValue);
  TQ_FIELD(cbRoot); TQ_FIELD(cbKey); TQ_FIELD(cbChoicesRegistry); TQ_FIELD(buDeleteRegistry);
  TQ_FIELD(tcShortcuts); TQ_FIELD(edNameShortcut); TQ_FIELD(edArguments); TQ_FIELD(edDescriptionShortcuts);
  TQ_FIELD(cbChoicesShortcuts); TQ_FIELD(cbDirectoryShortcuts); TQ_FIELD(cbShowCmd); TQ_FIELD(cbWkDir);
  TQ_FIELD(lbFilesShortcuts); TQ_FIELD(buShortcutsDelete); TQ_FIELD(tcEVar); TQ_FIELD(edNameEvar);
  TQ_FIELD(cbValueEVar); TQ_FIELD(cbChoicesEvar); TQ_FIELD(ckbNoAction); TQ_FIELD(ckbDelete);
  TQ_FIELD(rgHowToInstall); TQ_FIELD(rgType); TQ_FIELD(buEVarDelete); TQ_FIELD(tcMergeModules);
  TQ_FIELD(edNameMergeModules); TQ_FIELD(edMergeModule); TQ_FIELD(buBrowseMergeModules);
  TQ_FIELD(buDeleteMergeModules); TQ_FIELD(cbDirectoryMergeModules); TQ_FIELD(cbChoicesMergeModules);
  TQ_FIELD(cbLanguageMergeModules); TQ_FIELD(tcAssociations); TQ_FIELD(edNameAssociations);
  TQ_FIELD(edExtensionAssociations); TQ_FIELD(edDescriptionAssociations); TQ_FIELD(edIconIndexAssociations);
  TQ_FIELD(cbChoicesAssociations); TQ_FIELD(lbFilesAssociations); TQ_FIELD(buDeleteAssociations);
  TQ_FIELD(buBuild); TQ_FIELD(buBuildCancel); TQ_FIELD(labBuilding); TQ_FIELD(Label43); TQ_FIELD(Timer1);
  TQ_FIELD(ckbDisableComplete); TQ_FIELD(ckbIncludeMsi); TQ_FIELD(ckbIncludePatching);
  TQ_FIELD(edVersionComparison); TQ_FIELD(gbBuildType); TQ_FIELD(rbCD); TQ_FIELD(rbFloppy); TQ_FIELD(ckbHtmlUi);
  TQ_FIELD(ckbFlashUi); TQ_FIELD(ckbLicenseHtml); TQ_FIELD(ckbReadmeHtml); TQ_FIELD(ckbCustInfoHtml);
  TQ_FIELD(ckbGroupHtml); TQ_FIELD(ckbAllPages); TQ_FIELD(edLicenseFile); TQ_FIELD(edReadmeFile);
  TQ_FIELD(edFlashMovie); TQ_FIELD(edHtmlUiOrigFile); TQ_FIELD(edHtmlUiSaveFile); TQ_FIELD(buLicenseFile);
  TQ_FIELD(buReadmeFile); TQ_FIELD(buHtmlUiEdit); TQ_FIELD(buHtmlUiFontAndColorOptions);
  TQ_FIELD(buGenerateThePages); TQ_FIELD(buSupportFiles); TQ_FIELD(tcHtmlPages); TQ_FIELD(lbSupportFiles);
  TQ_FIELD(lbSupportFilesFlash); TQ_FIELD(edWelcomeBitmap); TQ_FIELD(edBannerBitmap);
  TQ_FIELD(buWelcomeBitmap); TQ_FIELD(buBannerBitmap); TQ_FIELD(buHtmlPagesBrowse); TQ_FIELD(buSupportFilesAdd);
  TQ_FIELD(buSupportFilesDelete); TQ_FIELD(buSupportFilesClear); TQ_FIELD(buBackToGuiPage);
  TQ_FIELD(buBrowseFlashMovie); TQ_FIELD(buSupportFilesAddFlash); TQ_FIELD(buSupportFilesDeleteFlash);
  TQ_FIELD(buSupportFilesClearFlash); TQ_FIELD(buBackToGuiPageFlash);
  TQ_FIELD(buCreateNewPatch); TQ_FIELD(buUploadToFtpSite); TQ_FIELD(OpenDialog1); TQ_FIELD(OpenDialog2);
  TQ_FIELD(OpenDialog3); TQ_FIELD(OpenDialog4); TQ_FIELD(OpenDialog5); TQ_FIELD(OpenDialog6);
  TQ_FIELD(OpenDialog7); TQ_FIELD(SaveDialog1); TQ_FIELD(File1); TQ_FIELD(New1); TQ_FIELD(InstallPackage1);
  TQ_FIELD(MergeModule1); TQ_FIELD(Open1); TQ_FIELD(Save1); TQ_FIELD(SaveAs1); TQ_FIELD(Exit1);
  TQ_FIELD(Compiler1); TQ_FIELD(BDE1); TQ_FIELD(Pro1); TQ_FIELD(Enterprise1); TQ_FIELD(VisualBasic1);
  TQ_FIELD(VisualBasic6RunTime1); TQ_FIELD(VisualBasic5RunTime1); TQ_FIELD(MicrosoftNET1);
  TQ_FIELD(CLRRuntime1); TQ_FIELD(Updates1); TQ_FIELD(UpdateTarnquillviatheInternet1);
  TQ_FIELD(UndoLastUpdate1); TQ_FIELD(Help1); TQ_FIELD(Contents1); TQ_FIELD(Index1); TQ_FIELD(ContactUs1);
  TQ_FIELD(Support1); TQ_FIELD(Suggestions1); TQ_FIELD(About1);
  TQ_HANDLER(TRWInstallForm, FormCreate);
  TQ_HANDLER(TRWInstallForm, ckbIncludePatchingClick);
  TQ_HANDLER(TRWInstallForm, edVersionComparisonChange);
  TQ_HANDLER(TRWInstallForm, edProductVersionExit);
  TQ_HANDLER(TRWInstallForm, buCreateNewPatchClick);
  TQ_HANDLER(TRWInstallForm, buUploadToFtpSiteClick);
  TQ_HANDLER(TRWInstallForm, FormClose);
  TQ_HANDLER(TRWInstallForm, FormDestroy);
  TQ_HANDLER(TRWInstallForm, buProductCodeGuidClick);
  TQ_HANDLER(TRWInstallForm, buPackageCodeGuidClick);
  TQ_HANDLER(TRWInstallForm, buBuildCancelClick);
  TQ_HANDLER(TRWInstallForm, edProductVersionChange);
  TQ_HANDLER(TRWInstallForm, InstallPackage1Click);
  TQ_HANDLER(TRWInstallForm, MergeModule1Click);
  TQ_HANDLER(TRWInstallForm, Exit1Click);
  TQ_HANDLER(TRWInstallForm, Open1Click);
  TQ_HANDLER(TRWInstallForm, Contents1Click);
  TQ_HANDLER(TRWInstallForm, Index1Click);
  TQ_HANDLER(TRWInstallForm, RecentFiles1Click);
  TQ_HANDLER(TRWInstallForm, File1Click);
  TQ_HANDLER(TRWInstallForm, Save1Click);
  TQ_HANDLER(TRWInstallForm, SaveAs1MenuClick);
  TQ_HANDLER(TRWInstallForm, Compiler1Click);
  TQ_HANDLER(TRWInstallForm, Pro1Click);
  TQ_HANDLER(TRWInstallForm, Enterprise1Click);
  TQ_HANDLER(TRWInstallForm, VisualBasic6RunTime1Click);
  TQ_HANDLER(TRWInstallForm, VisualBasic5RunTime1Click);
  TQ_HANDLER(TRWInstallForm, CLRRuntime1Click);
  TQ_HANDLER(TRWInstallForm, lbFilesClick);
  TQ_HANDLER(TRWInstallForm, trTargetDirMouseDown);
  TQ_HANDLER(TRWInstallForm, trTargetDirEditing);
  TQ_HANDLER(TRWInstallForm, buAddFilesClick);
  TQ_HANDLER(TRWInstallForm, buTargetDirectoriesAddSystemFoldersClick);
  TQ_HANDLER(TRWInstallForm, About1Click);
  TQ_HANDLER(TRWInstallForm, Outlook1ItemClick);
  TQ_HANDLER(TRWInstallForm, ElasticForm1AfterResize);
  TQ_HANDLER(TRWInstallForm, rgBuildTypeClick);
  TQ_HANDLER(TRWInstallForm, buWelcomeBitmapClick);
  TQ_HANDLER(TRWInstallForm, buBannerBitmapClick);
  TQ_HANDLER(TRWInstallForm, edWelcomeBitmapChange);
  TQ_HANDLER(TRWInstallForm, ckbIncludeMsiClick);
  TQ_HANDLER(TRWInstallForm, edHomepageUrlChange);
  TQ_HANDLER(TRWInstallForm, UpdateTarnquillviatheInternet1Click);
  TQ_HANDLER(TRWInstallForm, UndoLastUpdate1Click);
  TQ_HANDLER(TRWInstallForm, Suggestions1Click);
  TQ_HANDLER(TRWInstallForm, ContactUs1Click);
  TQ_HANDLER(TRWInstallForm, Support1Click);
  TQ_HANDLER(TRWInstallForm, ckbHtmlUiClick);
  TQ_HANDLER(TRWInstallForm, ckbFlashUiClick);
  TQ_HANDLER(TRWInstallForm, buHtmlUiEditClick);
  TQ_HANDLER(TRWInstallForm, ckbLicenseHtmlClick);
  TQ_HANDLER(TRWInstallForm, tcHtmlPagesChange);
  TQ_HANDLER(TRWInstallForm, edHtmlUiSaveFileChange);
  TQ_HANDLER(TRWInstallForm, edHtmlUiOrigFileChange);
  TQ_HANDLER(TRWInstallForm, buHtmlPagesBrowseClick);
  TQ_HANDLER(TRWInstallForm, ckbAllPagesClick);
  TQ_HANDLER(TRWInstallForm, buSupportFilesAddClick);
  TQ_HANDLER(TRWInstallForm, buSupportFilesDeleteClick);
  TQ_HANDLER(TRWInstallForm, buSupportFilesClearClick);
  TQ_HANDLER(TRWInstallForm, buBrowseFlashMovieClick);
  TQ_HANDLER(TRWInstallForm, buSupportFilesClick);
  TQ_HANDLER(TRWInstallForm, buSupportFilesAddFlashClick);
  TQ_HANDLER(TRWInstallForm, buSupportFilesDeleteFlashClick);
  TQ_HANDLER(TRWInstallForm, buSupportFilesClearFlashClick);
  TQ_HANDLER(TRWInstallForm, buBackToGuiPageClick);
  TQ_HANDLER(TRWInstallForm, buLicenseFileClick);
  TQ_HANDLER(TRWInstallForm, buReadmeFileClick);
  TQ_HANDLER(TRWInstallForm, edLicenseFileChange);
  TQ_HANDLER(TRWInstallForm, edFlashMovieChange);
  RegisterItemPageHandlers();
}

// ---- creation ----------------------------------------------------------------

// Every object the window owns is made first, so that a file that cannot be
// read leaves a complete window; then the program folder's files are read,
// each failure contained to its own step.
void TRWInstallForm::FormCreate(TObject*) {
  CreateOwnedObjects();
  ReadProjectList();
  PrepareTempPath();
  OpenLog();
  if (!FHtmlHelp.Load()) WriteLog("HTML Help is not installed on this machine");
  LoadLanguages();
  SetCurrentDir(FAppDir);
  LoadHelpTexts();
  try {
    StartDailyUpdater(FAppDir, Now());
  } catch (...) {
    Application->HandleException(this);
  }
  try {
    NewProject(0);
  } catch (...) {
    Application->HandleException(this);
  }
  try {
    OpenCommandLineProject();
  } catch (...) {
    Application->HandleException(this);
  }
}

void TRWInstallForm::CreateOwnedObjects() {
  FVersionEdited = 0;
  RecreateProjectFtpData(this);
  FPatchCount = -1;
  FUpdateFrom.clear();
  FUpdateVersion.clear();
  FAllowAutoUpdate = 1;
  FUpdatePending = 1;
  FUpdateCreated = 0;
  FGuiItemPicture = Outlook1->Items().GetItemPicture(1, 9);
  FMsiItemPicture = Outlook1->Items().GetItemPicture(1, 10);
  FBuildItemPicture = Outlook1->Items().GetItemPicture(1, 11);
  FUpdatesItemPicture = Outlook1->Items().GetItemPicture(1, 12);

  FAppDir = AppDirOverride().empty() ? ExtractFilePath(ParamStr(0)) : IncludeTrailingPathDelimiter(AppDirOverride());
  // The windows' state files lie beside the program, whatever folder is current.
  TElasticForm::StateFolder() = FAppDir;
  FProjectList = std::make_unique<TStringList>();
  FProjectList->SetSorted(true);
  RecentFiles = new TRecentFiles(this, 5, File1, [this](TObject* s) { RecentFiles1Click(s); },
                                 FAppDir + "Recent.dat");

  FOldOnHelp = Application->OnHelp;
  Application->OnHelp = [this](uint16_t command, intptr_t data, bool& callHelp) {
    return AppHelp(command, data, callHelp);
  };
  Application->HelpFile = FAppDir + "Tarnquill.chm";

  if (!BPOptionsDlg) BPOptionsDlg = new TBPOptionsDlg(Application);

  FPageNames = std::make_unique<TStringList>();
  CreateSetupPageObjects();
  for (const char* page : {"Welcome", "License", "Readme", "Customer Info", "Location", "Group", "Install Type",
                           "Custom", "Install", "Progress", "Finish"})
    FPageNames->Add(page);
  FModified = 0;

  Application->OnShowHint = [this](std::string& hintStr, bool& canShow, THintInfo& hintInfo) {
    AppShowHint(hintStr, canShow, hintInfo);
  };

  FCabinetWriter = new TCabinetWriter(this);
  FCabinetWriterHandler = new TStreamCabinetFileHandler(this);
  FCabinetReaderHandler = new TStreamCabinetFileHandler(this);
  FCabinetReader = new TCabinetReader(this);
  FCabinetWriter->SetFileHandler(FCabinetWriterHandler);
  FCabinetReader->SetFileHandler(FCabinetReaderHandler);
  zm = new TZipSmith(this);
  zm->SetName("zm");
  zm2 = new TZipSmith(this);
  zm2->SetName("zm2");

  FProjectType = 0;
  Application->HintHidePause = 5000;

  PageControl1->SetTabHeight(1);
  PageControl1->SetTabWidth(1);
  PageControl2->SetTabHeight(1);
  PageControl2->SetTabWidth(1);
  for (int i = 0; i < PageControl1->PageCount(); ++i) PageControl1->Pages(i)->SetTabVisible(false);
  PageControl1->SetActivePage(TabSheet9);
  TabSheet9->SetTabVisible(true);

  FDirNodeNames = std::make_unique<TStringList>();
  FChoiceFileDirs = std::make_unique<TStringList>();
  FChoiceFilePaths = std::make_unique<TStringList>();
  trTargetDir->Items().Add(nullptr, "<Home Directory>");
}

void TRWInstallForm::CreateSetupPageObjects() {
  FHtmlPagesNames = new THtmlPagesNames(this);
  FHtmlSupportPages = new THtmlSupportPages(this);
  FFlashSupport = new TFlashSupport(this);
}

void TRWInstallForm::FreeSetupPageObjects() {
  delete FHtmlPagesNames;
  FHtmlPagesNames = nullptr;
  delete FHtmlSupportPages;
  FHtmlSupportPages = nullptr;
  delete FFlashSupport;
  FFlashSupport = nullptr;
}

// projects.dat: pairs of lines, product name then project folder.
void TRWInstallForm::ReadProjectList() {
  std::string file = FAppDir + "projects.dat";
  if (!FileExists(file)) return;
  try {
    TTextFile f(file);
    f.Reset();
    while (!f.Eof()) {
      std::string name = f.ReadLn();
      std::string folder = f.ReadLn();
      FProjectList->AddObject(name, new TStringObject(folder));
    }
    f.Close();
  } catch (...) {
    Application->HandleException(this);
  }
}

void TRWInstallForm::PrepareTempPath() {
  try {
    TempPath = IncludeTrailingPathDelimiter(GetTempPath());
    std::string work = TempPath + "tempcab";
    if (!DirectoryExists(work) && !CreateDir(work))
      throw EInOutError(Format("Cannot create the folder %s", {work}));
  } catch (...) {
    Application->HandleException(this);
  }
}

void TRWInstallForm::OpenLog() {
  try {
    FLogFile.Assign(FAppDir + "tarnquill.log");
    if (FileExists(FAppDir + "tarnquill.log"))
      FLogFile.Append();
    else
      FLogFile.Rewrite();
    TDateTime now = Now();
    FLogFile.WriteLn();
    FLogFile.WriteLn(StringOfChar('*', 43));
    FLogFile.WriteLn();
    FLogFile.WriteLn(DateToStr(now) + " " + TimeToStr(now));
    FLogFile.WriteLn();
  } catch (...) {
    // Tarnquill works without its log.
    if (FLogFile.IsOpen()) FLogFile.Close();
  }
}

void TRWInstallForm::WriteLog(const std::string& line) {
  if (!FLogFile.IsOpen()) return;
  try {
    FLogFile.WriteLn(line);
  } catch (...) {
    // A full disk must not stop the program: the line is lost.
  }
}

void TRWInstallForm::CloseLog() {
  if (FLogFile.IsOpen()) {
    try {
      FLogFile.Close();
    } catch (...) {
    }
  }
}

// lcid.dat: one language a line, its LCID in decimal and then its name. A
// missing or unreadable file is logged and leaves the lists empty. The lists
// take the first MaxLanguages languages (far more than Windows knows); a file
// with more is read no further and logged: each entry costs the list windows
// time, and a long file held up the start by many seconds.
void TRWInstallForm::LoadLanguages() {
  constexpr int MaxLanguages = 1000;
  cbLanguage->Clear();
  std::string file = FAppDir + "lcid.dat";
  try {
    TTextFile f(file);
    f.Reset();
    while (!f.Eof()) {
      std::string line = f.ReadLn();
      size_t p = 0;
      while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
      size_t start = p;
      if (p < line.size() && (line[p] == '-' || line[p] == '+')) ++p;
      while (p < line.size() && line[p] >= '0' && line[p] <= '9') ++p;
      int lcid = 0;
      if (!TryStrToInt(line.substr(start, p - start), lcid)) continue;  // not a language line
      if (cbLanguage->Items().Count() == MaxLanguages) {
        WriteLog("Languages after the first " + IntToStr(MaxLanguages) + " in " + file + " are left out");
        break;
      }
      cbLanguage->Items().AddIntObject(Trim(line.substr(p)), lcid);
    }
    f.Close();
  } catch (const std::exception& e) {
    WriteLog("Languages not read from " + file + ": " + e.what());
  }
  cbLanguageMergeModules->Clear();
  cbLanguageMergeModules->Items().Assign(cbLanguage->Items());
  for (int i = 0; i < cbLanguage->Items().Count(); ++i)
    if (cbLanguage->Items().GetIntObject(i) == 1033) {
      cbLanguage->SetItemIndex(i);
      break;
    }
}

void TRWInstallForm::LoadHelpTexts() {
  for (const THelpText& h : HelpTexts) {
    TRichEdit* panel = this->*h.Panel;
    try {
      panel->Lines().LoadFromFile(FAppDir + h.File);
    } catch (const std::exception& e) {
      panel->Lines().Clear();
      WriteLog(std::string("Help text not read from ") + h.File + ": " + e.what());
    }
  }
}

void TRWInstallForm::OpenCommandLineProject() {
  std::vector<std::string> args;
  for (int i = 1; i <= ParamCount(); ++i) args.push_back(ParamStr(i));
  std::string project = ProjectFromArguments(args);
  if (project.empty()) return;
  // Read first: a file that cannot be read leaves the new project as it is
  // and stays out of the recent list.
  LoadProject(project);
  RecentFiles->AddFile(FProjectFile);
}

// ---- saving and loading (the project file's own code fills these) -------------

void TRWInstallForm::SaveProject() {
  if (ProjectWriter)
    ProjectWriter(FProjectFile);
  else
    WriteProjectTo(FProjectFile);
  FModified = 0;
}

bool TRWInstallForm::SaveProjectAs() {
  if (!SaveDialog1->Execute()) return false;
  std::string previous = FProjectFile;
  FProjectFile = SaveDialog1->FileName;
  try {
    SaveProject();
  } catch (...) {
    FProjectFile = previous;
    throw;
  }
  SetCaption(ExtractFileName(FProjectFile) + " - Tarnquill" +
             (FProjectType == 0 ? " - Install Project" : " - Merge Module Project"));
  return true;
}

bool TRWInstallForm::SaveForPrompt() {
  try {
    if (FProjectFile.empty()) return SaveAs1Click(this);
    SaveProject();
    return true;
  } catch (...) {
    Application->HandleException(this);
    return false;
  }
}

void TRWInstallForm::LoadProject(const std::string& fileName) { ReadProjectFrom(fileName); }

// ---- handlers ---------------------------------------------------------------------

void TRWInstallForm::FormClose(TObject*, TCloseAction& action) {
  if (FModified) {
    int answer = MessageDlg(ExitPrompt, mtConfirmation, mbYesNoCancel);
    if (answer == mrYes) {
      if (!SaveForPrompt()) {
        action = caNone;
        return;
      }
    } else if (answer != mrNo) {
      action = caNone;
      return;
    }
  }
  CloseLog();
}

void TRWInstallForm::FormDestroy(TObject*) {
  Application->OnHelp = FOldOnHelp;
  FHtmlHelp.Unload();
}

void TRWInstallForm::buProductCodeGuidClick(TObject*) {
  std::string guid = NewGuidText();
  edProductCode->SetText(guid);
  WriteLog("New ProductCode : " + guid);
  FModified = 1;
}

void TRWInstallForm::buPackageCodeGuidClick(TObject*) {
  std::string guid = NewGuidText();
  edPackageCode->SetText(guid);
  WriteLog("New PackageCode : " + guid);
  FModified = 1;
}

std::string TRWInstallForm::GetCleanProductName() const {
  std::string result;
  for (char c : edProductName->Text())
    if (c == ' ' || IsCharAlphaNumericA(c)) result += c;
  return result;
}

void TRWInstallForm::buBuildCancelClick(TObject*) { FCancelBuild = 1; }

void TRWInstallForm::edProductVersionChange(TObject*) {
  FModified = 1;
  FVersionEdited = 1;
}

void TRWInstallForm::InstallPackage1Click(TObject*) { NewProject(0); }

void TRWInstallForm::MergeModule1Click(TObject*) { NewProject(1); }

void TRWInstallForm::Exit1Click(TObject*) { Close(); }

void TRWInstallForm::RecentFiles1Click(TObject* sender) { OpenRecentFile(sender); }

bool TRWInstallForm::AppHelp(uint16_t command, intptr_t data, bool& callHelp) {
  if (command == HELP_CONTEXT || command == HELP_CONTEXTPOPUP) {
    FHtmlHelp.Call(Application->HelpFile, HH_HELP_CONTEXT_CMD, static_cast<uintptr_t>(data));
    callHelp = false;
  }
  return true;
}

void TRWInstallForm::Contents1Click(TObject*) {
  FHtmlHelp.Call(Application->HelpFile, HH_DISPLAY_TOC_CMD, 0);
}

void TRWInstallForm::Index1Click(TObject*) {
  FHtmlHelp.Call(Application->HelpFile, HH_DISPLAY_INDEX_CMD, 0);
}

void TRWInstallForm::AppShowHint(std::string& hintStr, bool&, THintInfo& hintInfo) {
  auto* list = dynamic_cast<TListBox*>(hintInfo.HintControl);
  if (!list || (list != lbFiles && list != lbFilesShortcuts && list != lbFilesAssociations)) return;
  int index = list->ItemAtPos(hintInfo.CursorPos, true);
  if (index < 0 || index >= list->Items().Count()) return;
  if (list == lbFiles) {
    if (auto* path = dynamic_cast<TFilePathObject*>(list->Items().GetObjectAt(index))) hintStr = path->Path;
  } else {
    hintStr = list->Items()[index];
  }
}

// ---- directory tree and file list hooks ---------------------------------------------

void TRWInstallForm::trTargetDirMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
  FSelectedDirNode = trTargetDir->GetNodeAt(x, y);
  if (!FSelectedDirNode) return;
  if (button == mbRight) {
    POINT p{x, y};
    ClientToScreen(trTargetDir->Handle(), &p);
    TargetDirectoriesPopup->Popup(p.x, p.y);
  }
  buTargetDirectoriesAdd->SetEnabled(true);
  buTargetDirectoriesAddSystemFolders->SetEnabled(true);
  buTargetDirectoriesDelete->SetEnabled(true);
  buTargetDirectoriesRename->SetEnabled(true);
}

void TRWInstallForm::trTargetDirEditing(TObject*, TTreeNode* node, bool& allowEdit) {
  if (node && node->Text() == "<Home Directory>") allowEdit = false;
}

void TRWInstallForm::lbFilesClick(TObject*) {
  int index = lbFiles->ItemIndex();
  if (index < 0) return;
  auto* path = dynamic_cast<TFilePathObject*>(lbFiles->Items().GetObjectAt(index));
  if (!path) return;
  for (int i = 0; i < FChoiceFilePaths->Count(); ++i)
    if (AnsiSameText(FChoiceFilePaths->Get(i), path->Path)) {
      FChoiceFilePaths->PutIntObject(i, lbFiles->Checked(index) ? 1 : 0);
      break;
    }
  int tab = tcChoices->TabIndex();
  if (tab >= 0)
    if (auto* choice = dynamic_cast<TChoice*>(tcChoices->Tabs().GetObjectAt(tab))) choice->Files->Assign(*FChoiceFilePaths);
  FModified = 1;
}

}  // namespace tq
