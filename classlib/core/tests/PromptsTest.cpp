#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "Prompts.h"
#include "PromptsTesting.h"

using namespace tq;

namespace {
// A piece of code under test that asks three questions.
std::string SaveBeforeNew() {
  int r = MessageDlg("Do you want to save the changes to Untitled?", mtConfirmation, mbYesNoCancel, 0);
  if (r != mrYes) return "discarded";
  std::string name = "Untitled";
  if (!InputQuery("Save As", "Project name:", name)) return "cancelled";
  ShowMessage("Saved " + name);
  return "saved " + name;
}
}  // namespace

TEST(Prompts, ScriptAnswersInOrderAndRecordsWhatWasAsked) {
  TPromptScript prompts({{pkMessageDlg, "save the changes", mrYes},
                         {pkInputQuery, "Project name", mrOk, "Sample"},
                         {pkShowMessage, "Saved Sample"}});
  EXPECT_EQ("saved Sample", SaveBeforeNew());
  ASSERT_EQ(3u, prompts.Asked().size());
  EXPECT_EQ(mtConfirmation, prompts.Asked()[0].DlgType);
  EXPECT_EQ(mbYesNoCancel, prompts.Asked()[0].Buttons);
  EXPECT_EQ("Save As", prompts.Asked()[1].Caption);
  EXPECT_TRUE(prompts.Done());
}

TEST(Prompts, MessageBoxInputBoxAndModalForms) {
  TPromptScript prompts;
  prompts.Expect(pkMessageBox, "not enough free space", IDRETRY);
  prompts.Expect(pkInputQuery, "Title", mrCancel);
  prompts.Expect(pkModalForm, "TFtpDataDlg", mrOk);
  prompts.Expect(pkMessageBox, "Tarnquill");  // matches the caption too
  EXPECT_EQ(IDRETRY, MessageBox("This disk has not enough free space available", "Zip", MB_RETRYCANCEL | MB_ICONERROR));
  EXPECT_EQ("default", InputBox("Title", "Program title:", "default"));
  bool shown = false;
  EXPECT_EQ(mrOk, ShowModalHook("TFtpDataDlg", [&] {
              shown = true;
              return mrCancel;
            }));
  EXPECT_FALSE(shown);  // the script answers without showing the form
  ApplicationTitle() = "Tarnquill";
  ShowException("Disk full");
  EXPECT_EQ("Disk full.", prompts.Asked().back().Text);
  EXPECT_EQ(MB_OK | MB_ICONSTOP, prompts.Asked().back().Flags);
  ApplicationTitle().clear();
}

TEST(Prompts, AnUnexpectedPromptRaisesAndIsReported) {
  TScriptedPrompts script({{pkMessageDlg, "save the changes", mrNo}});
  TPromptScope scope(script);
  EXPECT_THROW(ShowMessage("Surprise"), EPromptScriptError);
  std::vector<std::string> problems = script.Problems();
  ASSERT_EQ(1u, problems.size());
  EXPECT_NE(std::string::npos, problems[0].find("Surprise"));
  EXPECT_FALSE(script.Done());
  // Past the end of the script as well.
  TScriptedPrompts empty;
  TPromptScope scope2(empty);
  EXPECT_THROW(MessageDlg("x", mtError, mbOK), EPromptScriptError);
  EXPECT_EQ(1u, empty.Problems().size());
}

TEST(Prompts, UnansweredExpectationsAreReported) {
  TScriptedPrompts script({{pkMessageDlg, "never asked", mrNo}});
  ASSERT_EQ(1u, script.Problems().size());
  EXPECT_NE(std::string::npos, script.Problems()[0].find("never asked"));
}

TEST(Prompts, TheGoogleTestHelperTurnsProblemsIntoFailures) {
  EXPECT_NONFATAL_FAILURE(
      {
        TPromptScript prompts({{pkMessageDlg, "expected text", mrOk}});
        try {
          MessageDlg("other text", mtWarning, mbOK);
        } catch (const EPromptScriptError&) {
        }
      },
      "other text");
  EXPECT_NONFATAL_FAILURE({ TPromptScript prompts({{pkShowMessage, "hello"}}); }, "never shown");
}

TEST(Prompts, ThePreviousServiceReturnsAfterAScope) {
  TPromptService* before = &PromptService();
  {
    TScriptedPrompts s;
    TPromptScope scope(s);
    EXPECT_EQ(&s, &PromptService());
  }
  EXPECT_EQ(before, &PromptService());
}
