// The upload of a version's updates against a real FTP server: one table of
// settings, local files and refused commands; the server's tree, its command
// log and the messages shown are compared for each.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FileUtils.h"
#include "FtpServer.h"
#include "IniFiles.h"
#include "Prompts.h"
#include "UpdateUpload.h"

using namespace tq;
using namespace tq::testing;

namespace {

using Lines = std::vector<std::string>;

const std::string Password = "pw-7f3k";

void WriteFile(const std::string& Path, const std::string& Content) {
  std::filesystem::create_directories(std::filesystem::path(Path).parent_path());
  std::ofstream(Path, std::ios::binary) << Content;
}

std::string ReadFile(const std::string& Path) {
  std::ifstream f(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// A program directory with Tool's update files from version 1.0, an empty
// version 1.1 and the allowed pair.
class TProgramDir {
 public:
  TProgramDir() {
    static int counter = 0;
    App = GetTempPath() + "upload-app-" + std::to_string(++counter) + "\\";
    std::filesystem::remove_all(App);
    WriteFile(App + "AllowedUpdates.ini", "[AllowedUpdates]\r\nFrom1.0To1.1=Yes\r\n");
    WriteFile(Version("1.0") + "Patch0.Core.000TARGET.upd", "core update");
    WriteFile(Version("1.0") + "Patch0.Extras.000TARGET.Bin.upd", "extras update");
    WriteFile(Version("1.0") + "Old\\primary.cab", "old cabinet");
    std::filesystem::create_directories(Version("1.1"));
  }
  ~TProgramDir() {
    std::error_code ignored;
    std::filesystem::remove_all(App, ignored);
  }
  std::string Version(const std::string& v) const { return App + "Patches\\Tool\\Version" + v + "\\"; }
  std::string App;
};

const std::string UpdatesIni =
    "[Version1.0]\r\nPatch0.Core.000TARGET.upd=\r\nPatch0.Extras.000TARGET.Bin.upd=\r\n";
const std::string Allowed = "[AllowedUpdates]\r\nFrom1.0To1.1=Yes\r\n";

struct TUploadCase {
  const char* Name;
  std::string Directory;         // as typed in the settings
  Lines Knobs;                   // commands the server refuses
  Lines Before;                  // server folders made before ("/x/") or files ("/x=content")
  std::string From = "1.0";
  std::string Stored;            // Directory afterwards
  Lines Messages;                // the messages shown, in order (error dialogs start with "!")
  Lines Tree;                    // the server's tree afterwards
  Lines Changes;                 // MKD, STOR and DELE commands the server received
  bool Success = false;
};

const std::string Ok = "Upload completed successfully.";
const std::string Core = "Patch0.Core.000TARGET.upd";
const std::string Extras = "Patch0.Extras.000TARGET.Bin.upd";

std::vector<TUploadCase> Cases() {
  const Lines full = {"/updates/", "/updates/AllowedUpdates.ini=" + Allowed, "/updates/Updates.ini=" + UpdatesIni,
                      "/updates/Version1.0/", "/updates/Version1.0/" + Core + "=core update",
                      "/updates/Version1.0/" + Extras + "=extras update"};
  const Lines lists = {"/updates/", "/updates/AllowedUpdates.ini=" + Allowed, "/updates/Updates.ini=" + UpdatesIni};
  const Lines listsAndVersion = {"/updates/", "/updates/AllowedUpdates.ini=" + Allowed,
                                 "/updates/Updates.ini=" + UpdatesIni, "/updates/Version1.0/"};
  const Lines sends = {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini",
                       "MKD /updates/Version1.0", "STOR /updates/Version1.0/" + Core,
                       "STOR /updates/Version1.0/" + Extras};
  return {
      {"IntoUpdates", "updates", {}, {}, "1.0", "/updates/", {Ok}, full, sends, true},
      {"IntoTheRoot", "/", {}, {}, "1.0", "/", {Ok},
       {"/AllowedUpdates.ini=" + Allowed, "/Updates.ini=" + UpdatesIni, "/Version1.0/",
        "/Version1.0/" + Core + "=core update", "/Version1.0/" + Extras + "=extras update"},
       {"STOR /AllowedUpdates.ini", "STOR /Updates.ini", "MKD /Version1.0", "STOR /Version1.0/" + Core,
        "STOR /Version1.0/" + Extras},
       true},
      {"ExistingVersionFolder", "/updates/", {}, {"/updates/Version1.0/", "/updates/Version1.0/old.upd=old"}, "1.0",
       "/updates/", {Ok},
       {"/updates/", "/updates/AllowedUpdates.ini=" + Allowed, "/updates/Updates.ini=" + UpdatesIni,
        "/updates/Version1.0/", "/updates/Version1.0/" + Core + "=core update",
        "/updates/Version1.0/" + Extras + "=extras update", "/updates/Version1.0/old.upd=old"},
       {"STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini", "STOR /updates/Version1.0/" + Core,
        "STOR /updates/Version1.0/" + Extras},
       true},
      {"UpdatesDirectoryCannotBeMade", "updates", {"MKD /updates"}, {}, "1.0", "/updates",
       {"!Error: Unable to create remote directory /updates\r\nPlease check your ftp settings and create it if needed."},
       {}, {"MKD /updates -> 550"}},
      // Exists, but the change into it (after the check went there and back) is refused.
      {"UpdatesDirectoryCannotBeEntered", "/updates", {"CWD #3"}, {"/updates/"}, "1.0", "/updates",
       {"!Error: Unable to change to remote directory /updates\r\nPlease check your ftp settings."}, {"/updates/"},
       {}},
      {"UpdatesDirectoryNeverEntered", "/updates", {"CWD /updates"}, {"/updates/"}, "1.0", "/updates",
       {"!Error: Unable to create remote directory /updates\r\nPlease check your ftp settings and create it if needed."},
       {"/updates/"}, {"MKD /updates"}},
      {"VersionDirectoryCannotBeMade", "updates", {"MKD /updates/Version1.0"}, {}, "1.0", "/updates/",
       {"!Error: Unable to change to remote directory /updates/Version1.0\r\nUpload incomplete."}, lists,
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini",
        "MKD /updates/Version1.0 -> 550"}},
      // Made, but not entered: nothing may land beside the lists instead.
      {"VersionDirectoryCannotBeEntered", "updates", {"CWD /updates/Version1.0"}, {}, "1.0", "/updates/",
       {"!Error: Unable to change to remote directory /updates/Version1.0\r\nUpload incomplete."}, listsAndVersion,
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini", "MKD /updates/Version1.0"}},
      {"AllowedListRefused", "updates", {"STOR #1"}, {}, "1.0", "/updates",
       {"!Error uploading file %APP%AllowedUpdates.ini\r\nUpload incomplete."}, {"/updates/"},
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini -> 550"}},
      {"UpdatesListRefused", "updates", {"STOR #2"}, {}, "1.0", "/updates",
       {"!Error uploading file %APP%Updates.ini\r\nUpload incomplete."},
       {"/updates/", "/updates/AllowedUpdates.ini=" + Allowed},
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini -> 550"}},
      {"FirstUpdateFileRefused", "updates", {"STOR #3"}, {}, "1.0", "/updates/",
       {"!Error uploading file %APP%Patches\\Tool\\Version1.0\\" + Core + "\r\nUpload rolled back."},
       listsAndVersion,
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini", "MKD /updates/Version1.0",
        "STOR /updates/Version1.0/" + Core + " -> 550"}},
      {"SecondUpdateFileRefused", "updates", {"STOR #4"}, {}, "1.0", "/updates/",
       {"!Error uploading file %APP%Patches\\Tool\\Version1.0\\" + Extras + "\r\nUpload rolled back."},
       listsAndVersion,
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini", "MKD /updates/Version1.0",
        "STOR /updates/Version1.0/" + Core, "STOR /updates/Version1.0/" + Extras + " -> 550",
        "DELE /updates/Version1.0/" + Core}},
      {"RollBackRefused", "updates", {"STOR #4", "DELE"}, {}, "1.0", "/updates/",
       {"!Error uploading file %APP%Patches\\Tool\\Version1.0\\" + Extras +
        "\r\nUpload not rolled back. These files are still on the server: " + Core},
       {"/updates/", "/updates/AllowedUpdates.ini=" + Allowed, "/updates/Updates.ini=" + UpdatesIni,
        "/updates/Version1.0/", "/updates/Version1.0/" + Core + "=core update"},
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini", "MKD /updates/Version1.0",
        "STOR /updates/Version1.0/" + Core, "STOR /updates/Version1.0/" + Extras + " -> 550",
        "DELE /updates/Version1.0/" + Core + " -> 550"}},
      {"NothingToUpload", "updates", {}, {}, "1.1", "/updates/", {"Nothing to upload."},
       {"/updates/", "/updates/AllowedUpdates.ini=" + Allowed, "/updates/Updates.ini=" + UpdatesIni,
        "/updates/Version1.1/"},
       {"MKD /updates", "STOR /updates/AllowedUpdates.ini", "STOR /updates/Updates.ini", "MKD /updates/Version1.1"}},
  };
}

class UpdateUploadTest : public ::testing::TestWithParam<TUploadCase> {
 protected:
  TProgramDir Dir;
  TFtpData Settings;
  TScriptedPrompts Prompts;

  TUpdateUpload Upload(int Port, const std::string& Directory, const std::string& From, bool Silent = true) {
    Settings.HostIp = "127.0.0.1";
    Settings.Port = std::to_string(Port);
    Settings.UserId = "publisher";
    Settings.Password = Password;
    Settings.Directory = Directory;
    TUpdateUpload u;
    u.Settings = &Settings;
    u.AppDir = Dir.App;
    u.ProductName = "Tool";
    u.From = From;
    u.Silent = Silent;
    return u;
  }

  // The messages shown, error dialogs marked with "!"; none names the password.
  Lines Shown() const {
    Lines shown;
    for (const TAskedPrompt& p : Prompts.Asked()) {
      EXPECT_EQ(p.Text.find(Password), std::string::npos) << p.Text;
      if (p.Kind == pkMessageDlg) {
        EXPECT_EQ(p.DlgType, mtError) << p.Text;
        EXPECT_EQ(p.Buttons, TMsgDlgButtons(mbOK)) << p.Text;
        shown.push_back("!" + p.Text);
      } else {
        EXPECT_EQ(p.Kind, pkShowMessage) << p.Text;
        shown.push_back(p.Text);
      }
    }
    return shown;
  }

  Lines Expanded(Lines lines) const {
    for (std::string& l : lines) {
      const size_t at = l.find("%APP%");
      if (at != std::string::npos) l.replace(at, 5, Dir.App);
    }
    return lines;
  }

  void Answer(const Lines& messages) {
    for (const std::string& m : messages)
      Prompts.Expect(m[0] == '!' ? pkMessageDlg : pkShowMessage, "", m[0] == '!' ? mrOk : mrOk);
  }
};

TEST_P(UpdateUploadTest, ServerTreeLogAndMessages) {
  const TUploadCase& c = GetParam();
  TFtpServer server("publisher", Password);
  for (const std::string& b : c.Before) {
    const size_t eq = b.find('=');
    if (eq == std::string::npos)
      server.MakeFolder(b);
    else
      server.Put(b.substr(0, eq), b.substr(eq + 1));
  }
  server.Refuse(c.Knobs);
  Answer(c.Messages);
  bool success = false;
  {
    TPromptScope scope(Prompts);
    success = UploadUpdates(Upload(server.Port(), c.Directory, c.From));
  }
  EXPECT_EQ(success, c.Success);
  EXPECT_EQ(Shown(), Expanded(c.Messages));
  EXPECT_EQ(Settings.Directory, c.Stored);
  EXPECT_EQ(server.Tree(), c.Tree);
  EXPECT_EQ(server.Commands({"MKD", "STOR", "DELE"}), c.Changes);
  EXPECT_EQ(server.Commands({"PASS"}), Lines{"PASS ****"});
  if (FileExists(Dir.App + "Updates.ini")) EXPECT_EQ(ReadFile(Dir.App + "Updates.ini"), UpdatesIni);
}

INSTANTIATE_TEST_SUITE_P(Cases, UpdateUploadTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TUploadCase>& i) { return i.param.Name; });

class UploadEdgeTest : public UpdateUploadTest {};

TEST_F(UploadEdgeTest, ConnectionFailuresLeaveTheServerAlone) {
  TFtpServer server("publisher", Password);
  TRefusedPort refused;
  for (auto [port, password] : {std::pair{refused.Port(), Password}, std::pair{server.Port(), std::string("bad")}}) {
    Prompts.Expect(pkMessageDlg, "", mrOk);
    TUpdateUpload u = Upload(port, "updates", "1.0");
    Settings.Password = password;
    TPromptScope scope(Prompts);
    EXPECT_FALSE(UploadUpdates(u));
  }
  EXPECT_EQ(Shown(), (Lines{"!Error connecting to ftp site. Please check your ftp settings.",
                            "!Error connecting to ftp site. Please check your ftp settings."}));
  EXPECT_EQ(Settings.Directory, "updates") << "not normalised before a connection";
  EXPECT_TRUE(server.Tree().empty());
  for (const std::string& l : server.Commands()) EXPECT_TRUE(l == "USER publisher" || l == "PASS ****" || l == "QUIT") << l;
}

TEST_F(UploadEdgeTest, AMissingLocalListEndsTheUploadWithTheFileError) {
  TFtpServer server("publisher", Password);
  DeleteFile(Dir.App + "AllowedUpdates.ini");
  TUpdateUpload u = Upload(server.Port(), "updates", "1.0");
  TPromptScope scope(Prompts);
  try {
    UploadUpdates(u);
    ADD_FAILURE() << "nothing raised";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message, "Cannot open file " + Dir.App + "AllowedUpdates.ini");
  }
  EXPECT_TRUE(Prompts.Asked().empty());
  EXPECT_EQ(server.Tree(), Lines{"/updates/"});
  EXPECT_TRUE(server.Commands({"STOR"}).empty());
}

TEST_F(UploadEdgeTest, InteractiveUploadAsksForTheSettingsFirst) {
  TFtpServer server("publisher", Password);
  int asked = 0;
  TUpdateUpload u = Upload(server.Port(), "updates", "1.0", false);
  u.ConfirmSettings = [&] {
    ++asked;
    return false;
  };
  {
    TPromptScope scope(Prompts);
    EXPECT_FALSE(UploadUpdates(u));
  }
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(Prompts.Asked().empty());
  EXPECT_TRUE(server.Commands().empty());

  u.ConfirmSettings = [&] {
    ++asked;
    return true;
  };
  Prompts.Expect(pkShowMessage, Ok);
  {
    TPromptScope scope(Prompts);
    EXPECT_TRUE(UploadUpdates(u));
  }
  EXPECT_EQ(asked, 2);
  // Silent: the settings are not asked for, the result is still shown.
  u.Silent = true;
  Prompts.Expect(pkShowMessage, Ok);
  {
    TPromptScope scope(Prompts);
    EXPECT_TRUE(UploadUpdates(u));
  }
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(Prompts.Done());
}

TEST_F(UploadEdgeTest, UpdatesListHoldsEveryVersionFolderOfTheProduct) {
  WriteFile(Dir.Version("1.1") + "Patch0.Core.000TARGET.upd", "x");
  WriteFile(Dir.App + "Patches\\Tool\\version2.0\\Patch0.A.upd", "y");
  WriteFile(Dir.App + "Patches\\Tool\\Version3.0\\notes.txt", "no update");
  WriteFile(Dir.App + "Patches\\Tool\\Old\\Patch0.B.upd", "not a version folder");
  WriteFile(Dir.App + "Updates.ini", "[Other]\r\nPatch0.Z.upd=\r\n[Version1.0]\r\nGone.upd=\r\n");
  TIniFile ini(Dir.App + "Updates.ini");
  WriteUpdatesIni(ini, Dir.App, "Tool");
  TStringList sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections.Text(), "Version1.0\r\nVersion1.1\r\nversion2.0\r\n");
  TStringList keys;
  ini.ReadSection("Version1.0", keys);
  EXPECT_EQ(keys.Text(), Core + "\r\n" + Extras + "\r\n");
  EXPECT_EQ(ini.ReadString("Version1.1", "Patch0.Core.000TARGET.upd", "missing"), "");
  // No update file anywhere: an empty list, still there to be sent.
  std::filesystem::remove_all(Dir.App + "Patches");
  WriteUpdatesIni(ini, Dir.App, "Tool");
  EXPECT_TRUE(FileExists(Dir.App + "Updates.ini"));
  ini.ReadSections(sections);
  EXPECT_EQ(sections.Count(), 0);
}

}  // namespace
