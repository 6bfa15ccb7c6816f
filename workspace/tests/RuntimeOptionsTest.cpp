// The Compiler menu's run-time options on the real window, with a system
// folder of the test's own.
#include "FileUtils.h"
#include "MainWindowFixture.h"
#include "TextFile.h"
#include "choices.h"

namespace tq::testing {
namespace {

class RuntimeOptionsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    System = Dir + "system\\";
    ASSERT_TRUE(ForceDirectories(System));
    TRWInstallForm::SystemDirOverride() = System;
  }
  void TearDown() override {
    TRWInstallForm::SystemDirOverride().clear();
    MainWindowTest::TearDown();
  }
  void Provide(std::initializer_list<const char*> files) {
    for (const char* f : files) {
      TTextFile t(System + f);
      t.Rewrite();
      t.Close();
    }
  }
  void ProvideAll() {
    Provide({"Msvbvm60.dll", "Msvbvm50.dll", "Stdole2.tlb", "Oleaut32.dll", "Olepro32.dll", "Comcat.dll",
             "Asycfilt.dll", "Ctl3d32.dll"});
  }
  TChoice* Core() { return dynamic_cast<TChoice*>(W->tcChoices->Tabs().GetObjectAt(0)); }
  std::string System;
};

TEST_F(RuntimeOptionsTest, OnlyRunTimesPresentOnTheMachineCanBeChosen) {
  W->Compiler1Click(W);
  EXPECT_FALSE(W->VisualBasic6RunTime1->Enabled());
  EXPECT_FALSE(W->VisualBasic5RunTime1->Enabled());
  EXPECT_FALSE(W->VisualBasic1->Enabled());
  Provide({"Msvbvm60.dll"});
  W->Compiler1Click(W);
  EXPECT_TRUE(W->VisualBasic6RunTime1->Enabled());
  EXPECT_FALSE(W->VisualBasic5RunTime1->Enabled());
  EXPECT_TRUE(W->VisualBasic1->Enabled());
}

TEST_F(RuntimeOptionsTest, SharedFilesStayWhileTheOtherVersionNeedsThem) {
  ProvideAll();
  W->VisualBasic6RunTime1Click(W);
  ASSERT_NE(Core(), nullptr);
  EXPECT_EQ(Core()->Files->Count(), 7);
  EXPECT_EQ(Core()->Directories->Count(), 7);
  EXPECT_EQ(Core()->Files->Get(0), System + "Msvbvm60.dll");
  EXPECT_EQ(Core()->Files->GetIntObject(1), 0);  // Stdole2.tlb does not register itself
  EXPECT_EQ(Core()->Directories->Get(0), "SystemFolder");
  EXPECT_EQ(W->FModified, 1);
  bool systemFolder = false;
  for (TTreeNode* n = W->trTargetDir->Items().GetFirstNode(); n; n = n->GetNext())
    systemFolder |= n->Text() == "SystemFolder";
  EXPECT_TRUE(systemFolder);

  W->VisualBasic5RunTime1Click(W);
  EXPECT_EQ(Core()->Files->Count(), 8);
  W->VisualBasic6RunTime1Click(W);
  EXPECT_EQ(Core()->Files->Count(), 7);
  EXPECT_EQ(Core()->Files->IndexOf(System + "Msvbvm60.dll"), -1);
  W->VisualBasic5RunTime1Click(W);
  EXPECT_EQ(Core()->Files->Count(), 0);
  EXPECT_EQ(Core()->Directories->Count(), 0);
}

TEST_F(RuntimeOptionsTest, AMissingRunTimeIsNotAdded) {
  W->VisualBasic6RunTime1Click(W);
  EXPECT_TRUE(W->VisualBasic6RunTime1->Checked());
  EXPECT_EQ(Core()->Files->Count(), 0);
}

TEST_F(RuntimeOptionsTest, DatabaseEnginesExcludeEachOther) {
  W->Enterprise1Click(W);
  W->Pro1Click(W);
  EXPECT_TRUE(W->Pro1->Checked());
  EXPECT_FALSE(W->Enterprise1->Checked());
  W->Pro1Click(W);
  EXPECT_FALSE(W->Pro1->Checked());
  EXPECT_FALSE(W->Enterprise1->Checked());
  W->FModified = 0;
  W->CLRRuntime1Click(W);
  EXPECT_TRUE(W->CLRRuntime1->Checked());
  EXPECT_EQ(W->FModified, 0);
}

}  // namespace
}  // namespace tq::testing
