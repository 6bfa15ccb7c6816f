// The save prompt on exit: only No or a save that really happened closes a
// modified project's window.
#include <windows.h>

#include "MainWindowFixture.h"

namespace tq::testing {
namespace {

struct ExitCase {
  const char* Name;
  bool Modified;
  bool HasFile;
  int Answer;      // to the exit prompt (mrNone: no prompt expected)
  int SaveDialog;  // mrNone: not shown
  bool WriterFails;
  bool Closes;
  int Writes;
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.Name; }

class ExitPromptTest : public MainWindowTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitPromptTest, ClosesOnlyWhenTheProjectIsSafe) {
  const ExitCase& c = GetParam();
  int writes = 0;
  W->ProjectWriter = [&](const std::string&) {
    if (c.WriterFails) throw Exception("disk full");
    ++writes;
  };
  if (c.Modified) W->edProductName->SetText("Changed");
  ASSERT_EQ(W->FModified, c.Modified ? 1 : 0);
  if (c.HasFile) W->FProjectFile = Dir + "Open.ipr";
  if (c.Answer != mrNone)
    Prompts.Expect(pkMessageDlg, "The current project needs saving. \r\nDo you want to save before exiting?",
                   c.Answer);
  if (c.SaveDialog != mrNone)
    Prompts.Expect(TExpectedPrompt(pkModalForm, "SaveDialog1", c.SaveDialog, {},
                                   [this] { W->SaveDialog1->FileName = Dir + "Chosen.ipr"; }));
  if (c.WriterFails) Prompts.Expect(pkMessageBox, "disk full", IDOK);

  TCloseAction action = caFree;
  W->FormClose(W, action);
  EXPECT_EQ(action != caNone, c.Closes);
  EXPECT_EQ(W->LogOpen(), !c.Closes);
  EXPECT_EQ(writes, c.Writes);
  if (!c.Closes) {
    EXPECT_EQ(W->FModified, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ExitPromptTest,
    ::testing::Values(ExitCase{"Unmodified", false, false, mrNone, mrNone, false, true, 0},
                      ExitCase{"Cancel", true, true, mrCancel, mrNone, false, false, 0},
                      ExitCase{"No", true, true, mrNo, mrNone, false, true, 0},
                      ExitCase{"YesSaved", true, true, mrYes, mrNone, false, true, 1},
                      ExitCase{"YesSaveFails", true, true, mrYes, mrNone, true, false, 0},
                      ExitCase{"YesSaveAsCancelled", true, false, mrYes, mrCancel, false, false, 0},
                      ExitCase{"YesSaveAsFails", true, false, mrYes, mrOk, true, false, 0},
                      ExitCase{"YesSaveAsDone", true, false, mrYes, mrOk, false, true, 1}),
    [](const ::testing::TestParamInfo<ExitCase>& i) { return std::string(i.param.Name); });

TEST_F(MainWindowTest, SaveAsThatFailsKeepsTheProjectUntitled) {
  W->ProjectWriter = [](const std::string&) { throw Exception("disk full"); };
  W->edProductName->SetText("Changed");
  Prompts.Expect(pkMessageDlg, "before exiting", mrYes);
  Prompts.Expect(TExpectedPrompt(pkModalForm, "SaveDialog1", mrOk, {},
                                 [this] { W->SaveDialog1->FileName = Dir + "Chosen.ipr"; }));
  Prompts.Expect(pkMessageBox, "disk full", IDOK);
  TCloseAction action = caFree;
  W->FormClose(W, action);
  EXPECT_EQ(action, caNone);
  EXPECT_EQ(W->FProjectFile, "");
  EXPECT_EQ(W->Caption(), "Untitled - Tarnquill - Install Project");
}

}  // namespace
}  // namespace tq::testing
