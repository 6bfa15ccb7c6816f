// The Updates page on a real main window: two builds of a product with update
// support, the version change in between answered on the Info page, then the
// Create Update button turns the two builds' cabinets into update files.
#include <gtest/gtest.h>

#include <fstream>

#include "BuildFixture.h"
#include "FileUtils.h"
#include "FtpServer.h"
#include "UpdReader.h"
#include "IniFiles.h"
#include "UpdateWindows.h"
#include "WorkspaceDialogs.h"

using namespace tq;
using namespace tq::testing;

namespace {

class UpdatesPageTest : public BuildTest {
 protected:
  void SetUp() override {
    BuildTest::SetUp();
    if (!TabbedNotebookDlg) Application->CreateForm(TabbedNotebookDlg);
    if (!ProgressDlg) Application->CreateForm(ProgressDlg);
    VersionReminderDlg->ckbDontShow->SetChecked(true);
    FtpDataDlg->ckbDontShow->SetChecked(false);
  }

  // Version 1.0 of Tool: app.exe and notes.txt in Core_Program, extra.dat in a
  // typical choice, built with update support.
  void BuildFirstVersion() {
    FillInfoPage("Tool");
    W->edProductVersion->SetText("1.0");
    W->ckbIncludePatching->SetChecked(true);
    W->edProductVersionExit(nullptr);  // the first version is taken silently
    AddFile(Core(), MakeSource("app.exe", std::string(5000, 'a') + "version one"));
    AddFile(Core(), MakeSource("notes.txt", "unchanged notes"));
    TChoice* extras = AddChoice("Extras");
    extras->Typical = true;
    AddFile(extras, MakeSource("extra.dat", "unchanged extra"));
    Build();
  }

  void Build() {
    Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
    ClickBuild();
    ASSERT_EQ(W->labBuilding->Caption(), "Build Complete");
  }

  std::string VersionFolder(const std::string& v) const { return App + "Patches\\Tool\\Version" + v + "\\"; }

  // Version 1.1: app.exe changes, the automatic update allowed.
  void ChangeToSecondVersion() {
    W->edProductVersion->SetText("1.1");
    Prompts.Expect(pkMessageDlg, "Do you want to allow automatic updates", mrYes);
    W->edProductVersionExit(nullptr);
    std::ofstream(Src + "app.exe", std::ios::binary) << std::string(5000, 'a') << "version two";
  }

  // The project's FTP settings for a local server; the settings dialog is not
  // shown again.
  void UseServer(const TFtpServer& server) {
    ProjectFtpData->HostIp = "127.0.0.1";
    ProjectFtpData->Port = std::to_string(server.Port());
    ProjectFtpData->UserId = "publisher";
    ProjectFtpData->Password = FtpPassword;
    ProjectFtpData->Directory = "updates";
    FtpDataDlg->ckbDontShow->SetChecked(true);
  }

  // The server holds both lists and version 1.0's update file of app.exe,
  // which reads back as an update from 1.0.
  void ExpectUploaded(const TFtpServer& server) {
    const std::string upd = "Patch0.Core_Program.000TARGET.upd";
    EXPECT_EQ(server.Tree(), (std::vector<std::string>{
                                 "/updates/",
                                 "/updates/AllowedUpdates.ini=" + ReadAll(App + "AllowedUpdates.ini"),
                                 "/updates/Updates.ini=[Version1.0]\r\n" + upd + "=\r\n",
                                 "/updates/Version1.0/",
                                 "/updates/Version1.0/" + upd + "=" + ReadAll(VersionFolder("1.0") + upd),
                             }));
    EXPECT_NE(ReadAll(App + "AllowedUpdates.ini").find("From1.0To1.1=Yes"), std::string::npos);
    tq::testing::TUpdFile file = tq::testing::ReadUpdFile(tq::testing::ReadFileBytes(server.Root() + "\\updates\\Version1.0\\" + upd));
    EXPECT_TRUE(file.Ok) << file.Error;
    EXPECT_EQ(file.OldVersion, "1.0");
    ASSERT_EQ(file.Entries.size(), 1u);
    EXPECT_EQ(file.Entries[0].Name, "app.exe");
    for (const TAskedPrompt& p : Prompts.Asked()) EXPECT_EQ(p.Text.find(FtpPassword), std::string::npos) << p.Text;
  }

  static std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }

  const std::string FtpPassword = "pw-9Qx";
};

TEST_F(UpdatesPageTest, UpdateSupportEnablesTheVersionComparison) {
  W->FModified = 0;
  W->ckbIncludePatching->SetChecked(true);
  EXPECT_TRUE(W->edVersionComparison->Enabled());
  EXPECT_TRUE(W->Label43->Enabled());
  EXPECT_EQ(W->FModified, 1);
  W->ckbIncludePatching->SetChecked(false);
  EXPECT_FALSE(W->edVersionComparison->Enabled());
  W->FModified = 0;
  W->edVersionComparison->SetText("< 3.0");
  EXPECT_EQ(W->FModified, 1);
}

TEST_F(UpdatesPageTest, VersionChangeAskedOnLeavingTheEdit) {
  BuildFirstVersion();
  EXPECT_EQ(W->FUpdateVersion, "1.0");
  EXPECT_EQ(W->FUpdatePending, 0);
  // Leaving the edit without a change asks nothing.
  W->edProductVersionExit(nullptr);
  W->edProductVersion->SetText("1.1.5");
  Prompts.Expect(pkMessageDlg, "from version 1.0 to 1.1?", mrNo);
  W->edProductVersionExit(nullptr);
  EXPECT_EQ(W->FUpdateFrom, "1.0");
  EXPECT_EQ(W->FUpdateVersion, "1.1");
  EXPECT_EQ(W->FAllowAutoUpdate, 0);
  EXPECT_EQ(W->FUpdatePending, 1);
  EXPECT_TRUE(Prompts.Done());
}

TEST_F(UpdatesPageTest, CreateUpdateWritesTheUpdateFilesAndRecordsThePairOnce) {
  BuildFirstVersion();
  // Version 1.1: app.exe changes, the rest stays.
  W->edProductVersion->SetText("1.1");
  Prompts.Expect(pkMessageDlg, "Do you want to allow automatic updates", mrYes);
  W->edProductVersionExit(nullptr);
  std::ofstream(Src + "app.exe", std::ios::binary) << std::string(5000, 'a') << "version two";
  Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
  Prompts.Expect(pkMessageDlg, "Do you want to proceed?", mrNo);  // the build's offer declined
  ClickBuild();
  ASSERT_EQ(W->labBuilding->Caption(), "Build Complete");
  ASSERT_TRUE(FileExists(VersionFolder("1.1") + "Old\\primary.cab"));

  Prompts.Expect(pkShowMessage, "Update created successfully.");
  W->buCreateNewPatchClick(nullptr);
  EXPECT_EQ(W->FUpdateCreated, 1);
  EXPECT_EQ(W->FPatchCount, 0);
  const std::string from = VersionFolder("1.0");
  EXPECT_TRUE(FileExists(from + "Patch0.Core_Program.000TARGET.upd"));
  EXPECT_FALSE(FileExists(from + "Patch0.Extras.000TARGET.upd")) << "nothing of Extras changed";
  EXPECT_EQ(TIniFile(App + "AllowedUpdates.ini").ReadString("AllowedUpdates", "From1.0To1.1", ""), "Yes");
  // The 1.0 cabinet is kept, the 1.1 one becomes the old folder's cabinet; the
  // work folders are emptied.
  EXPECT_TRUE(FileExists(from + "Old\\Patch0.cab"));
  EXPECT_TRUE(FileExists(from + "Old\\primary.cab"));
  EXPECT_FALSE(FileExists(from + "New\\primary.cab"));
  EXPECT_FALSE(FileExists(from + "Old\\Old\\app.exe"));
  EXPECT_FALSE(FileExists(from + "New\\New\\app.exe"));
  // The progress window ran to the end and was put away again.
  EXPECT_EQ(ProgressDlg->GeneralProgressBar->Position(), 100);
  EXPECT_FALSE(ProgressDlg->Visible());
  EXPECT_EQ(Screen->Cursor(), crDefault);

  Prompts.Expect(pkMessageDlg, "has previously been created and uploaded. No new update created now.");
  W->buCreateNewPatchClick(nullptr);
  EXPECT_TRUE(Prompts.Done());
}

TEST_F(UpdatesPageTest, CreateUpdateWithoutANewBuildSaysSo) {
  BuildFirstVersion();
  W->edProductVersion->SetText("2.0");
  Prompts.Expect(pkMessageDlg, "Do you want to allow automatic updates", mrYes);
  W->edProductVersionExit(nullptr);
  // Version 2.0 was never built: its cabinet is missing.
  EXPECT_THROW(W->buCreateNewPatchClick(nullptr), EFOpenError);
  EXPECT_EQ(W->FUpdateCreated, 0);
  // Called as the build's hand-over does, without the new cabinet in place.
  Prompts.Expect(pkShowMessage, "No new build to update. Build project first.");
  EXPECT_FALSE(W->CreateUpdate("1.0"));
  EXPECT_TRUE(Prompts.Done());
}

TEST_F(UpdatesPageTest, BuildOfANewVersionCreatesAndUploadsTheUpdateOnYes) {
  TFtpServer server("publisher", FtpPassword);
  BuildFirstVersion();
  UseServer(server);
  ChangeToSecondVersion();
  Prompts.Expect(pkMessageDlg,
                 "Tarnquill is ready to create and upload an \r\nupdate from Version 1.0 to 1.1.\r\n"
                 "If you don't proceed now, you can create the update\r\nfrom the Updates page later.\r\n"
                 "Do you want to proceed?",
                 mrYes);
  Prompts.Expect(pkShowMessage, "Update created successfully.");
  Prompts.Expect(pkShowMessage, "Upload completed successfully.");
  ClickBuild();
  EXPECT_EQ(W->labBuilding->Caption(), "Build Complete");
  EXPECT_TRUE(Prompts.Done());
  EXPECT_EQ(TIniFile(App + "AllowedUpdates.ini").ReadString("AllowedUpdates", "From1.0To1.1", ""), "Yes");
  EXPECT_EQ(ProjectFtpData->Directory, "/updates/");
  ExpectUploaded(server);
}

TEST_F(UpdatesPageTest, HandOverDeclinedThenTheUploadButton) {
  TFtpServer server("publisher", FtpPassword);
  BuildFirstVersion();
  UseServer(server);
  ChangeToSecondVersion();
  Prompts.Expect(pkMessageDlg, "Do you want to proceed?", mrNo);
  ClickBuild();
  EXPECT_EQ(W->labBuilding->Caption(), "Build Complete");
  EXPECT_TRUE(server.Commands().empty());
  EXPECT_FALSE(FileExists(VersionFolder("1.0") + "Patch0.Core_Program.000TARGET.upd"));

  Prompts.Expect(pkShowMessage, "Update created successfully.");
  W->buCreateNewPatchClick(nullptr);
  // The button shows the settings dialog first; Cancel ends the upload unseen.
  FtpDataDlg->ckbDontShow->SetChecked(false);
  Prompts.Expect(pkModalForm, "FtpDataDlg", mrCancel);
  W->buUploadToFtpSite->Click();
  EXPECT_TRUE(server.Commands().empty());
  Prompts.Expect(pkModalForm, "FtpDataDlg", mrOk);
  Prompts.Expect(pkShowMessage, "Upload completed successfully.");
  W->buUploadToFtpSite->Click();
  EXPECT_TRUE(Prompts.Done());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  ExpectUploaded(server);
}

}  // namespace
