#pragma once
// Tarnquill's main window: the one holder of the open project. Its item objects
// hang on the item pages' tab controls, its trees and fields are the pages'
// controls, and the rest lives in the fields below, which the builder and the
// update publisher read through the global RWInstallForm.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Buttons.h"
#include "CheckLst.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "TextFile.h"

#include "ChoiceControls.h"
#include "ElasticForm.h"
#include "HtmlHelp.h"
#include "Outlook.h"
#include "ProjectData.h"
#include "FtpData.h"
#include "UpdateCreation.h"

namespace tq {

class TIniFile;
class TCabinetWriter;
class TZipSmith;
class TCabinetReader;
class TStreamCabinetFileHandler;

// A string held as a list entry's object (the project list's folders).
class TStringObject : public TObject {
 public:
  explicit TStringObject(std::string value) : Value(std::move(value)) {}
  std::string ClassName() const override { return "TStringObject"; }
  std::string Value;
};

// The update fields (the version pair, the update and modified flags) are the
// window's own, kept in the shape update creation works on.
class TRWInstallForm : public TForm, public TUpdateState {
 public:
  explicit TRWInstallForm(TComponent* owner);
  ~TRWInstallForm() override;
  std::string ClassName() const override { return "TRWInstallForm"; }

  // ---- window ----
  TOutlook* Outlook1 = nullptr;
  TPageControl* PageControl1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TElasticForm* ElasticForm1 = nullptr;
  TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr, *TabSheet4 = nullptr,
            *TabSheet5 = nullptr, *TabSheet6 = nullptr, *TabSheet7 = nullptr, *TabSheet8 = nullptr,
            *TabSheet9 = nullptr, *TabSheet10 = nullptr, *TabSheet11 = nullptr, *TabSheet12 = nullptr,
            *TabSheet13 = nullptr, *TabSheet14 = nullptr, *TabSheet15 = nullptr, *TabSheet16 = nullptr;
  TPageControl* PageControl2 = nullptr;
  // Page help panels.
  TRichEdit *reInfo = nullptr, *reDirectories = nullptr, *reChoices = nullptr, *reRegistry = nullptr,
            *reShortcuts = nullptr, *reEVar = nullptr, *reMergeModules = nullptr, *reBuild = nullptr,
            *reGui = nullptr, *reMsi = nullptr, *reAssociations = nullptr, *reUpdates = nullptr;
  // Start page.
  TPanel* IntroPanel = nullptr;
  TImage *Image10 = nullptr, *imgStyle = nullptr;
  // Info.
  TEdit *edProductName = nullptr, *edProductVersion = nullptr, *edManufacturer = nullptr,
        *edProductCode = nullptr, *edPackageCode = nullptr, *edSupportUrl = nullptr, *edHomepageUrl = nullptr;
  TButton *buProductCodeGuid = nullptr, *buPackageCodeGuid = nullptr;
  TComboBox* cbLanguage = nullptr;
  TRadioButton *rbPerUser = nullptr, *rbPerMachine = nullptr;
  TGroupBox* gbInstallPerUserOrPerMachine = nullptr;
  TLabel *labProductName = nullptr, *labProductVersion = nullptr, *labManufacturer = nullptr,
         *labProductCode = nullptr, *labPackageCode = nullptr, *labLanguage = nullptr;
  // Directories.
  TNoToolTipsTreeView* trTargetDir = nullptr;
  TButton *buTargetDirectoriesAdd = nullptr, *buTargetDirectoriesDelete = nullptr,
          *buTargetDirectoriesRename = nullptr, *buTargetDirectoriesAddSystemFolders = nullptr;
  TPopupMenu* TargetDirectoriesPopup = nullptr;
  TMenuItem *AddChildNode1 = nullptr, *RemoveNode1 = nullptr;
  // Choices.
  TTreeView* trChoices = nullptr;
  TTabControl* tcChoices = nullptr;
  TEdit *edNameChoices = nullptr, *edDescriptionChoices = nullptr;
  TListBox* lbDirectories = nullptr;
  TMultiSelectCheckListBox* lbFiles = nullptr;
  TButton *buAddFiles = nullptr, *buDeleteSelectedFiles = nullptr, *buDeleteChoices = nullptr,
          *buAddChoices = nullptr;
  TCheckBox *ckbRequired = nullptr, *ckbTypical = nullptr, *ckbVisible = nullptr;
  // Registry.
  TTabControl* tcRegistry = nullptr;
  TEdit *edNameRegistry = nullptr, *edValName = nullptr, *edValValue = nullptr;
  TComboBox *cbRoot = nullptr, *cbKey = nullptr, *cbChoicesRegistry = nullptr;
  TButton* buDeleteRegistry = nullptr;
  // Shortcuts.
  TTabControl* tcShortcuts = nullptr;
  TEdit *edNameShortcut = nullptr, *edArguments = nullptr, *edDescriptionShortcuts = nullptr;
  TComboBox *cbChoicesShortcuts = nullptr, *cbDirectoryShortcuts = nullptr, *cbShowCmd = nullptr,
            *cbWkDir = nullptr;
  TListBox* lbFilesShortcuts = nullptr;
  TButton* buShortcutsDelete = nullptr;
  // Environment.
  TTabControl* tcEVar = nullptr;
  TEdit* edNameEvar = nullptr;
  TComboBox *cbValueEVar = nullptr, *cbChoicesEvar = nullptr;
  TCheckBox *ckbNoAction = nullptr, *ckbDelete = nullptr;
  TRadioGroup *rgHowToInstall = nullptr, *rgType = nullptr;
  TButton* buEVarDelete = nullptr;
  // Modules.
  TTabControl* tcMergeModules = nullptr;
  TEdit *edNameMergeModules = nullptr, *edMergeModule = nullptr;
  TButton *buBrowseMergeModules = nullptr, *buDeleteMergeModules = nullptr;
  TComboBox *cbDirectoryMergeModules = nullptr, *cbChoicesMergeModules = nullptr,
            *cbLanguageMergeModules = nullptr;
  // Associations.
  TTabControl* tcAssociations = nullptr;
  TEdit *edNameAssociations = nullptr, *edExtensionAssociations = nullptr, *edDescriptionAssociations = nullptr,
        *edIconIndexAssociations = nullptr;
  TComboBox* cbChoicesAssociations = nullptr;
  TListBox* lbFilesAssociations = nullptr;
  TButton* buDeleteAssociations = nullptr;
  // Build.
  TButton *buBuild = nullptr, *buBuildCancel = nullptr;
  TLabel *labBuilding = nullptr, *Label43 = nullptr;
  TTimer* Timer1 = nullptr;
  TCheckBox *ckbDisableComplete = nullptr, *ckbIncludeMsi = nullptr, *ckbIncludePatching = nullptr;
  TEdit* edVersionComparison = nullptr;
  TGroupBox* gbBuildType = nullptr;
  TRadioButton *rbCD = nullptr, *rbFloppy = nullptr;
  // Gui.
  TCheckBox *ckbHtmlUi = nullptr, *ckbFlashUi = nullptr, *ckbLicenseHtml = nullptr, *ckbReadmeHtml = nullptr,
            *ckbCustInfoHtml = nullptr, *ckbGroupHtml = nullptr, *ckbAllPages = nullptr;
  TEdit *edLicenseFile = nullptr, *edReadmeFile = nullptr, *edFlashMovie = nullptr, *edHtmlUiOrigFile = nullptr,
        *edHtmlUiSaveFile = nullptr;
  TButton *buLicenseFile = nullptr, *buReadmeFile = nullptr, *buHtmlUiEdit = nullptr,
          *buHtmlUiFontAndColorOptions = nullptr, *buGenerateThePages = nullptr, *buSupportFiles = nullptr,
          *buHtmlPagesBrowse = nullptr, *buSupportFilesAdd = nullptr, *buSupportFilesDelete = nullptr,
          *buSupportFilesClear = nullptr, *buBackToGuiPage = nullptr, *buBrowseFlashMovie = nullptr,
          *buSupportFilesAddFlash = nullptr, *buSupportFilesDeleteFlash = nullptr,
          *buSupportFilesClearFlash = nullptr, *buBackToGuiPageFlash = nullptr;
  TTabControl* tcHtmlPages = nullptr;
  TListBox *lbSupportFiles = nullptr, *lbSupportFilesFlash = nullptr;
  // Msi.
  TEdit *edWelcomeBitmap = nullptr, *edBannerBitmap = nullptr;
  TButton *buWelcomeBitmap = nullptr, *buBannerBitmap = nullptr;
  // Updates.
  TButton *buCreateNewPatch = nullptr, *buUploadToFtpSite = nullptr;
  // Non-visual.
  TOpenDialog *OpenDialog1 = nullptr, *OpenDialog2 = nullptr, *OpenDialog3 = nullptr, *OpenDialog4 = nullptr,
              *OpenDialog5 = nullptr, *OpenDialog6 = nullptr, *OpenDialog7 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
  TZipSmith *zm = nullptr, *zm2 = nullptr;  // made with the window, not by the layout
  // Main menu.
  TMenuItem *File1 = nullptr, *New1 = nullptr, *InstallPackage1 = nullptr, *MergeModule1 = nullptr,
            *Open1 = nullptr, *Save1 = nullptr, *SaveAs1 = nullptr, *Exit1 = nullptr;
  TMenuItem *Compiler1 = nullptr, *BDE1 = nullptr, *Pro1 = nullptr, *Enterprise1 = nullptr,
            *VisualBasic1 = nullptr, *VisualBasic6RunTime1 = nullptr, *VisualBasic5RunTime1 = nullptr,
            *MicrosoftNET1 = nullptr, *CLRRuntime1 = nullptr;
  TMenuItem *Updates1 = nullptr, *UpdateTarnquillviatheInternet1 = nullptr, *UndoLastUpdate1 = nullptr;
  TMenuItem *Help1 = nullptr, *Contents1 = nullptr, *Index1 = nullptr, *ContactUs1 = nullptr,
            *Support1 = nullptr, *Suggestions1 = nullptr, *About1 = nullptr;

  // ---- the window's own state (flags hold 0 or 1) ----
  TTreeNode* FSelectedDirNode = nullptr;
  std::string FProjectFile;
  std::string FOutputFile;
  uint8_t FUpdating = 0;
  uint8_t FProjectType = 0;  // 0 install package, 1 merge module
  uint8_t FCancelBuild = 0;
  std::unique_ptr<TStringList> FPageNames;
  THelpEvent FOldOnHelp;
  TPicture *FGuiItemPicture = nullptr, *FMsiItemPicture = nullptr, *FBuildItemPicture = nullptr,
           *FUpdatesItemPicture = nullptr;
  std::string FAppDir;
  TTextFile FLogFile;
  TCabinetWriter* FCabinetWriter = nullptr;
  TStreamCabinetFileHandler* FCabinetWriterHandler = nullptr;
  TStreamCabinetFileHandler* FCabinetReaderHandler = nullptr;
  TCabinetReader* FCabinetReader = nullptr;
  std::unique_ptr<TStringList> FChoiceFileDirs;
  std::unique_ptr<TStringList> FChoiceFilePaths;
  std::unique_ptr<TStringList> FDirNodeNames;
  THtmlPagesNames* FHtmlPagesNames = nullptr;
  THtmlSupportPages* FHtmlSupportPages = nullptr;
  TFlashSupport* FFlashSupport = nullptr;
  std::unique_ptr<TStringList> FProjectList;  // objects: TStringObject, owned

  // ---- operations ----
  void WriteLog(const std::string& line);
  std::string GetCleanProductName() const;
  // The number of choice tabs that hold real choices: all but the placeholder,
  // which a merge module's choices page does not have.
  int RealChoiceCount() const;
  // File > New with the requested project type (0 install package, 1 merge module).
  void NewProject(uint8_t projectType);
  void ShowPackageCaptions();
  void ShowModuleCaptions();
  void ArrangeOutlookItems();
  // Saves the open project to FProjectFile; raises when it cannot.
  void SaveProject();
  // Asks for a file name and saves there; false when the user cancelled.
  bool SaveProjectAs();
  // Saves as the save prompts do (Save As for a project never saved); false
  // when the project was not saved (cancelled, or the error was shown).
  bool SaveForPrompt();
  // Reads the project in fileName over the open one.
  void LoadProject(const std::string& fileName);
  // The project writer; until the project file is wired to the window, saving
  // reports that it cannot be done.
  std::function<void(const std::string& fileName)> ProjectWriter;
  // The program folder; empty: the folder of the program's own path.
  static std::string& AppDirOverride();

  // ---- handlers ----
  void FormCreate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void FormDestroy(TObject* sender);
  void buProductCodeGuidClick(TObject* sender);
  void buPackageCodeGuidClick(TObject* sender);
  void buBuildCancelClick(TObject* sender);
  void edProductVersionChange(TObject* sender);
  void InstallPackage1Click(TObject* sender);
  void MergeModule1Click(TObject* sender);
  void Exit1Click(TObject* sender);
  void Contents1Click(TObject* sender);
  void Index1Click(TObject* sender);
  void RecentFiles1Click(TObject* sender);
  void About1Click(TObject* sender);
  bool AppHelp(uint16_t command, intptr_t data, bool& callHelp);
  void AppShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo);
  void lbFilesClick(TObject* sender);
  void trTargetDirMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void trTargetDirEditing(TObject* sender, TTreeNode* node, bool& allowEdit);

  // ---- item pages ----
  // The tab change of every item page; Sender tells the page.
  void tcChoicesChange(TObject* sender);
  void trChoicesClick(TObject* sender);
  void edNameChoicesChange(TObject* sender);
  void edDescriptionChoicesChange(TObject* sender);
  void ckbRequiredClick(TObject* sender);
  void ckbTypicalClick(TObject* sender);
  void ckbVisibleClick(TObject* sender);
  void buDeleteChoicesClick(TObject* sender);
  void edNameChoicesKeyPress(TObject* sender, char& key);
  void DeleteChoiceSubtree(TTreeNode* node);
  void edNameRegistryChange(TObject* sender);
  void cbRootClick(TObject* sender);
  void cbKeyChange(TObject* sender);
  void edValNameChange(TObject* sender);
  void edValValueChange(TObject* sender);
  void cbChoicesRegistryClick(TObject* sender);
  void buDeleteRegistryClick(TObject* sender);
  void edNameRegistryKeyPress(TObject* sender, char& key);
  void edNameShortcutChange(TObject* sender);
  void cbChoicesShortcutsClick(TObject* sender);
  void cbDirectoryShortcutsClick(TObject* sender);
  void edArgumentsChange(TObject* sender);
  void edDescriptionShortcutsChange(TObject* sender);
  void cbShowCmdClick(TObject* sender);
  void cbWkDirClick(TObject* sender);
  void lbFilesShortcutsClick(TObject* sender);
  void buShortcutsDeleteClick(TObject* sender);
  void edNameShortcutKeyPress(TObject* sender, char& key);
  void SetShortcutFilesListExtent();
  void edNameEvarChange(TObject* sender);
  void cbValueEVarChange(TObject* sender);
  void cbChoicesEvarClick(TObject* sender);
  void ckbNoActionClick(TObject* sender);
  void ckbDeleteClick(TObject* sender);
  void rgHowToInstallClick(TObject* sender);
  void rgTypeClick(TObject* sender);
  void buEVarDeleteClick(TObject* sender);
  void edNameEvarKeyPress(TObject* sender, char& key);
  void edNameMergeModulesChange(TObject* sender);
  void edMergeModuleChange(TObject* sender);
  void buBrowseMergeModulesClick(TObject* sender);
  void cbDirectoryMergeModulesClick(TObject* sender);
  void cbChoicesMergeModulesClick(TObject* sender);
  void cbLanguageMergeModulesClick(TObject* sender);
  void buDeleteMergeModulesClick(TObject* sender);
  void edNameMergeModulesKeyPress(TObject* sender, char& key);
  void edNameAssociationsChange(TObject* sender);
  void edExtensionAssociationsChange(TObject* sender);
  void edDescriptionAssociationsChange(TObject* sender);
  void edIconIndexAssociationsChange(TObject* sender);
  void edNameAssociationsKeyPress(TObject* sender, char& key);
  void cbChoicesAssociationsClick(TObject* sender);
  void lbFilesAssociationsClick(TObject* sender);
  void SetAssociationFilesListExtent();
  void buDeleteAssociationsClick(TObject* sender);
  void AddChildNode1Click(TObject* sender);
  void RemoveNode1Click(TObject* sender);
  void buTargetDirectoriesAddClick(TObject* sender);
  void buTargetDirectoriesDeleteClick(TObject* sender);
  void buTargetDirectoriesRenameClick(TObject* sender);
  // Adds the system folders picked in the system-folder dialog as top-level nodes.
  void buTargetDirectoriesAddSystemFoldersClick(TObject* sender);
  void trTargetDirEdited(TObject* sender, TTreeNode* node, std::string& s);
  void lbDirectoriesClick(TObject* sender);
  // Shows the "Add Files" dialog, which adds to the selected choice.
  void buAddFilesClick(TObject* sender);
  void buDeleteSelectedFilesClick(TObject* sender);
  void SetFilesListExtent();
  // Empties lbFiles, freeing its entries' path copies.
  void ClearFilesList();
  // ---- end of item pages ----

  // ---- open, save, recent files ----
  // Writes the whole open project to fileName (the previous file survives a
  // failure), copies the page stylesheet beside the package when missing and
  // records the file as the newest recent project.
  void WriteProjectTo(const std::string& fileName);
  // Reads fileName completely, then replaces the open project with it; a file
  // that cannot be read changes nothing. Becomes the open project's file.
  void ReadProjectFrom(const std::string& fileName);
  // The save prompt before New, Open or a recent file: true when the command
  // may replace the open project (No, or the project was saved); Cancel or a
  // save that did not happen keeps it.
  bool SaveBeforeReplacing();
  // The name of the folder that holds path; empty when there is none.
  static std::string GetParentFolderName(const std::string& path);
  // True when every character of name is a digit or ".".
  static bool IsVersionName(const std::string& name);
  // The version sub-folders of a product's project folder, in listing order.
  static std::vector<std::string> ListVersionFolders(const std::string& projectFolder);
  // The first plain file matching pattern (ending "*.ipr"); empty when none.
  static std::string FindProjectFile(const std::string& pattern);
  // Opens the project file of a version folder (a message when there is none).
  void OpenVersion(const std::string& projectFolder, const std::string& version);
  void Open1Click(TObject* sender);  // the save prompt, the open dialog, the chosen version
  // Adds or re-points a product in the project list and writes "projects.dat".
  void AddToProjectList(const std::string& productName, const std::string& folder);
  void SaveProjectList();
  void File1Click(TObject* sender);
  void Save1Click(TObject* sender);
  // Asks for a project folder and name, records the product in the project
  // list and saves into the version folder below it; false when cancelled.
  bool SaveAs1Click(TObject* sender);
  void SaveAs1MenuClick(TObject* sender) { SaveAs1Click(sender); }
  // A recent-project item chosen: the save prompt, then that project.
  void OpenRecentFile(TObject* sender);
  // ---- run-time options ----
  // The system folder the Visual Basic run-time files come from; the
  // override (empty: the machine's own) lets a test give one.
  static std::string& SystemDirOverride();
  static std::string RuntimeSystemDir();
  void Compiler1Click(TObject* sender);
  void VisualBasic6RunTime1Click(TObject* sender);
  void VisualBasic5RunTime1Click(TObject* sender);
  void Pro1Click(TObject* sender);
  void Enterprise1Click(TObject* sender);
  void CLRRuntime1Click(TObject* sender);
  void UpdateVbRuntimeFiles();
  void EnsureSystemFolderDir();
  // ---- end of open, save, recent files ----

  // ---- update creation ----
  void ckbIncludePatchingClick(TObject* sender);
  // The version comparison is edited only with update support on.
  void EnableVersionComparison();
  void edVersionComparisonChange(TObject* sender);
  // Leaving the version edit: asks about automatic updates after a change.
  void edProductVersionExit(TObject* sender);
  // The Create Update button of the Updates page.
  void buCreateNewPatchClick(TObject* sender);
  // Writes the update files from fromVersion to the current version; true when
  // at least one exists afterwards.
  bool CreateUpdate(const std::string& fromVersion);
  // The update from FUpdateFrom out of this build's cabinet, recorded in
  // AllowedUpdates.ini; true when made.
  bool CreateRecordedUpdate();
  // The product version up to, not including, its second ".".
  std::string GetMajorMinorVersion() const;
  // ---- end of update creation ----

  // ---- update upload ----
  // The Upload button of the Updates page: the updates from FUpdateFrom, after
  // the FTP settings dialog.
  void buUploadToFtpSiteClick(TObject* sender);
  // Sends the update lists and the update files from version From to the FTP
  // server; Silent skips the settings dialog. True when everything arrived.
  bool UploadUpdates(const std::string& From, bool Silent);
  // Rebuilds the opened Updates.ini from the product's version folders.
  void WriteUpdatesIni(TIniFile& Ini);
  // ---- end of update upload ----

  // ---- page set-up and navigation ----
  // A side-bar item clicked: shows the page of that caption; others do nothing.
  void Outlook1ItemClick(TObject* sender, const std::string& caption);
  // After each rescale of the window: the side bar lays its items out again.
  void ElasticForm1AfterResize(TObject* sender);
  // Each brings its page forward, refills the page's lists and loads its editors.
  void DoInfo();
  void DoDirectories();
  void DoChoices();
  void DoRegistry();
  void DoShortcuts();
  void DoEnvironment();
  void DoModules();
  void DoBuild();
  void DoGui();
  void DoMsi();
  void DoAssociations();
  void DoUpdates();
  // The small page fields: each marks the project modified.
  void rgBuildTypeClick(TObject* sender);
  void buWelcomeBitmapClick(TObject* sender);
  void buBannerBitmapClick(TObject* sender);
  void edWelcomeBitmapChange(TObject* sender);
  void ckbIncludeMsiClick(TObject* sender);
  void edHomepageUrlChange(TObject* sender);
  // Updates menu: start the outside updater programs.
  void UpdateTarnquillviatheInternet1Click(TObject* sender);
  void UndoLastUpdate1Click(TObject* sender);
  // Help menu: mail to the publisher.
  void Suggestions1Click(TObject* sender);
  void ContactUs1Click(TObject* sender);
  void Support1Click(TObject* sender);
  // ---- end of page set-up and navigation ----

  // ---- the Gui page ----
  // The output file name of the page whose tab reads caption ("Customer Info",
  // "Install Type", ...); empty for no page.
  std::string GetHtmlPageSaveName(const std::string& caption) const;
  // The optional tabs of tcHtmlPages follow the include boxes: License at 1,
  // Readme after it (or at 1), Customer Info before Location, Group after it.
  void SyncHtmlPageTabs();
  void ckbHtmlUiClick(TObject* sender);
  void ckbFlashUiClick(TObject* sender);
  void buHtmlUiEditClick(TObject* sender);
  void ckbLicenseHtmlClick(TObject* sender);  // also the Readme, Customer Info and Group boxes
  void tcHtmlPagesChange(TObject* sender);
  void edHtmlUiSaveFileChange(TObject* sender);
  void edHtmlUiOrigFileChange(TObject* sender);
  void buHtmlPagesBrowseClick(TObject* sender);
  void ckbAllPagesClick(TObject* sender);
  void buSupportFilesAddClick(TObject* sender);
  void buSupportFilesDeleteClick(TObject* sender);
  void buSupportFilesClearClick(TObject* sender);
  void buBrowseFlashMovieClick(TObject* sender);
  void buSupportFilesClick(TObject* sender);
  void buSupportFilesAddFlashClick(TObject* sender);
  void buSupportFilesDeleteFlashClick(TObject* sender);
  void buSupportFilesClearFlashClick(TObject* sender);
  void buBackToGuiPageClick(TObject* sender);  // also buBackToGuiPageFlash
  void buLicenseFileClick(TObject* sender);
  void buReadmeFileClick(TObject* sender);
  void edLicenseFileChange(TObject* sender);  // also edReadmeFile
  void edFlashMovieChange(TObject* sender);
  // ---- end of the Gui page ----

  THtmlHelpLibrary& HtmlHelp() { return FHtmlHelp; }
  bool LogOpen() const { return FLogFile.IsOpen(); }

 private:
  void RegisterLayoutNames();
  // The names of the item pages' and the directory tree's handlers.
  void RegisterItemPageHandlers();
  void CreateOwnedObjects();
  void ReadProjectList();
  void PrepareTempPath();
  void OpenLog();
  void LoadLanguages();
  void LoadHelpTexts();
  void OpenCommandLineProject();
  void CreateSetupPageObjects();
  void FreeSetupPageObjects();
  void CloseLog();
  THtmlHelpLibrary FHtmlHelp;
  bool FShowingHtmlPage = false;  // tcHtmlPagesChange fills the page editors
};

extern TRWInstallForm* RWInstallForm;
extern TFtpData* ProjectFtpData;
extern std::string TempPath;

// Frees ProjectFtpData and makes it anew (owner the main window) with Port "21".
void RecreateProjectFtpData(TComponent* owner);

}  // namespace tq
