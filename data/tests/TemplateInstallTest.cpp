// The install template as the build leaves it must install and uninstall under
// Windows Installer. The fixture fills a copy of template.tpl the way the build's
// table steps do (same statements, same keys), stores a cabinet made from the
// payload beside this test, and installs the package: silently as a plain
// package, silently with the property string of the HTML front-end, and through
// the template's own dialogs.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const char* const kProductCode = "{5C0B7C52-8E0D-4C7A-9F6B-2E7D3A1C4B90}";
const char* const kProductName = "TqTemplateCheck";
const char* const kManufacturer = "TqTest Maker";

// One file of the package: its number n (file and component keys), name,
// directory key and feature.
struct PayloadFile {
  int Number;
  const char* Name;
  const char* Directory;
  const char* Feature;
};

// Choice files in tab and list order, then the fixed files every package carries.
const PayloadFile kFiles[] = {
    {1, "readme.txt", "TARGETDIR", "Core_Program"},
    {2, "app.exe", "bin", "Core_Program"},
    {3, "license.txt", "TARGETDIR", "Core_Program"},
    {4, "manual.txt", "TARGETDIR", "Docs"},
    {5, "extra.txt", "bin", "Extras"},
    {6, "Installation.txt", "TARGETDIR", "Core_Program"},
    {7, "TQSetGroup.exe", "SystemFolder", "Core_Program"},
    {8, "TQSetDestinationPath.exe", "SystemFolder", "Core_Program"},
    {9, "TQSetSub.exe", "SystemFolder", "Core_Program"},
    {10, "UninstallTqTemplateCheck.exe", "TARGETDIR", "Core_Program"},
};

std::string FileKey(const PayloadFile& f) { return "FILE" + std::to_string(f.Number) + "S" + f.Name; }
std::string ComponentKey(const PayloadFile& f) {
  return "COMP" + std::to_string(f.Number) + "S" + f.Name;
}

std::string NewGuid() {
  GUID g;
  CoCreateGuid(&g);
  char text[64];
  snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
           g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

// The 8.3 name the file system would give a file of this name.
std::string ShortName(const std::string& name) {
  fs::path p(name);
  std::string stem = p.stem().string(), ext = p.extension().string();
  if (stem.size() <= 8 && ext.size() <= 4) return name;
  std::string s = stem.substr(0, 6) + "~1" + ext.substr(0, 4);
  for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return s;
}

// Fills a package database as the build's table steps do.
class PackageFiller {
 public:
  explicit PackageFiller(const std::string& path) {
    UINT r = MsiOpenDatabaseA(path.c_str(), MSIDBOPEN_TRANSACT, &FDatabase);
    if (r != ERROR_SUCCESS) throw std::runtime_error("open " + path + ": " + std::to_string(r));
  }
  ~PackageFiller() { MsiCloseHandle(FDatabase); }

  void Run(const std::string& sql) {
    MSIHANDLE view = 0;
    UINT r = MsiDatabaseOpenViewA(FDatabase, sql.c_str(), &view);
    if (r == ERROR_SUCCESS) r = MsiViewExecute(view, 0);
    if (view) {
      MsiViewClose(view);
      MsiCloseHandle(view);
    }
    if (r != ERROR_SUCCESS) throw std::runtime_error(sql + ": error " + std::to_string(r));
  }

  void Drop(const std::string& table) {
    try {
      Run("DROP TABLE " + table);
    } catch (const std::exception&) {
      // the template may lack the table
    }
  }

  // A row of two fields, a name and a stream read from a file, inserted through
  // a view of the whole table.
  void InsertStream(const std::string& viewSql, const std::string& name, const std::string& file) {
    MSIHANDLE view = 0;
    MSIHANDLE record = MsiCreateRecord(2);
    UINT r = MsiDatabaseOpenViewA(FDatabase, viewSql.c_str(), &view);
    if (r == ERROR_SUCCESS) r = MsiViewExecute(view, 0);
    if (r == ERROR_SUCCESS) r = MsiRecordSetStringA(record, 1, name.c_str());
    if (r == ERROR_SUCCESS) r = MsiRecordSetStreamA(record, 2, file.c_str());
    if (r == ERROR_SUCCESS) r = MsiViewModify(view, MSIMODIFY_INSERT, record);
    MsiCloseHandle(record);
    if (view) {
      MsiViewClose(view);
      MsiCloseHandle(view);
    }
    if (r != ERROR_SUCCESS) throw std::runtime_error("stream " + name + ": " + std::to_string(r));
  }

  void Summary(const std::string& packageCode) {
    MSIHANDLE info = 0;
    UINT r = MsiGetSummaryInformationA(FDatabase, nullptr, 5, &info);
    if (r == ERROR_SUCCESS) r = MsiSummaryInfoSetPropertyA(info, 9, VT_LPSTR, 0, nullptr, packageCode.c_str());
    if (r == ERROR_SUCCESS) r = MsiSummaryInfoSetPropertyA(info, 7, VT_LPSTR, 0, nullptr, ";1033");
    if (r == ERROR_SUCCESS) r = MsiSummaryInfoSetPropertyA(info, 14, VT_I4, 110, nullptr, nullptr);
    if (r == ERROR_SUCCESS)
      r = MsiSummaryInfoSetPropertyA(info, 2, VT_LPSTR, 0, nullptr, "Installation Database");
    if (r == ERROR_SUCCESS) r = MsiSummaryInfoSetPropertyA(info, 15, VT_I4, 2, nullptr, nullptr);
    if (r == ERROR_SUCCESS) r = MsiSummaryInfoPersist(info);
    MsiCloseHandle(info);
    if (r != ERROR_SUCCESS) throw std::runtime_error("summary: " + std::to_string(r));
  }

  void Commit() {
    UINT r = MsiDatabaseCommit(FDatabase);
    if (r != ERROR_SUCCESS) throw std::runtime_error("commit: " + std::to_string(r));
  }

 private:
  MSIHANDLE FDatabase = 0;
};

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// The table steps of a build of a small project: three choices (a required
// hidden one, a typical one and an optional one), a registry value, a shortcut
// with a working directory in the program group, an environment variable and a
// licence text.
void FillPackage(const std::string& package, const fs::path& payload, const fs::path& programDir) {
  PackageFiller db(package);

  // Preparation.
  db.Summary(NewGuid());
  db.Run("UPDATE Property SET Value='tqsetgroup.exe' WHERE Property='SetGroupPath'");
  db.Run(std::string("UPDATE Property SET Value='") + kManufacturer + "'WHERE Property='Manufacturer'");
  db.Run(std::string("UPDATE Property SET Value='") + kProductCode + "'WHERE Property='ProductCode'");
  db.Run(std::string("UPDATE Property SET Value='") + kProductName + "'WHERE Property='ProductName'");
  db.Run("UPDATE Property SET Value='1.2.3'WHERE Property='ProductVersion'");
  db.Run("UPDATE Property SET Value='http://example.com/help'WHERE Property='ARPHELPLINK'");
  db.Run("UPDATE Property SET Value=''WHERE Property='VERCOMP'");
  db.Run("Delete From Binary Where Name='bannrbmp'");
  db.InsertStream("Select * From Binary", "bannrbmp", (programDir / "banner.template.bmp").string());
  db.Run("Delete From Binary Where Name='dlgbmp'");
  db.InsertStream("Select * From Binary", "dlgbmp", (programDir / "welcome.template.bmp").string());

  // Directories.
  db.Drop("Directory");
  db.Run("CREATE TABLE `Directory` (`Directory` CHAR(72) NOT NULL, `Directory_Parent` CHAR(72), "
         "`DefaultDir` CHAR(255) NOT NULL LOCALIZABLE PRIMARY KEY `Directory`)");
  const char* dirInsert =
      "INSERT INTO `Directory` (`Directory`.`Directory`,`Directory`.`Directory_Parent`,"
      "`Directory`.`DefaultDir`) VALUES ";
  db.Run(std::string(dirInsert) + "('TARGETDIR','','SourceDir')");
  db.Run(std::string(dirInsert) + "('GROUP','TARGETDIR','.')");
  db.Run(std::string(dirInsert) + "('SystemFolder','TARGETDIR','.')");
  db.Run("INSERT INTO Directory (Directory, Directory_Parent, DefaultDir) VALUES ('bin','TARGETDIR','bin')");
  db.Commit();

  // Features.
  db.Drop("Feature");
  db.Run("CREATE TABLE `Feature` (`Feature` CHAR(32) NOT NULL, `Feature_Parent` CHAR(32), `Title` "
         "CHAR(255) LOCALIZABLE, `Description` CHAR(255) LOCALIZABLE, `Display` INTEGER, `Level` "
         "INTEGER NOT NULL, `Directory_` CHAR(72), `Attributes` INTEGER NOT NULL PRIMARY KEY `Feature`)");
  const char* featureInsert =
      "INSERT INTO `Feature` (`Feature`, `Feature_Parent`, `Title`, `Description`, `Display`, "
      "`Level`, `Directory_`, `Attributes`) VALUES (";
  db.Run(std::string(featureInsert) + "'Core_Program','','Core_Program','The program',0,3,'TARGETDIR',0)");
  db.Run(std::string(featureInsert) + "'Docs','','Documentation','The manual',1,4,'TARGETDIR',0)");
  db.Run(std::string(featureInsert) + "'Extras','','Extras','More files',3,10,'bin',0)");
  db.Run(std::string(featureInsert) + "'BRINDLEREGDATA','','BRINDLEREGDATA','',0,3,'TARGETDIR',0)");
  db.Commit();

  // Components.
  db.Drop("Component");
  db.Drop("FeatureComponents");
  db.Drop("ModuleComponents");
  db.Run("CREATE TABLE `Component` (`Component` CHAR(72) NOT NULL, `ComponentId` CHAR(38), "
         "`Directory_` CHAR(72) NOT NULL, `Attributes` INTEGER NOT NULL, `Condition` CHAR(255), "
         "`KeyPath` CHAR(72) PRIMARY KEY `Component`)");
  db.Run("CREATE TABLE `FeatureComponents` (`Feature_` CHAR(32) NOT NULL, `Component_` CHAR(72) "
         "NOT NULL PRIMARY KEY `Feature_`,`Component_`)");
  const char* componentInsert =
      "INSERT INTO `Component` (`Component`, `ComponentId`, `Directory_`, `Attributes`, "
      "`Condition`, `KeyPath`) VALUES (";
  const char* featureComponentInsert =
      "INSERT INTO `FeatureComponents` (`Feature_`, `Component_`) VALUES (";
  for (const PayloadFile& f : kFiles) {
    db.Run(componentInsert + Quoted(ComponentKey(f)) + "," + Quoted(NewGuid()) + "," +
           Quoted(f.Directory) + ",0,''," + Quoted(FileKey(f)) + ")");
    db.Run(featureComponentInsert + Quoted(f.Feature) + "," + Quoted(ComponentKey(f)) + ")");
  }
  db.Run(componentInsert + Quoted("COMPBRINDLEREGDATA") + "," + Quoted(NewGuid()) +
         ",'TARGETDIR',16,'','')");
  db.Run(std::string(featureComponentInsert) + "'BRINDLEREGDATA','COMPBRINDLEREGDATA')");

  // Files, media, self-registration and fonts.
  db.Drop("File");
  db.Drop("Media");
  db.Drop("SelfReg");
  db.Drop("Font");
  db.Run("CREATE TABLE `File` (`File` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL, "
         "`FileName` CHAR(72) NOT NULL, `FileSize` LONG NOT NULL, `Version` CHAR(72), `Language` "
         "CHAR(72), `Attributes` INTEGER, `Sequence` INTEGER NOT NULL PRIMARY KEY `File`)");
  db.Run("CREATE TABLE `Media` (`DiskId` INTEGER NOT NULL, `LastSequence` INTEGER NOT NULL, "
         "`DiskPrompt` CHAR(255), `Cabinet` CHAR(13), `VolumeLabel` CHAR(255), `Source` CHAR(72) "
         "PRIMARY KEY `DiskId`)");
  db.Run("CREATE TABLE `SelfReg` (`File_` CHAR(72) NOT NULL, `Cost` INTEGER PRIMARY KEY `File_`)");
  db.Run("CREATE TABLE `Font` (`File_` CHAR(72) NOT NULL, `FontTitle` CHAR(72) PRIMARY KEY `File_`)");
  int sequence = 10;
  for (const PayloadFile& f : kFiles) {
    fs::path source = payload / FileKey(f);
    db.Run("INSERT INTO `File` (`File`, `Component_`, `FileName`, `FileSize`, `Version`, `Language`, "
           "`Attributes`, `Sequence`) VALUES ('" + FileKey(f) + "','" + ComponentKey(f) + "','" +
           ShortName(f.Name) + "|" + f.Name + "'," + std::to_string(fs::file_size(source)) +
           ",0,0,0," + std::to_string(sequence) + ")");
    sequence += 10;
  }
  db.Run("INSERT INTO `Media` (`DiskId`, `LastSequence`, `DiskPrompt`, `Cabinet`) VALUES (1," +
         std::to_string(sequence - 10) + ",0,'#primary.cab')");
  db.Commit();

  // Licence text.
  db.Run("UPDATE Control SET Text='{\\rtf1\\ansi \\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}"
         "\\pard\\plain\\fs18 The TqTemplateCheck licence. \\par }' WHERE "
         "Dialog_='LicenseAgreementDlg' and Control='AgreementText'");

  // Registry.
  db.Drop("Registry");
  db.Run("CREATE TABLE `Registry` (`Registry` CHAR(72) NOT NULL, `Root` INTEGER NOT NULL, `Key` "
         "CHAR(255) NOT NULL, `Name` CHAR(38), `Value` CHAR(255), `Component_` CHAR(72) PRIMARY KEY "
         "`Registry`)");
  db.Run("INSERT INTO `Registry` (`Registry`, `Root`, `Key`, `Name`, `Value`, `Component_`) VALUES "
         "('Registry1',1,'Software\\TqTemplateCheck','Greeting','hello','COMP1Sreadme.txt')");

  // Shortcut, with its working directory set while the dialogs run.
  db.Drop("Shortcut");
  for (int n = 0; n <= 100; ++n) {
    db.Run("SELECT * FROM CustomAction WHERE Action='WORKDIR" + std::to_string(n) + "'");
  }
  for (int n = 0; n <= 100; ++n) {
    db.Run("SELECT * FROM InstallUISequence WHERE Action='WORKDIR" + std::to_string(n) + "'");
  }
  db.Run("CREATE TABLE `Shortcut` (`Shortcut` CHAR(72) NOT NULL, `Directory_` CHAR(72) NOT NULL, "
         "`Name` CHAR(72) NOT NULL, `Component_` CHAR(72) NOT NULL, `Target` CHAR(72) NOT NULL, "
         "`Arguments` CHAR(255), `Description` CHAR(255), `Hotkey` INTEGER, `Icon_` CHAR(72), "
         "`IconIndex` INTEGER, `ShowCmd` INTEGER, `WkDir` CHAR(72) PRIMARY KEY `Shortcut`)");
  db.Run("INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target` ) VALUES ( 'WORKDIR0',"
         "51,'WORKDIR0','[TARGETDIR]bin')");
  db.Run("INSERT INTO `InstallUISequence` (`Action`, `Sequence`) VALUES ( 'WORKDIR0',1250)");
  db.Run("INSERT INTO `Shortcut` (`Shortcut`, `Directory_`, `Name`, `Component_`, `Target`, "
         "`Arguments`, `Description` , `ShowCmd`, `WkDir` ) VALUES ('Shortcut1','GROUP','App',"
         "'COMP1Sreadme.txt','[#FILE2Sapp.exe]','','The application',1,'WORKDIR0')");

  // Environment.
  db.Drop("Environment");
  db.Run("CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(72) NOT NULL, "
         "`Value` CHAR(255), `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)");
  db.Run("INSERT INTO `Environment` (`Environment`, `Name`, `Value`,`Component_`) VALUES "
         "('Environment1','-=TQTEMPLATECHECK','[~];[TARGETDIR]bin','COMP1Sreadme.txt')");
  db.Commit();

  // Cabinet phase: the cabinet as a stream, the last sequence from the File table.
  db.InsertStream("SELECT * FROM _Streams", "primary.cab", (payload / "primary.cab").string());
  db.Commit();
}

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return path;
}

// The working directory a shortcut file names; empty when it names none.
std::string ShortcutWorkingDirectory(const fs::path& lnk) {
  std::string result;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return result;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(lnk.wstring().c_str(), STGM_READ))) {
      char dir[MAX_PATH] = "";
      if (SUCCEEDED(link->GetWorkingDirectory(dir, MAX_PATH))) result = dir;
    }
    file->Release();
  }
  link->Release();
  return result;
}

bool RegistryValue(HKEY root, const char* key, const char* name, std::string* value) {
  char buffer[1024];
  DWORD size = sizeof buffer;
  if (RegGetValueA(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                   buffer, &size) != ERROR_SUCCESS)
    return false;
  if (value) *value = buffer;
  return true;
}

// Clicks through the template's dialogs from a second thread while the
// installation runs on the test thread: Next on the welcome dialog, accept and
// Install on the licence dialog, Finish on the exit dialog. Past its deadline it
// cancels the setup instead, so that a broken dialog chain fails the test rather
// than leaving it waiting. The thread looks on the test thread's desktop, where
// the dialogs are (a test program's own, tools/testing/PrivateDesktop.cpp).
class DialogClicker {
 public:
  DialogClicker() : FDeadline(std::chrono::steady_clock::now() + std::chrono::seconds(60)),
                    FDesktop(GetThreadDesktop(GetCurrentThreadId())), FThread([this] { Loop(); }) {}
  ~DialogClicker() {
    FStop = true;
    FThread.join();
  }
  // The buttons clicked, in order, each once however long its dialog stayed.
  std::vector<std::string> Clicked;

 private:
  static BOOL CALLBACK FindButton(HWND child, LPARAM param) {
    auto* self = reinterpret_cast<DialogClicker*>(param);
    char text[128] = "";
    GetWindowTextA(child, text, sizeof text);
    std::string t = text;
    if (!IsWindowVisible(child) || !IsWindowEnabled(child)) return TRUE;
    bool late = std::chrono::steady_clock::now() > self->FDeadline;
    // Buttons by preference: a later one in the list wins over an earlier one,
    // so that the cancel question is answered before Cancel is pressed again.
    static const char* const kForward[] = {"&Next >", "&Install", "&Finish"};
    static const char* const kGiveUp[] = {"Cancel", "&Finish", "&Yes"};
    const char* const* wanted = late ? kGiveUp : kForward;
    for (int rank = 0; rank < 3; ++rank) {
      if (t == wanted[rank] && rank >= self->FRank) {
        self->FClick = child;
        self->FLabel = t;
        self->FRank = rank;
      }
    }
    if (!late && t == "I &accept the terms in the license agreement")
      SendMessageA(child, BM_CLICK, 0, 0);
    return TRUE;
  }
  static BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window))
      EnumChildWindows(window, FindButton, param);
    return TRUE;
  }
  void Loop() {
    SetThreadDesktop(FDesktop);
    while (!FStop) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      FClick = nullptr;
      FRank = -1;
      EnumWindows(FindDialog, reinterpret_cast<LPARAM>(this));
      if (FClick) {
        if (Clicked.empty() || Clicked.back() != FLabel) Clicked.push_back(FLabel);
        PostMessageA(FClick, BM_CLICK, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
      }
    }
  }
  std::chrono::steady_clock::time_point FDeadline;
  std::atomic<bool> FStop{false};
  HWND FClick = nullptr;
  int FRank = -1;
  std::string FLabel;
  HDESK FDesktop;
  std::thread FThread;
};

class TemplateInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    FWork = fs::path(TQ_BINARY_DIR) / "data" / "template-install";
    fs::create_directories(FWork);
    FPackage = (FWork / "TqTemplateCheck.msi").string();
    ASSERT_TRUE(CopyFileA((fs::path(TQ_PROGRAM_DIR) / "template.tpl").string().c_str(),
                          FPackage.c_str(), FALSE));
    FillPackage(FPackage, TQ_DATA_PAYLOAD_DIR, TQ_PROGRAM_DIR);
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    RemoveProduct();  // a run that failed half-way may have left it installed
    std::error_code ignored;
    fs::remove_all(fs::path(SpecialFolder(CSIDL_PROGRAMS)) / "TqTemplateCheck Group", ignored);
    fs::remove_all(fs::path(SpecialFolder(CSIDL_PROGRAMS)) / kProductName, ignored);
  }
  void TearDown() override {
    RemoveProduct();
    CoUninitialize();
  }

  // Removes the product and what a removal under Wine may leave of it.
  void RemoveProduct() {
    if (MsiQueryProductStateA(kProductCode) == INSTALLSTATE_DEFAULT) {
      MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
      MsiConfigureProductA(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    }
    HKEY environment;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Environment", 0, KEY_SET_VALUE, &environment) ==
        ERROR_SUCCESS) {
      RegDeleteValueA(environment, "TQTEMPLATECHECK");
      RegCloseKey(environment);
    }
  }

  UINT Install(const std::string& properties) {
    MsiEnableLogA(INSTALLLOGMODE_VERBOSE, (FWork / "install.log").string().c_str(), 0);
    return MsiInstallProductA(FPackage.c_str(), properties.c_str());
  }

  // Path of a file's component as the installer registered it; empty when the
  // component is not installed locally.
  std::string InstalledPath(const char* fileName) {
    for (const PayloadFile& f : kFiles) {
      if (std::string(f.Name) != fileName) continue;
      // The component id was made afresh by the fill; look it up in the package.
      MSIHANDLE db = 0, view = 0, record = 0;
      std::string id;
      if (MsiOpenDatabaseA(FPackage.c_str(), MSIDBOPEN_READONLY, &db) == ERROR_SUCCESS) {
        std::string sql = "SELECT ComponentId FROM Component WHERE Component='" + ComponentKey(f) + "'";
        if (MsiDatabaseOpenViewA(db, sql.c_str(), &view) == ERROR_SUCCESS &&
            MsiViewExecute(view, 0) == ERROR_SUCCESS && MsiViewFetch(view, &record) == ERROR_SUCCESS) {
          char buffer[64];
          DWORD size = sizeof buffer;
          MsiRecordGetStringA(record, 1, buffer, &size);
          id = buffer;
        }
        MsiCloseHandle(record);
        MsiCloseHandle(view);
        MsiCloseHandle(db);
      }
      char path[MAX_PATH];
      DWORD size = MAX_PATH;
      if (MsiGetComponentPathA(kProductCode, id.c_str(), path, &size) != INSTALLSTATE_LOCAL) return {};
      return path;
    }
    return {};
  }

  fs::path FWork;
  std::string FPackage;
};

TEST_F(TemplateInstall, PlainPackageInstallsTheTypicalSetAndUninstallsCleanly) {
  ASSERT_EQ(Install(""), ERROR_SUCCESS) << "see " << (FWork / "install.log").string();
  EXPECT_EQ(MsiQueryProductStateA(kProductCode), INSTALLSTATE_DEFAULT);

  // Destination: the program files folder, the manufacturer and the product name.
  std::string readme = InstalledPath("readme.txt");
  ASSERT_FALSE(readme.empty());
  std::string target = fs::path(readme).parent_path().string();
  EXPECT_NE(target.find(std::string(kManufacturer) + "\\" + kProductName), std::string::npos) << target;
  EXPECT_TRUE(fs::exists(readme));
  EXPECT_TRUE(fs::exists(fs::path(target) / "bin" / "app.exe"));
  EXPECT_TRUE(fs::exists(fs::path(target) / "Installation.txt"));
  EXPECT_FALSE(InstalledPath("TQSetGroup.exe").empty());

  // Required and typical choices are installed, the optional one is not.
  EXPECT_EQ(MsiQueryFeatureStateA(kProductCode, "Core_Program"), INSTALLSTATE_LOCAL);
  EXPECT_EQ(MsiQueryFeatureStateA(kProductCode, "Docs"), INSTALLSTATE_LOCAL);
  EXPECT_NE(MsiQueryFeatureStateA(kProductCode, "Extras"), INSTALLSTATE_LOCAL);
  EXPECT_TRUE(fs::exists(fs::path(target) / "manual.txt"));
  EXPECT_FALSE(fs::exists(fs::path(target) / "bin" / "extra.txt"));

  std::string value;
  EXPECT_TRUE(RegistryValue(HKEY_CURRENT_USER, "Software\\TqTemplateCheck", "Greeting", &value));
  EXPECT_EQ(value, "hello");
  EXPECT_TRUE(RegistryValue(HKEY_CURRENT_USER, "Environment", "TQTEMPLATECHECK", &value));
  EXPECT_NE(value.find("bin"), std::string::npos) << value;
  // The program group: the Start menu's programs folder and the product name.
  fs::path shortcut = fs::path(SpecialFolder(CSIDL_PROGRAMS)) / kProductName / "App.lnk";
  EXPECT_TRUE(fs::exists(shortcut)) << shortcut.string();
  // Without the dialogs the working-directory action does not run.
  EXPECT_EQ(ShortcutWorkingDirectory(shortcut), "");

  MsiEnableLogA(INSTALLLOGMODE_VERBOSE, (FWork / "uninstall.log").string().c_str(), 0);
  ASSERT_EQ(MsiConfigureProductA(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT),
            ERROR_SUCCESS);
  EXPECT_NE(MsiQueryProductStateA(kProductCode), INSTALLSTATE_DEFAULT);
  EXPECT_FALSE(fs::exists(readme));
  EXPECT_FALSE(fs::exists(shortcut));
  EXPECT_FALSE(RegistryValue(HKEY_CURRENT_USER, "Software\\TqTemplateCheck", "Greeting", nullptr));
  // The package's part of the variable is gone (Wine may leave separators).
  if (RegistryValue(HKEY_CURRENT_USER, "Environment", "TQTEMPLATECHECK", &value)) {
    EXPECT_EQ(value.find(target), std::string::npos) << value;
  }
}

TEST_F(TemplateInstall, FrontEndPropertiesChooseDestinationGroupAndFeatures) {
  fs::path destination = FWork / "front-end target";
  fs::path group = fs::path(SpecialFolder(CSIDL_PROGRAMS)) / "TqTemplateCheck Group";
  std::string properties = "MSIRUN=0 TARGETDIR=\"" + destination.string() + "\" GROUP=\"" +
                           group.string() + "\" ADDDEFAULT=\"BRINDLEREGDATA,Core_Program,Extras\"";
  ASSERT_EQ(Install(properties), ERROR_SUCCESS) << "see " << (FWork / "install.log").string();
  EXPECT_TRUE(fs::exists(destination / "readme.txt"));
  EXPECT_TRUE(fs::exists(destination / "bin" / "extra.txt"));
  EXPECT_EQ(MsiQueryFeatureStateA(kProductCode, "Extras"), INSTALLSTATE_LOCAL);
  EXPECT_TRUE(fs::exists(group / "App.lnk"));

  // Nothing in the package records the chosen group, and Wine's installer does
  // not find the destination through the installed components either: a removal
  // that is given both again removes everything.
  MsiEnableLogA(INSTALLLOGMODE_VERBOSE, (FWork / "uninstall.log").string().c_str(), 0);
  std::string again = "TARGETDIR=\"" + destination.string() + "\" GROUP=\"" + group.string() + "\"";
  ASSERT_EQ(MsiConfigureProductExA(kProductCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT,
                                   again.c_str()),
            ERROR_SUCCESS);
  EXPECT_FALSE(fs::exists(destination / "readme.txt"));
  EXPECT_FALSE(fs::exists(destination / "bin" / "extra.txt"));
  EXPECT_FALSE(fs::exists(group / "App.lnk"));
}

TEST_F(TemplateInstall, DialogsLeadThroughTheLicenceToTheEnd) {
  MsiSetInternalUI(INSTALLUILEVEL_FULL, nullptr);
  std::vector<std::string> clicked;
  UINT result;
  {
    DialogClicker clicker;
    result = Install("");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    clicked = clicker.Clicked;
  }
  MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
  ASSERT_EQ(result, ERROR_SUCCESS) << "see " << (FWork / "install.log").string();
  EXPECT_EQ(clicked, (std::vector<std::string>{"&Next >", "&Install", "&Finish"}));
  EXPECT_EQ(MsiQueryProductStateA(kProductCode), INSTALLSTATE_DEFAULT);
  // The shortcut step's working-directory action ran between costing and the
  // installation. (Wine takes a shortcut's WkDir for a Directory key rather than
  // a property, so the shortcut itself gets no working directory there.)
  std::ifstream in(FWork / "install.log", std::ios::binary);
  std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t costed = log.find("CostFinalize"), workdir = log.find("WORKDIR0", costed),
         executed = log.find("ExecuteAction", costed);
  ASSERT_NE(workdir, std::string::npos);
  EXPECT_LT(workdir, executed);
}

}  // namespace
