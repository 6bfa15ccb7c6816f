// The installer's progress messages: the parser's table (the documented
// cases, what Wine sends, and malformed texts that must be no report), the
// state the handler keeps, and Sorvex's percentages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InstallProgress.h"
#include "SorvexProgress.h"

namespace tq {
namespace {

struct TParseCase {
  const char* Text;
  bool Result;
  int32_t Fields[4];  // expected iField after the call (all start at 7)
};

TEST(ProgressParser, Table) {
  const TParseCase cases[] = {
      {"", false, {7, 7, 7, 7}},
      {"1: 2 2: 50 3: 0", true, {2, 50, 7, 7}},   // a report ends at field 2
      {"1: x 2: 5", false, {7, 7, 7, 7}},
      {"1: 0 2: 238 3: 0 4: 1", true, {0, 238, 0, 1}},
      {"1: 0 2: 1500 3: 0 4: 0 ", true, {0, 1500, 0, 0}},  // Wine's reset, trailing blank
      {"1: 2 2: 300 3: 0 4: 0 ", true, {2, 300, 7, 7}},   // Wine's report
      {"1: 1 2: 24 3: 1 ", true, {1, 24, 1, 7}},          // action info ends at field 3
      {"1: 3 2: 9", true, {3, 9, 7, 7}},
      {"1: 0 2: 10", true, {0, 10, 7, 7}},  // fields a message lacks keep their value
      {"1: 0 2: -5 3: 1 4: 0", true, {0, -5, 1, 0}},
      {"1: 0 5: 1", true, {0, 7, 7, 7}},  // "5" steps one on
      {"2: 40", true, {7, 40, 7, 7}},
      // An empty, cut-short or non-numeric field is no report, and nothing of it stays.
      {"1: 2 2: ", false, {7, 7, 7, 7}},
      {"1: 2 2:", false, {7, 7, 7, 7}},
      {"1: ", false, {7, 7, 7, 7}},
      {"1: 0 2: abc 3: 0 4: 0", false, {7, 7, 7, 7}},
      {"1: 0 2: 12x 3: 0 4: 0", false, {7, 7, 7, 7}},
      {"1: 0 2: 99999999999 3: 0 4: 0", false, {7, 7, 7, 7}},
      {"1: 0 2:  5 3: 0 4: 0", false, {7, 7, 7, 7}},
      {"1: 0 2: 100 3: 0 4: ", false, {7, 7, 7, 7}},
      {"Action 12:00:00: InstallFiles.", false, {7, 7, 7, 7}},
      {"9: 1", false, {7, 7, 7, 7}},
  };
  for (const TParseCase& c : cases) {
    TProgressState s;
    for (int32_t& f : s.iField) f = 7;
    EXPECT_EQ(s.ParseProgressString(c.Text), c.Result) << '"' << c.Text << '"';
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.iField[i], c.Fields[i]) << '"' << c.Text << "\" field " << i + 1;
  }
}

// Records what the state asked its outputs to do.
class TRecordingOutputs : public TProgressOutputs {
 public:
  std::vector<std::string> Calls;
  void ProgressReset(TProgressState& s, bool old) override {
    Calls.push_back("reset total=" + std::to_string(s.g_iProgressTotal) + " old=" + (old ? "1" : "0"));
  }
  void ProgressReport(TProgressState&, int32_t ticks) override { Calls.push_back("report " + std::to_string(ticks)); }
  void ProgressActionData(TProgressState& s) override {
    Calls.push_back("action " + std::to_string(s.g_iActionStep));
  }
};

TEST(ProgressState, ResetOnAFreshProgramCountsBackward) {
  TProgressState s;
  TRecordingOutputs out;
  s.ProgressStep("1: 0 2: 1000 3: 1 4: 0", out);
  EXPECT_EQ(s.g_iProgressTotal, 1000);
  EXPECT_FALSE(s.g_bForwardProgress);
  EXPECT_EQ(s.g_iProgress, 1000);
  EXPECT_FALSE(s.g_bScriptInProgress);
  EXPECT_EQ(out.Calls, std::vector<std::string>{"reset total=1000 old=0"});
}

TEST(ProgressState, ScriptFlagIsReadBeforeItChanges) {
  TProgressState s;
  TRecordingOutputs out;
  s.ProgressStep("1: 0 2: 100 3: 0 4: 1", out);
  EXPECT_TRUE(s.g_bScriptInProgress);
  s.ProgressStep("1: 0 2: 200 3: 0 4: 0", out);
  EXPECT_FALSE(s.g_bScriptInProgress);
  EXPECT_EQ(out.Calls, (std::vector<std::string>{"reset total=100 old=0", "reset total=200 old=1"}));
}

TEST(ProgressState, ReportsOnlyWithinARunAndActionDataOnlyWhenAsked) {
  TProgressState s;
  TRecordingOutputs out;
  s.ProgressStep("1: 2 2: 5 3: 0 4: 0 ", out);  // no run yet: no report
  s.ActionDataStep(out);                         // no run, no action data
  s.ProgressStep("1: 0 2: 100 3: 1 4: 0 ", out); // backward run
  s.ProgressStep("1: 1 2: 3 3: 1 ", out);        // action data moves 3 down
  EXPECT_TRUE(s.g_bActionData);
  EXPECT_EQ(s.g_iActionStep, -3);
  s.ActionDataStep(out);
  s.ProgressStep("1: 1 2: 3 3: 0 ", out);  // action data off again
  EXPECT_FALSE(s.g_bActionData);
  s.ActionDataStep(out);
  s.ProgressStep("1: 2 2: 10 3: 0 4: 0 ", out);
  s.ProgressStep("1: 2 2: x 3: 0 4: 0 ", out);  // malformed: nothing
  EXPECT_EQ(out.Calls, (std::vector<std::string>{"reset total=100 old=0", "action -3", "report 10"}));
}

TEST(SorvexPercentage, FollowsWinesForwardRunAndStaysWithinBounds) {
  TProgressState s;
  std::vector<std::string> sent;
  TPercentProgress out([&](const std::string& m) { sent.push_back(m); });
  s.ProgressStep("1: 0 2: 400 3: 0 4: 0 ", out);
  for (int i = 0; i < 4; ++i) s.ProgressStep("1: 2 2: 100 3: 0 4: 0 ", out);
  // Wine's removal progress goes on past the total: nothing more is sent.
  s.ProgressStep("1: 2 2: 100 3: 0 4: 0 ", out);
  EXPECT_EQ(sent, (std::vector<std::string>{"<InstallProgress>25</InstallProgress>",
                                            "<InstallProgress>50</InstallProgress>",
                                            "<InstallProgress>75</InstallProgress>",
                                            "<InstallProgress>100</InstallProgress>"}));
}

TEST(SorvexPercentage, BackwardRunsActionDataAndLargeTotals) {
  TProgressState s;
  std::vector<std::string> sent;
  TPercentProgress out([&](const std::string& m) { sent.push_back(m); });
  s.ProgressStep("1: 0 2: 2000000000 3: 1 4: 0", out);  // backward, position at the total
  s.ProgressStep("1: 2 2: 500000000 3: 0", out);         // 1.5e9 of 2e9: product needs 64 bits
  s.ProgressStep("1: 2 2: 2000000000 3: 0", out);        // below 0: not sent
  s.ProgressStep("1: 0 2: 10 3: 0 4: 0", out);
  s.ProgressStep("1: 1 2: 3 3: 1", out);
  s.ActionDataStep(out);
  s.ActionDataStep(out);
  s.ActionDataStep(out);
  s.ActionDataStep(out);  // 12 of 10: not sent
  EXPECT_EQ(sent, (std::vector<std::string>{"<InstallProgress>75</InstallProgress>",
                                            "<InstallProgress>30</InstallProgress>",
                                            "<InstallProgress>60</InstallProgress>",
                                            "<InstallProgress>90</InstallProgress>"}));
  EXPECT_EQ(TPercentProgress::Percentage(5, 0), 0);
  EXPECT_EQ(TPercentProgress::Percentage(-5, 10), 0);
  EXPECT_EQ(TPercentProgress::Percentage(15, 10), 100);
  EXPECT_EQ(TPercentProgress::Percentage(1, 3), 33);
}

}  // namespace
}  // namespace tq
