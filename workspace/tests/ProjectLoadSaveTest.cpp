// The open project written from the real window and read back into it.
#include <fstream>

#include "MainWindowFixture.h"
#include "ProjectFile.h"
#include "Recent.h"
#include "WorkspaceDialogs.h"
#include "associations.h"
#include "choices.h"
#include "regentry.h"

namespace tq::testing {
namespace {

class ProjectLoadSaveTest : public MainWindowTest {
 protected:
  void WriteBytes(const std::string& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
  }
  // An edited project: Info fields, a second registry entry, files of a
  // choice, FTP settings, Gui and Build settings.
  void EditProject() {
    W->edProductName->SetText("Widget Works");
    W->edProductVersion->SetText("2.1.3");
    W->edManufacturer->SetText("Acme");
    auto* reg = dynamic_cast<TRegEntry*>(W->tcRegistry->Tabs().GetObjectAt(0));
    ASSERT_NE(reg, nullptr);
    reg->Key = "Software\\Acme";
    reg->Root = 2;
    auto* core = dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(0));
    ASSERT_NE(core, nullptr);
    core->Files->AddIntObject("C:\\src\\app.exe", 0);
    core->Directories->Add("<Home Directory>");
    core->Files->AddIntObject("C:\\src\\ocx.dll", 1);
    core->Directories->Add("SystemFolder");
    W->trTargetDir->Items().AddChild(W->trTargetDir->Items().GetFirstNode(), "Bin");
    W->trTargetDir->Items().Add(nullptr, "SystemFolder");
    ProjectFtpData->HostIp = "ftp.acme.test";
    ProjectFtpData->Password = "pw";
    W->FHtmlSupportPages->Welcome->Add("logo.gif");
    W->ckbIncludePatching->SetChecked(true);
    W->edSupportUrl->SetText("http://acme.test/support");
    W->Pro1->SetChecked(true);
  }
};

TEST_F(ProjectLoadSaveTest, SaveLoadSaveGivesTheSameFile) {
  EditProject();
  const std::string first = Dir + "First.ipr", second = Dir + "Second.ipr";
  W->WriteProjectTo(first);

  // A different project in between, so that loading must bring everything back.
  W->FModified = 0;
  W->NewProject(1);
  W->ReadProjectFrom(first);
  EXPECT_EQ(W->FProjectFile, first);
  EXPECT_EQ(W->FModified, 0);
  EXPECT_EQ(W->FProjectType, 0);
  EXPECT_EQ(W->FOutputFile, Dir + "First.msi");
  EXPECT_EQ(W->Caption(), "First.ipr - Tarnquill - Install Project");
  EXPECT_EQ(W->edProductName->Text(), "Widget Works");
  EXPECT_EQ(W->FUpdateVersion, "2.1");
  EXPECT_EQ(ProjectFtpData->HostIp, "ftp.acme.test");
  EXPECT_TRUE(W->Pro1->Checked());
  EXPECT_EQ(W->FPatchCount, 0);
  EXPECT_EQ(TabCaptions(W->tcChoices), (std::vector<std::string>{"Core_Program", "Add A Sub-Choice"}));
  EXPECT_EQ(TabCaptions(W->tcAssociations).back(), "Add A File Association Entry");
  auto* core = dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(0));
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(core->Owner(), W);
  ASSERT_EQ(core->Files->Count(), 2);
  EXPECT_EQ(core->Files->GetIntObject(1), 1);
  EXPECT_EQ(W->trTargetDir->Items().Count(), 3);
  EXPECT_EQ(W->FDirNodeNames->Count(), 4);  // the three nodes and "Program Group"
  EXPECT_EQ(W->cbDirectoryShortcuts->Items()[1], "    Bin");

  W->WriteProjectTo(second);
  EXPECT_EQ(ReadFileText(first), ReadFileText(second));
}

TEST_F(ProjectLoadSaveTest, MergeModuleKeepsItsOnlyChoice) {
  W->NewProject(1);
  ASSERT_EQ(W->tcChoices->Tabs().Count(), 1);
  const std::string name = W->tcChoices->Tabs()[0];
  const std::string file = Dir + "Module.ipr";
  W->WriteProjectTo(file);
  W->NewProject(0);
  W->ReadProjectFrom(file);
  EXPECT_EQ(W->FProjectType, 1);
  EXPECT_EQ(TabCaptions(W->tcChoices), std::vector<std::string>{name});
  auto* choice = dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(0));
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->FName, name);
}

TEST_F(ProjectLoadSaveTest, ADamagedFileChangesNothing) {
  W->WriteProjectTo(Dir + "Good.ipr");
  std::string good = ReadFileText(Dir + "Good.ipr");
  W->FProjectFile = Dir + "Open.ipr";
  W->SetCaption("Open.ipr - Tarnquill - Install Project");
  W->edProductName->SetText("Keep me");
  ASSERT_EQ(W->FModified, 1);
  const std::string recentBefore = ReadFileText(Dir + "Recent.dat");

  for (size_t cut : {size_t(3), size_t(9), good.size() / 2}) {
    WriteBytes(Dir + "Bad.ipr", good.substr(0, cut));
    EXPECT_THROW(W->ReadProjectFrom(Dir + "Bad.ipr"), Exception) << cut;
    EXPECT_EQ(W->FProjectFile, Dir + "Open.ipr");
    EXPECT_EQ(W->Caption(), "Open.ipr - Tarnquill - Install Project");
    EXPECT_EQ(W->edProductName->Text(), "Keep me");
    EXPECT_EQ(W->FModified, 1);
    EXPECT_EQ(TabCaptions(W->tcRegistry).size(), 2u);
    EXPECT_EQ(ReadFileText(Dir + "Recent.dat"), recentBefore);
  }
  EXPECT_THROW(W->ReadProjectFrom(Dir + "Missing.ipr"), Exception);
  EXPECT_EQ(W->FProjectFile, Dir + "Open.ipr");
}

// An item record named like one of the window's controls: the load goes
// through whole and the window's control stays the window's.
TEST_F(ProjectLoadSaveTest, ItemsNamedLikeControlsLoadApartFromThem) {
  EditProject();
  W->WriteProjectTo(Dir + "Good.ipr");
  TProjectFileContent c;
  LoadProjectFile(Dir + "Good.ipr", c);
  ASSERT_FALSE(c.Registry.empty());
  ASSERT_FALSE(c.Choices.empty());
  c.Registry[0]->SetName("edProductName");
  c.Choices[0]->SetName("tcChoices");
  SaveProjectFile(Dir + "Named.ipr", c);

  W->FModified = 0;
  W->NewProject(1);
  W->ReadProjectFrom(Dir + "Named.ipr");
  EXPECT_EQ(W->FProjectFile, Dir + "Named.ipr");
  EXPECT_EQ(W->FindComponent("edProductName"), W->edProductName);
  EXPECT_EQ(W->FindComponent("tcChoices"), W->tcChoices);
  EXPECT_EQ(W->edProductName->Text(), "Widget Works");
  EXPECT_EQ(TabCaptions(W->tcRegistry).size(), 2u);
  auto* reg = dynamic_cast<TRegEntry*>(W->tcRegistry->Tabs().GetObjectAt(0));
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->Key, "Software\\Acme");
  EXPECT_EQ(reg->Owner(), W);
  // Saved as the program saves items: without a name.
  W->WriteProjectTo(Dir + "Again.ipr");
  EXPECT_EQ(ReadFileText(Dir + "Again.ipr"), ReadFileText(Dir + "Good.ipr"));
}

// The deepest tree a project may hold loads into the window and goes again;
// a deeper one is refused before anything changes.
TEST_F(ProjectLoadSaveTest, DeepDirectoryTrees) {
  W->WriteProjectTo(Dir + "Plain.ipr");
  auto withDepth = [this](int deepest, const std::string& name) {
    TProjectFileContent c;
    LoadProjectFile(Dir + "Plain.ipr", c);
    c.TargetDir.Items.Nodes.clear();
    for (int level = 0; level <= deepest; ++level)
      c.TargetDir.Items.Nodes.push_back({level == 0 ? "<Home Directory>" : "d", level});
    SaveProjectFile(Dir + name, c);
    return Dir + name;
  };
  W->ReadProjectFrom(withDepth(MaxProjectTreeDepth, "Deep.ipr"));
  EXPECT_EQ(W->trTargetDir->Items().Count(), MaxProjectTreeDepth + 1);
  W->FModified = 0;
  W->NewProject(0);
  EXPECT_EQ(W->trTargetDir->Items().Count(), 1);

  W->FProjectFile = Dir + "Open.ipr";
  W->edProductName->SetText("Keep me");
  EXPECT_THROW(W->ReadProjectFrom(withDepth(100000, "Deeper.ipr")), EReadError);
  EXPECT_EQ(W->FProjectFile, Dir + "Open.ipr");
  EXPECT_EQ(W->edProductName->Text(), "Keep me");
  EXPECT_EQ(W->trTargetDir->Items().Count(), 1);
}

TEST_F(ProjectLoadSaveTest, NothingCarriesOverFromThePreviousProject) {
  W->WriteProjectTo(Dir + "Plain.ipr");
  ProjectFtpData->HostIp = "ftp.previous.test";
  ProjectFtpData->Password = "secret";
  W->FHtmlSupportPages->Welcome->Add("old.gif");
  W->FFlashSupport->SupportFiles->Add("old.swf");
  W->FHtmlPagesNames->OrigWelcome = "C:\\old\\welcome.htm";
  W->ReadProjectFrom(Dir + "Plain.ipr");
  EXPECT_EQ(ProjectFtpData->HostIp, "");
  EXPECT_EQ(ProjectFtpData->Password, "");
  EXPECT_EQ(ProjectFtpData->Port, "21");
  EXPECT_EQ(W->FHtmlSupportPages->Welcome->Count(), 0);
  EXPECT_EQ(W->FFlashSupport->SupportFiles->Count(), 0);
  EXPECT_EQ(W->FHtmlPagesNames->OrigWelcome, "");
  EXPECT_EQ(W->FHtmlPagesNames->Welcome, "TqWelcome.htm");
}

// The Gui page's include and front-end boxes run their click handlers while a
// project loads (the page tabs and fields follow them); the other boxes of the
// file are set quietly.
TEST_F(ProjectLoadSaveTest, LoadingRunsOnlyTheGuiPageBoxesClickHandlers) {
  W->ckbHtmlUi->SetChecked(true);
  W->ckbReadmeHtml->SetChecked(false);
  W->ckbGroupHtml->SetChecked(false);
  W->ckbIncludePatching->SetChecked(true);
  W->WriteProjectTo(Dir + "Pages.ipr");
  W->ckbHtmlUi->SetChecked(false);
  W->ckbReadmeHtml->SetChecked(true);
  W->ckbGroupHtml->SetChecked(true);
  W->ckbIncludePatching->SetChecked(false);
  ASSERT_FALSE(W->buGenerateThePages->Enabled());
  int quietClicks = 0;
  for (TCheckBox* box : {W->ckbIncludePatching, W->ckbAllPages})
    box->OnClick = [&](TObject*) { ++quietClicks; };
  W->FVersionEdited = 0;
  W->ReadProjectFrom(Dir + "Pages.ipr");
  EXPECT_EQ(W->FVersionEdited, 0);
  EXPECT_TRUE(W->ckbHtmlUi->Checked());
  EXPECT_TRUE(W->ckbIncludePatching->Checked());
  EXPECT_EQ(quietClicks, 0);
  EXPECT_TRUE(W->buGenerateThePages->Enabled()) << "the HTML box's handler ran";
  EXPECT_TRUE(W->edLicenseFile->Enabled());
  std::vector<std::string> tabs;
  for (int i = 0; i < W->tcHtmlPages->Tabs().Count(); ++i) tabs.push_back(W->tcHtmlPages->Tabs()[i]);
  EXPECT_EQ(tabs, (std::vector<std::string>{"Welcome", "License", "Customer Info", "Location", "Install Type",
                                            "Custom", "Install", "Progress", "Finish"}));
  EXPECT_EQ(W->FModified, 0);
}

TEST_F(ProjectLoadSaveTest, DamagedAssociationsAreReportedAndTheRestCountsAsAbsent) {
  auto* first = dynamic_cast<TAssociation*>(W->tcAssociations->Tabs().GetObjectAt(0));
  ASSERT_NE(first, nullptr);
  first->Extension = ".wid";
  const std::string firstName = first->FName;  // the item goes with the load
  ProjectFtpData->HostIp = "ftp.saved.test";
  W->WriteProjectTo(Dir + "Assoc.ipr");
  std::string bytes = ReadFileText(Dir + "Assoc.ipr");
  // The placeholder's record, the second association record, loses its signature.
  const std::string tag = "TPF0\x0cTAssociation";
  size_t at = bytes.find(tag);
  ASSERT_NE(at, std::string::npos);
  at = bytes.find(tag, at + 1);
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'X';
  WriteBytes(Dir + "Damaged.ipr", bytes);

  ProjectFtpData->HostIp = "ftp.previous.test";
  W->ckbIncludeMsi->SetChecked(false);
  try {
    W->ReadProjectFrom(Dir + "Damaged.ipr");
    ADD_FAILURE() << "the damage was not reported";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("associations"), std::string::npos) << e.what();
  }
  EXPECT_EQ(W->FProjectFile, Dir + "Damaged.ipr");
  EXPECT_EQ(W->FModified, 0);
  EXPECT_EQ(TabCaptions(W->tcAssociations),
            (std::vector<std::string>{firstName, "Add A File Association Entry"}));
  EXPECT_EQ(ProjectFtpData->HostIp, "");     // absent, not the previous project's
  EXPECT_FALSE(W->ckbIncludeMsi->Checked());  // absent: unchanged
}

TEST_F(ProjectLoadSaveTest, AFailedSaveKeepsThePreviousFile) {
  W->WriteProjectTo(Dir + "Kept.ipr");
  const std::string before = ReadFileText(Dir + "Kept.ipr");
  W->edLicenseFile->SetText(std::string(256, 'x'));
  EXPECT_THROW(W->WriteProjectTo(Dir + "Kept.ipr"), Exception);
  EXPECT_EQ(ReadFileText(Dir + "Kept.ipr"), before);
}

}  // namespace
}  // namespace tq::testing
