// The library's thread base: BeforeRun once, Run until terminated, AfterRun
// always, exceptions dropped; Stop waits; a self-freeing thread deletes itself.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>

#include "LoopThread.h"

namespace tq {
namespace {

struct TJournal {
  std::mutex Lock;
  std::condition_variable Changed;
  std::string Text;
  void Add(const std::string& s) {
    std::lock_guard<std::mutex> g(Lock);
    Text += s;
    Changed.notify_all();
  }
  void WaitFor(const std::string& suffix) {
    std::unique_lock<std::mutex> g(Lock);
    Changed.wait(g, [&] { return Text.size() >= suffix.size() && Text.ends_with(suffix); });
  }
};

class TCountingThread : public TLoopThread {
 public:
  TCountingThread(TJournal& journal, int throwAt, int stopAt)
      : TLoopThread(true), FJournal(journal), FThrowAt(throwAt), FStopAt(stopAt) {}
  ~TCountingThread() override { FJournal.Add("~"); }

 protected:
  void BeforeRun() override { FJournal.Add("B"); }
  void Run() override {
    ++FTurns;
    FJournal.Add("R");
    if (FTurns == FThrowAt) throw std::runtime_error("out of Run");
    if (FTurns == FStopAt) Terminate();
  }
  void AfterRun() override { FJournal.Add("A"); }

 private:
  TJournal& FJournal;
  int FThrowAt, FStopAt;
  int FTurns = 0;
};

TEST(LoopThread, RunsItsTurnsAndAlwaysAfterRun) {
  struct TCase {
    int ThrowAt, StopAt;
    std::string Journal;
  } cases[] = {
      {0, 3, "BRRRA"},  // terminates itself after three turns
      {2, 5, "BRRA"},   // an exception out of Run ends the loop, quietly
  };
  for (const TCase& c : cases) {
    TJournal journal;
    {
      TCountingThread thread(journal, c.ThrowAt, c.StopAt);
      thread.Resume();
      thread.WaitFor();
      EXPECT_EQ(journal.Text, c.Journal);
    }
    EXPECT_EQ(journal.Text, c.Journal + "~");
  }
}

TEST(LoopThread, StopEndsAThreadThatLoopsOnAndOneNeverStarted) {
  TJournal journal;
  TCountingThread looping(journal, 0, -1);
  looping.Resume();
  journal.WaitFor("RR");
  looping.Stop();
  EXPECT_TRUE(journal.Text.starts_with("BRR"));
  EXPECT_TRUE(journal.Text.ends_with("A"));

  TJournal idle;
  TCountingThread never(idle, 0, 1);
  never.Stop();  // suspended until now: ends without a turn
  EXPECT_EQ(idle.Text, "A");
}

class TSelfFreeingThread : public TCountingThread {
 public:
  using TCountingThread::TCountingThread;

 protected:
  void AfterRun() override {
    TCountingThread::AfterRun();
    SetFreeOnTerminate(true);
  }
};

TEST(LoopThread, AThreadThatFreesItselfIsDeletedWhenItEnds) {
  TJournal journal;
  (new TSelfFreeingThread(journal, 0, 1))->Resume();
  journal.WaitFor("~");
  EXPECT_EQ(journal.Text, "BRA~");
}

}  // namespace
}  // namespace tq
