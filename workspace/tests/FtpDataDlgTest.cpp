// The FTP settings dialog: its layout, filling from the project's settings, the
// changed flag, and what OK and Cancel store.
#include <windows.h>

#include <tuple>

#include "FtpData.h"
#include "FtpDataDlg.h"
#include "MainWindowFixture.h"
#include "WorkspaceDialogs.h"

namespace tq::testing {
namespace {

class FtpDataDlgTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_NE(ProjectFtpData, nullptr);
    D = new TFtpDataDlg(W);  // freed with the window
  }
  std::vector<TEdit*> Edits() const {
    return {D->edFtpHostIp, D->edFtpPort, D->edFtpUserId, D->edFtpPassword, D->edFtpDirectory, D->edURL};
  }
  std::vector<std::string> EditTexts() const {
    std::vector<std::string> r;
    for (TEdit* e : Edits()) r.push_back(e->Text());
    return r;
  }
  static std::vector<std::string> Fields() {
    const TFtpData& f = *ProjectFtpData;
    return {f.HostIp, f.Port, f.UserId, f.Password, f.Directory, f.URL};
  }
  static void SetFields(const std::vector<std::string>& v) {
    TFtpData& f = *ProjectFtpData;
    f.HostIp = v[0], f.Port = v[1], f.UserId = v[2], f.Password = v[3], f.Directory = v[4], f.URL = v[5];
  }
  void TypeIn(const std::vector<std::string>& v) {
    for (size_t i = 0; i < v.size(); ++i) Edits()[i]->SetText(v[i]);
  }
  TFtpDataDlg* D = nullptr;
};

const std::vector<std::string> Stored = {"ftp.example.org", "2121", "joe", "s3cret", "www/prod/updates/",
                                         "http://www.example.org/prod/updates/"};
const std::vector<std::string> Typed = {"10.0.0.7", "21", "anne", "pw", "upd/", "http://10.0.0.7/upd/"};

TEST_F(FtpDataDlgTest, LayoutHasTheSixEditsButtonsAndCheckBox) {
  EXPECT_EQ(D->Caption(), "Ftp Data");
  EXPECT_EQ(EditTexts(), (std::vector<std::string>{"", "21", "", "", "", ""}));
  const std::vector<std::pair<TLabel*, std::string>> labels = {
      {D->labFtpHostIp, "Host Name"}, {D->labFtpPort, "Port"},
      {D->labFtpUserId, "User Id"},   {D->labFtpPassword, "Password"},
      {D->labFtpDirectory, "Updates Directory"}, {D->labURL, "URL"},
      {D->labDirectoryHint,
       "For each product you build, create a unique updates directory on your website that is accessible via "
       "http and ftp"},
      {D->labURLHint, "This is the http URL for the above ftp Updates Directory"}};
  for (auto& [label, caption] : labels) {
    ASSERT_NE(label, nullptr) << caption;
    EXPECT_EQ(label->Caption(), caption);
  }
  EXPECT_EQ(D->labIntro->Caption(),
            "Update support is enabled for this project. The following data is needed so that updates may be "
            "sent to your site.");
  EXPECT_EQ(D->gbFtpData->Caption(), "Your Ftp Data");
  EXPECT_EQ(D->edFtpPassword->PasswordChar(), '*');
  EXPECT_EQ(D->edFtpHostIp->PasswordChar(), 0);
  EXPECT_TRUE(D->OKBtn->Default());
  EXPECT_EQ(D->OKBtn->ModalResult(), mrOk);
  EXPECT_TRUE(D->CancelBtn->Cancel());
  EXPECT_EQ(D->CancelBtn->ModalResult(), mrCancel);
  // The build finds the check box by name.
  auto* dontShow = dynamic_cast<TCheckBox*>(D->FindComponent("ckbDontShow"));
  ASSERT_NE(dontShow, nullptr);
  EXPECT_EQ(dontShow->Caption(), "Don't show me this dialog again this session");
  EXPECT_FALSE(dontShow->Checked());
}

TEST_F(FtpDataDlgTest, TheDialogMadeAtStartUpIsTheRealOne) {
  if (!FtpDataDlg) Application->CreateForm(FtpDataDlg);
  ASSERT_NE(FtpDataDlg, nullptr);
  EXPECT_EQ(FtpDataDlg->Name(), "FtpDataDlg");
  EXPECT_NE(dynamic_cast<TCheckBox*>(FtpDataDlg->FindComponent("ckbDontShow")), nullptr);
  EXPECT_NE(FtpDataDlg->edURL, nullptr);
}

TEST_F(FtpDataDlgTest, ShowFillsFromTheSettingsWhenAHostIsSet) {
  SetFields(Stored);
  D->FormShow(D);
  EXPECT_EQ(EditTexts(), Stored);
  EXPECT_EQ(D->changed, 0);
}

TEST_F(FtpDataDlgTest, ShowWithoutAHostKeepsTheEditsAndOkStoresThem) {
  TypeIn(Typed);
  std::vector<std::string> others = Stored;
  others[0] = "";
  SetFields(others);
  D->FormShow(D);
  EXPECT_EQ(EditTexts(), Typed);
  EXPECT_EQ(D->changed, 0);
  D->OKBtn->Click();
  EXPECT_EQ(Fields(), Typed);
  EXPECT_EQ(D->ModalResult(), mrOk);
  EXPECT_EQ(W->FModified, 0);  // nothing edited since it was shown
}

TEST_F(FtpDataDlgTest, EditingAnyOfTheSixEditsSetsChanged) {
  for (size_t i = 0; i < Edits().size(); ++i) {
    D->FormShow(D);
    ASSERT_EQ(D->changed, 0);
    Edits()[i]->SetText(Edits()[i]->Text() + "x");
    EXPECT_EQ(D->changed, 1) << "edit " << i;
  }
}

// OK marks the project modified only when it was not yet and the user edited.
TEST_F(FtpDataDlgTest, OkStoresTheEditsAndMarksModifiedOnlyAsEdited) {
  const std::vector<std::tuple<uint8_t, bool, uint8_t>> cases = {
      {0, false, 0}, {0, true, 1}, {1, false, 1}, {1, true, 1}};
  for (auto [before, edit, after] : cases) {
    SCOPED_TRACE(::testing::Message() << "modified " << int(before) << ", edited " << edit);
    SetFields(Stored);
    D->FormShow(D);
    if (edit) TypeIn(Typed);
    W->FModified = before;
    D->SetModalResult(mrNone);
    D->OKBtn->Click();
    EXPECT_EQ(Fields(), edit ? Typed : Stored);
    EXPECT_EQ(W->FModified, after);
    EXPECT_EQ(D->ModalResult(), mrOk);
  }
}

TEST_F(FtpDataDlgTest, CancelChangesNothing) {
  SetFields(Stored);
  D->FormShow(D);
  TypeIn(Typed);
  D->CancelBtn->Click();
  EXPECT_EQ(D->ModalResult(), mrCancel);
  EXPECT_EQ(Fields(), Stored);
  EXPECT_EQ(W->FModified, 0);
}

}  // namespace
}  // namespace tq::testing
