#include <gtest/gtest.h>

#include <filesystem>

#include "DeltaApplier.h"
#include "LhaArchive.h"
#include "SysUtils.h"
#include "TestData.h"
#include "UpdReader.h"
#include "Updprops.h"
#include "aCRC32.h"

using namespace tq;
using namespace tq::testing;
namespace fs = std::filesystem;

namespace {

// An old and a new folder and a builder pointed at them.
class UpdateFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Old());
    fs::create_directories(New());
    Builder.OldDirectoryListBox.Directory = Old().string();
    Builder.NewDirectoryListBox.Directory = New().string();
    Builder.SaveDialog.FileName = Out().string();
  }
  fs::path Old() const { return Dir.Path() / "Old"; }
  fs::path New() const { return Dir.Path() / "New"; }
  fs::path Out() const { return Dir.Path() / "Patch0.Core.000TARGET.upd"; }

  void Add(const std::string& name) {
    Builder.FileName.Text = name;
    Builder.AddBtnClick();
  }
  TUpdFile Read() { return ReadUpdFile(ReadFileBytes(Out())); }

  TScratchDir Dir;
  TUpdateFileMaker Builder;
};

uint32_t Crc(const Bytes& b) { return CRC32Buffer(b.data(), b.size()); }

}  // namespace

TEST_F(UpdateFileTest, RecordsAndPayloadsRoundTrip) {
  Bytes base = TextBytes(300000, 1);
  Bytes edited = Concat({Slice(base, 0, 100000), RandomBytes(3000, 2), Slice(base, 100000, 200000)});
  Bytes added = RandomBytes(40000, 3);
  WriteFileBytes(Old() / "same.txt", Bytes{'s', 'a', 'm', 'e'});
  WriteFileBytes(New() / "same.txt", Bytes{'s', 'a', 'm', 'e'});
  WriteFileBytes(Old() / "app.exe", base);
  WriteFileBytes(New() / "app.exe", edited);
  WriteFileBytes(New() / "added.dat", added);
  WriteFileBytes(New() / "empty.ini", {});
  WriteFileBytes(Old() / "gone.cfg", Bytes(100, 7));
  // Only the time differs: identical.
  WriteFileBytes(Old() / "touched.txt", Bytes(50, 1));
  WriteFileBytes(New() / "touched.txt", Bytes(50, 1));
  fs::last_write_time(New() / "touched.txt", fs::last_write_time(Old() / "touched.txt") - std::chrono::hours(30));

  for (const char* n : {"same.txt", "app.exe", "added.dat", "empty.ini", "gone.cfg", "touched.txt", "APP.EXE"}) Add(n);
  ASSERT_EQ(Builder.FileListBox.size(), 6u) << "a name differing only in case is not added again";
  EXPECT_EQ(Builder.FileListBox[0]->Action, uaIdentical);
  EXPECT_EQ(Builder.FileListBox[5]->Action, uaIdentical);

  Builder.OldVersion.Text = "3.1";
  Builder.NewVersion.Text = "3.2";
  Builder.FailureMode.ItemIndex = 0;
  Builder.MakeBtnClick();

  TUpdFile u = Read();
  ASSERT_TRUE(u.Ok) << u.Error;
  EXPECT_EQ(u.OldVersion, "3.1");
  EXPECT_EQ(u.NewVersion, "3.2");
  EXPECT_EQ(u.AllOrNothing, 0);
  ASSERT_EQ(u.Entries.size(), 4u);

  const TUpdEntry& app = u.Entries[0];
  EXPECT_EQ(app.Name, "app.exe");
  EXPECT_EQ(app.Action, 1);
  EXPECT_EQ(app.OldCRC, Crc(base));
  EXPECT_EQ(app.OldSizeLow, base.size());
  EXPECT_EQ(app.NewCRC, Crc(edited));
  EXPECT_EQ(app.NewSizeLow, edited.size());
  EXPECT_EQ(app.OldSizeHigh | app.NewSizeHigh, 0u);
  EXPECT_NE(app.NewDate, 0u);
  TDeltaResult rebuilt = ApplyDelta(base, app.Delta);
  ASSERT_TRUE(rebuilt.Ok) << rebuilt.Error;
  EXPECT_TRUE(rebuilt.NewFile == edited);
  EXPECT_LT(app.Delta.size(), 10000u);

  EXPECT_EQ(u.Entries[1].Name, "added.dat");
  EXPECT_EQ(u.Entries[1].Action, 2);
  EXPECT_EQ(u.Entries[1].OldCRC | u.Entries[1].OldSizeLow | u.Entries[1].OldSizeHigh, 0u);
  EXPECT_TRUE(u.Entries[1].Added == added);

  EXPECT_EQ(u.Entries[2].Name, "empty.ini");
  EXPECT_EQ(u.Entries[2].Action, 2);
  EXPECT_EQ(u.Entries[2].NewSizeLow, 0u);
  EXPECT_TRUE(u.Entries[2].Added.empty());

  EXPECT_EQ(u.Entries[3].Name, "gone.cfg");
  EXPECT_EQ(u.Entries[3].Action, 3);
  EXPECT_EQ(u.Entries[3].OldSizeLow, 100u);
  EXPECT_EQ(u.Entries[3].NewCRC | u.Entries[3].NewSizeLow | u.Entries[3].NewDate, 0u);

  // The stored record is the builder's record, byte for byte.
  TMemoryStream rec;
  Builder.FileListBox[1]->WriteTo(rec);
  EXPECT_TRUE(Contents(rec) == app.RawRecord);
}

TEST_F(UpdateFileTest, TheLhaProgramDecodesTheBody) {
  if (!LhaCheckAvailable) GTEST_SKIP() << "the lha program runs in the native build";
#ifndef _WIN32
  WriteFileBytes(Old() / "a.bin", TextBytes(100000, 4));
  WriteFileBytes(New() / "a.bin", TextBytes(100000, 5));
  WriteFileBytes(New() / "b.bin", RandomBytes(30000, 6));
  Add("a.bin");
  Add("b.bin");
  Builder.MakeBtnClick();
  Bytes file = ReadFileBytes(Out());
  TUpdFile u = ReadUpdFile(file);
  ASSERT_TRUE(u.Ok) << u.Error;
  auto lzh = Dir.Path() / "body.lzh";
  WriteFileBytes(lzh, LhaLevel0Archive(Slice(file, 88, file.size() - 88), u.Body, "body"));
  TLhaRun r = RunLha(lzh);
  EXPECT_EQ(r.TestStatus, 0) << r.TestOutput;
  EXPECT_TRUE(r.Data == u.Body);
#endif
}

TEST_F(UpdateFileTest, HeaderFieldsAndDefaults) {
  WriteFileBytes(New() / "x", Bytes{1});
  Add("x");
  Builder.MakeBtnClick();
  TUpdFile u = Read();
  ASSERT_TRUE(u.Ok) << u.Error;
  EXPECT_EQ(u.OldVersion, "1.0");
  EXPECT_EQ(u.NewVersion, "2.0");
  EXPECT_EQ(u.AllOrNothing, 1);

  // Empty texts are a zero length byte and 31 zero bytes; long ones are cut to 31.
  Builder.OldVersion.Text = "";
  Builder.NewVersion.Text = std::string(40, 'v');
  Builder.MakeBtnClick();
  u = Read();
  ASSERT_TRUE(u.Ok) << u.Error;
  EXPECT_EQ(u.OldVersionField, Bytes(32, 0));
  EXPECT_EQ(u.NewVersion, std::string(31, 'v'));
}

TEST_F(UpdateFileTest, AllIdenticalWritesNoFile) {
  WriteFileBytes(Old() / "a", Bytes(10, 1));
  WriteFileBytes(New() / "a", Bytes(10, 1));
  Add("a");
  Add("");
  ASSERT_EQ(Builder.FileListBox.size(), 1u);
  Builder.MakeBtnClick();
  EXPECT_FALSE(fs::exists(Out()));
  Builder.ClearFileList();
  Builder.MakeBtnClick();
  EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(UpdateFileTest, DirectoryChangeComparesAgain) {
  WriteFileBytes(Old() / "a", Bytes(10, 1));
  WriteFileBytes(New() / "a", Bytes(10, 1));
  Add("a");
  ASSERT_EQ(Builder.FileListBox[0]->Action, uaIdentical);
  fs::create_directories(Dir.Path() / "Other");
  Builder.SetNewDirectory((Dir.Path() / "Other").string());
  EXPECT_EQ(Builder.FileListBox[0]->Action, uaDelete);
}

TEST_F(UpdateFileTest, OverlongNameIsRefused) {
  Builder.FileName.Text = std::string(256, 'n');
  EXPECT_THROW(Builder.AddBtnClick(), Exception);
  EXPECT_TRUE(Builder.FileListBox.empty());
}

namespace {
// Takes a file away just before the writer opens it.
struct TFileThief : TUpdateProgressView {
  fs::path Victim;
  void SetFileName(const std::string&) override { fs::remove(Victim); }
};
}  // namespace

TEST_F(UpdateFileTest, AFileThatCannotBeWrittenCompletelyIsRemoved) {
  WriteFileBytes(Old() / "a", Bytes(1000, 1));
  WriteFileBytes(New() / "a", Bytes(1000, 2));
  // An update file from an earlier run under the same name must not survive either.
  WriteFileBytes(Out(), Bytes(500, 9));
  TFileThief thief;
  thief.Victim = Old() / "a";
  TUpdateFileMaker b(&thief);
  b.OldDirectoryListBox = Builder.OldDirectoryListBox;
  b.NewDirectoryListBox = Builder.NewDirectoryListBox;
  b.SaveDialog = Builder.SaveDialog;
  b.FileName.Text = "a";
  b.AddBtnClick();
  try {
    b.MakeBtnClick();
    FAIL() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file ", 0), 0u) << e.what();
  }
  EXPECT_FALSE(fs::exists(Out()));
  ASSERT_NE(b.Progress(), nullptr);
  EXPECT_FALSE(b.Progress()->Visible());
}

TEST_F(UpdateFileTest, UncreatableOutputRaises) {
  WriteFileBytes(New() / "a", Bytes{1});
  Add("a");
  Builder.SaveDialog.FileName = (Dir.Path() / "no such folder" / "x.upd").string();
  EXPECT_THROW(Builder.MakeBtnClick(), EFCreateError);
}

namespace {
struct TRecordingView : TUpdateProgressView {
  std::vector<int> General, File;
  int Shown = 0, Hidden = 0, Messages = 0;
  void ShowProgress() override { ++Shown; }
  void HideProgress() override { ++Hidden; }
  void SetFileGauge(int p) override { File.push_back(p); }
  void SetGeneralGauge(int p) override { General.push_back(p); }
  void ProcessMessages() override { ++Messages; }
};
}  // namespace

TEST_F(UpdateFileTest, ProgressRunsToTheTotalOfTheNewSizes) {
  WriteFileBytes(Old() / "a", RandomBytes(5000, 7));
  WriteFileBytes(New() / "a", RandomBytes(6000, 8));
  WriteFileBytes(New() / "b", RandomBytes(2000, 9));
  TRecordingView view;
  TUpdateFileMaker b(&view);
  b.OldDirectoryListBox = Builder.OldDirectoryListBox;
  b.NewDirectoryListBox = Builder.NewDirectoryListBox;
  b.SaveDialog = Builder.SaveDialog;
  for (const char* n : {"a", "b"}) {
    b.FileName.Text = n;
    b.AddBtnClick();
  }
  b.MakeBtnClick();
  TUpdateProgress& p = *b.Progress();
  EXPECT_EQ(p.Total(), 8000);
  EXPECT_EQ(p.Completed(), 8000);
  EXPECT_EQ(p.GeneralProgressBar(), 100);
  EXPECT_EQ(view.Shown, 1);
  EXPECT_EQ(view.Hidden, 1);
  EXPECT_GT(view.Messages, 10);
  ASSERT_FALSE(view.File.empty());
  EXPECT_LE(*std::max_element(view.File.begin(), view.File.end()), 100);
}

TEST(UpdateProgress, GaugeArithmetic) {
  EXPECT_EQ(MulDiv(1, 100, 3), 33);
  EXPECT_EQ(MulDiv(2, 100, 3), 67);
  EXPECT_EQ(MulDiv(1, 100, 200), 1);   // a half rounds up
  EXPECT_EQ(MulDiv(1, 100, 201), 0);
  EXPECT_EQ(MulDiv(-1, 100, 200), -1);  // and away from zero below it
  EXPECT_EQ(MulDiv(5, 100, 0), -1);
  EXPECT_EQ(MulDiv(int64_t(6) << 40, 100, int64_t(12) << 40), 50);

  TUpdateProgress p;
  p.SetTotal(0);
  p.SetCurrentCompleted(5);  // no totals: the gauges stay
  EXPECT_EQ(p.ProgressBar(), 0);
  EXPECT_EQ(p.GeneralProgressBar(), 0);
  p.SetTotal(400);
  p.SetCurrentTotal(50);
  p.SetCurrentCompleted(25);
  EXPECT_EQ(p.ProgressBar(), 50);
  EXPECT_EQ(p.GeneralProgressBar(), 6);  // 25 * 100 / 400 = 6.25
  p.SetCompleted(200);
  EXPECT_EQ(p.GeneralProgressBar(), 56);  // 225 * 100 / 400 = 56.25
  p.SetTotal(800);
  EXPECT_EQ(p.GeneralProgressBar(), 25);  // the total alone uses Completed only
}
