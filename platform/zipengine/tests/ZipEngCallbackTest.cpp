// The entry points, the callback contract and the answers the caller gives.
#include <gtest/gtest.h>

#include <cstring>

#include "EngineHarness.h"
#include "kit/ZipTestKit.h"

namespace tq::ziptest {
namespace {

using namespace zipeng;

class ZipEngCallbacks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Engine.Loaded());
    Work = WorkFolder(std::string("callbacks-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Archive = Work + "out.zip";
    WriteFileBytes(Work + "a.txt", Bytes(std::string(20000, 'a')));
    WriteFileBytes(Work + "b.txt", Bytes("bee"));
  }
  TArchive Read() { return ReadArchive(ReadFileBytes(Archive)); }
  TEngine Engine;
  std::string Work, Archive;
};

TEST_F(ZipEngCallbacks, VersionIs160) { EXPECT_EQ(Engine.Version(), 160); }

TEST_F(ZipEngCallbacks, RecordsOfAnotherLayoutAreRefused) {
  for (int variant = 0; variant < 2; ++variant) {
    TCommand cmd(Archive);
    cmd.Spec(Work + "a.txt");
    if (variant == 0) cmd.Parms().EndMarker = 0;
    else cmd.Parms().Version = 150;
    EXPECT_EQ(cmd.Run(Engine), 0);
    EXPECT_FALSE(FileExists(Archive));
    ASSERT_FALSE(cmd.EventsOf(zaMessage).empty());
    EXPECT_EQ(cmd.EventsOf(zaMessage)[0].Code, zeBadRecord);
  }
}

TEST_F(ZipEngCallbacks, ReportsTotalsThenEachFileThenTheEnd) {
  TCommand cmd(Archive);
  cmd.Spec(Work + "a.txt").Spec(Work + "b.txt");
  bool callerSeen = true;
  cmd.Answer = [&](TZipCallbackData& d) { callerSeen &= d.Caller == &cmd && d.IsOperationZip != 0; };
  ASSERT_EQ(cmd.Run(Engine), 2);
  EXPECT_TRUE(callerSeen);
  std::vector<int32_t> actions;
  for (const auto& e : cmd.Events)
    if (actions.empty() || actions.back() != e.Action || e.Action != zaProgress) actions.push_back(e.Action);
  EXPECT_EQ(actions, (std::vector<int32_t>{zaNewName, zaNewName, zaTotalFiles, zaTotalSize, zaFileComment, zaNewFile,
                                           zaProgress, zaFileComment, zaNewFile, zaProgress, zaEndOfBatch}));
  EXPECT_EQ(cmd.EventsOf(zaTotalFiles)[0].Size, 2);
  EXPECT_EQ(cmd.EventsOf(zaTotalSize)[0].Size, 20003);
  auto newFiles = cmd.EventsOf(zaNewFile);
  EXPECT_EQ(newFiles[0].Text, "a.txt");
  EXPECT_EQ(newFiles[0].Size, 20000);
  intptr_t progressed = 0;
  for (const auto& e : cmd.EventsOf(zaProgress)) progressed += e.Size;
  EXPECT_EQ(progressed, 20003);
}

TEST_F(ZipEngCallbacks, AnsweredNameAndCommentAreStored) {
  TCommand cmd(Archive);
  cmd.Spec(Work + "a.txt").Spec(Work + "b.txt");
  cmd.Answer = [](TZipCallbackData& d) {
    if (d.ActionCode == zaNewName && std::strcmp(d.Message, "b.txt") == 0) {
      std::strcpy(d.Message, "docs/renamed b.txt");
      d.ErrorCode = 1;
    }
    if (d.ActionCode == zaFileComment && std::strcmp(d.Message, "a.txt") == 0) {
      std::strcpy(d.Message, "the a file");
      d.ErrorCode = 1;
    }
  };
  ASSERT_EQ(cmd.Run(Engine), 2);
  TArchive a = Read();
  ASSERT_EQ(a.Members.size(), 2u);
  EXPECT_EQ(a.Members[0].Comment, "the a file");
  EXPECT_EQ(a.Members[1].Name, "docs/renamed b.txt");
  EXPECT_EQ(a.Members[1].Comment, "");
}

TEST_F(ZipEngCallbacks, ArchiveCommentAndVerboseMessages) {
  TCommand cmd(Archive);
  cmd.Comment = "Setup archive";
  cmd.Spec(Work + "a.txt");
  cmd.Parms().Verbose = -1;
  ASSERT_EQ(cmd.Run(Engine), 1);
  EXPECT_EQ(Read().Comment, "Setup archive");
  auto messages = cmd.EventsOf(zaMessage);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Code, 0);
  EXPECT_EQ(messages[0].Text.rfind("  adding: a.txt (deflated ", 0), 0u) << messages[0].Text;
}

TEST_F(ZipEngCallbacks, PasswordEncryptsEveryMember) {
  TCommand cmd(Archive);
  cmd.Encrypt = true;
  cmd.Password = "secret";
  cmd.Spec(Work + "a.txt").Spec(Work + "b.txt");
  ASSERT_EQ(cmd.Run(Engine), 2);
  EXPECT_TRUE(cmd.EventsOf(zaPassword).empty());
  for (const TMember& m : Read().Members) {
    SCOPED_TRACE(m.Name);
    EXPECT_EQ(m.Flags & 9, 1) << "encrypted, no data descriptor";
    TBytes plain = DecryptRaw(m.Raw, "secret", m.Crc);
    ASSERT_FALSE(plain.empty()) << "check byte";
    TBytes data = m.Method == 8 ? Inflate(plain, m.Size) : plain;
    EXPECT_EQ(data, ReadFileBytes(Work + m.Name));
    EXPECT_TRUE(DecryptRaw(m.Raw, "wrong", m.Crc).empty() || DecryptRaw(m.Raw, "wrong", m.Crc) != plain);
  }
}

TEST_F(ZipEngCallbacks, MissingPasswordIsAskedFor) {
  for (bool answer : {true, false}) {
    SCOPED_TRACE(answer ? "answered" : "not answered");
    DeleteFileA(Archive.c_str());
    TCommand cmd(Archive);
    cmd.Encrypt = true;
    cmd.Spec(Work + "b.txt");
    cmd.Answer = [answer](TZipCallbackData& d) {
      if (d.ActionCode == zaPassword && answer) {
        std::strcpy(d.Message, "typed");
        d.ErrorCode = 1;
      }
    };
    EXPECT_EQ(cmd.Run(Engine), answer ? 1 : 0);
    ASSERT_EQ(cmd.EventsOf(zaPassword).size(), 1u);
    if (answer) {
      TMember m = Read().Members.at(0);
      EXPECT_EQ(DecryptRaw(m.Raw, "typed", m.Crc), Bytes("bee"));
    } else {
      EXPECT_FALSE(FileExists(Archive)) << "nothing stored unencrypted";
      EXPECT_EQ(cmd.EventsOf(zaMessage).at(0).Code, zePassword);
    }
  }
}

TEST_F(ZipEngCallbacks, NamesAreStoredInTheOemCodePage) {
  std::string ansi = "Caf\xE9 men\xFC.txt";
  wchar_t wide[64];
  int wn = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, 64);
  char oem[64];
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_OEMCP, 0, wide, wn, oem, 64, nullptr, &lossy);
  if (lossy) GTEST_SKIP() << "the OEM code page here has no such letters";
  WriteFileBytes(Work + ansi, Bytes("menu"));
  TCommand cmd(Archive);
  cmd.Spec(Work + ansi);
  ASSERT_EQ(cmd.Run(Engine), 1);
  EXPECT_EQ(Read().Members.at(0).Name, std::string(oem));
}

}  // namespace
}  // namespace tq::ziptest
