// Adding to an existing archive, and what stays when an add fails.
#include <gtest/gtest.h>

#include "EngineHarness.h"
#include "kit/ZipTestKit.h"

namespace tq::ziptest {
namespace {

class ZipEngUpdate : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Engine.Loaded());
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info->name();
    for (char& c : name)
      if (c == '/') c = '-';
    Work = WorkFolder("update-" + name);
    Archive = Work + "setup.zip";
  }
  void Write(const std::string& name, const std::string& text) { WriteFileBytes(Work + name, Bytes(text)); }
  // Sets a file's time, so Update and Freshen see which copy is newer.
  void Age(const std::string& name, int minutesAgo) {
    HANDLE h = CreateFileA((Work + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER u{{ft.dwLowDateTime, ft.dwHighDateTime}};
    u.QuadPart -= ULONGLONG(minutesAgo) * 60 * 10000000ull;
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
  }
  int32_t Add(std::initializer_list<std::string> names, TCommand* out = nullptr) {
    TCommand local(Archive);
    TCommand& cmd = out ? *out : local;
    for (const auto& n : names) cmd.Spec(Work + n);
    return cmd.Run(Engine);
  }
  std::vector<std::string> Names() {
    std::vector<std::string> out;
    for (const auto& m : ReadArchive(ReadFileBytes(Archive)).Members) out.push_back(m.Name);
    return out;
  }
  std::string Content(const std::string& name) {
    for (const auto& m : ReadArchive(ReadFileBytes(Archive)).Members)
      if (m.Name == name) return std::string(m.Data.begin(), m.Data.end());
    return "<missing>";
  }

  TEngine Engine;
  std::string Work, Archive;
};

TEST_F(ZipEngUpdate, AddingKeepsOldMembersAndReplacesSameNamesInPlace) {
  Write("a.txt", "first a");
  Write("b.txt", "first b");
  ASSERT_EQ(Add({"a.txt", "b.txt"}), 2);
  Write("a.txt", "second a, longer than the first");
  Write("c.txt", "new c");
  EXPECT_EQ(Add({"c.txt", "A.TXT"}), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(Content("a.txt"), "second a, longer than the first");
  EXPECT_EQ(Content("b.txt"), "first b");
  EXPECT_EQ(Content("c.txt"), "new c");
}

TEST_F(ZipEngUpdate, UpdateReplacesOnlyNewerFilesAndAddsNewOnes) {
  Write("old.txt", "stored old");
  Write("new.txt", "stored new");
  Age("old.txt", 60);
  Age("new.txt", 60);
  ASSERT_EQ(Add({"old.txt", "new.txt"}), 2);
  Write("old.txt", "older on disk than in the archive");
  Age("old.txt", 120);
  Write("new.txt", "newer on disk");
  Write("extra.txt", "added");
  TCommand cmd(Archive);
  cmd.Update = true;
  EXPECT_EQ(Add({"old.txt", "new.txt", "extra.txt"}, &cmd), 2);
  EXPECT_EQ(Content("old.txt"), "stored old");
  EXPECT_EQ(Content("new.txt"), "newer on disk");
  EXPECT_EQ(Content("extra.txt"), "added");
}

TEST_F(ZipEngUpdate, FreshenAddsNothingNew) {
  Write("a.txt", "one");
  Age("a.txt", 60);
  ASSERT_EQ(Add({"a.txt"}), 1);
  Write("a.txt", "two");
  Write("b.txt", "not in the archive");
  TCommand cmd(Archive);
  cmd.Freshen = true;
  EXPECT_EQ(Add({"a.txt", "b.txt"}, &cmd), 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(Content("a.txt"), "two");
}

TEST_F(ZipEngUpdate, MembersWithDataDescriptorsGetTheirSizesInTheLocalHeader) {
  TBytes long1 = Bytes(std::string(5000, 'x') + "end");
  WriteFileBytes(Archive, BuildArchive({{"streamed.txt", long1, true, true}, {"plain.txt", Bytes("p"), false, true}}));
  Write("new.txt", "new");
  ASSERT_EQ(Add({"new.txt"}), 1);
  TArchive a = ReadArchive(ReadFileBytes(Archive));
  ASSERT_EQ(a.Members.size(), 3u);
  for (const TMember& m : a.Members) {
    SCOPED_TRACE(m.Name);
    EXPECT_EQ(m.Flags & 8, 0);
    EXPECT_EQ(m.LocalFlags & 8, 0);
    EXPECT_EQ(m.LocalCrc, m.Crc);
    EXPECT_EQ(m.LocalCompressedSize, m.CompressedSize);
    EXPECT_EQ(m.LocalSize, m.Size);
  }
  EXPECT_EQ(a.Members[0].Data, long1);
  // Nothing of the old descriptors is left between the members.
  EXPECT_EQ(a.Members[1].LocalOffset, 30u + 12u + a.Members[0].CompressedSize);
}

TEST_F(ZipEngUpdate, ASelfExtractorKeepsItsProgramInFront) {
  TBytes prefix = NoiseBytes(3000, 5);
  prefix[0] = 'M';
  prefix[1] = 'Z';
  TBytes file = prefix;
  TBytes zip = BuildArchive({{"inside.txt", Bytes("in the exe")}}, uint32_t(prefix.size()));
  file.insert(file.end(), zip.begin(), zip.end());
  Archive = Work + "Setup.exe";
  WriteFileBytes(Archive, file);
  Write("more.txt", "more");
  ASSERT_EQ(Add({"more.txt"}), 1);
  TBytes after = ReadFileBytes(Archive);
  ASSERT_GT(after.size(), prefix.size());
  EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), after.begin()));
  TArchive a = ReadArchive(after, 0);  // offsets count from the file's start
  ASSERT_EQ(a.Members.size(), 2u);
  EXPECT_EQ(a.Members[0].LocalOffset, prefix.size());
  EXPECT_EQ(std::string(a.Members[1].Data.begin(), a.Members[1].Data.end()), "more");
}

TEST_F(ZipEngUpdate, AnEmptySelfExtractorTakesItsFirstMembers) {
  // A program followed only by an end record whose directory offset points
  // behind the program: what the component makes for a new ".exe" archive.
  TBytes file = NoiseBytes(1000, 9);
  TBytes end = BuildArchive({}, uint32_t(file.size()));
  file.insert(file.end(), end.begin(), end.end());
  Archive = Work + "Empty.exe";
  WriteFileBytes(Archive, file);
  Write("first.txt", "first");
  ASSERT_EQ(Add({"first.txt"}), 1);
  TArchive a = ReadArchive(ReadFileBytes(Archive));
  ASSERT_EQ(a.Members.size(), 1u);
  EXPECT_EQ(a.Members[0].LocalOffset, 1000u);
}

struct TFailureCase {
  const char* Title;
  int Setup;  // what goes wrong, see the test
  int32_t Code;
};

class ZipEngFailure : public ZipEngUpdate, public ::testing::WithParamInterface<TFailureCase> {};

void PrintTo(const TFailureCase& c, std::ostream* os) { *os << c.Title; }

TEST_P(ZipEngFailure, KeepsTheOldArchive) {
  Write("a.txt", "old content");
  ASSERT_EQ(Add({"a.txt"}), 1);
  Write("a.txt", std::string(300000, 'n'));
  Write("b.txt", "b");
  TBytes before = ReadFileBytes(Archive);
  TCommand cmd(Archive);
  cmd.Spec(Work + "b.txt").Spec(Work + "a.txt");
  HANDLE locked = INVALID_HANDLE_VALUE;
  switch (GetParam().Setup) {
    case 0:  // the caller stops the engine halfway through a file
      cmd.StopAtAction = zipeng::zaProgress;
      cmd.StopAfter = 2;
      break;
    case 1:  // a file that cannot be read
      locked = CreateFileA((Work + "a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(locked, INVALID_HANDLE_VALUE);
      break;
    case 2:  // the old archive is damaged
      before.resize(before.size() - 5);
      WriteFileBytes(Archive, before);
      break;
    case 3:  // no folder for the temporary archive
      cmd.TempDir = Work + "no such folder\\";
      break;
  }
  EXPECT_EQ(cmd.Run(Engine), 0);
  if (locked != INVALID_HANDLE_VALUE) CloseHandle(locked);
  EXPECT_EQ(ReadFileBytes(Archive), before);
  EXPECT_EQ(FilesIn(Work), (std::vector<std::string>{"a.txt", "b.txt", "setup.zip"})) << "temporary file left";
  bool reported = false;
  for (const auto& e : cmd.EventsOf(zipeng::zaMessage)) reported |= e.Code == GetParam().Code;
  EXPECT_TRUE(reported) << "error " << GetParam().Code << " reported";
  EXPECT_EQ(cmd.Events.back().Action, zipeng::zaEndOfBatch);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipEngFailure,
                         ::testing::Values(TFailureCase{"Cancelled", 0, zipeng::zeCancelled},
                                           TFailureCase{"UnreadableFile", 1, zipeng::zeRead},
                                           TFailureCase{"DamagedArchive", 2, zipeng::zeBadArchive},
                                           TFailureCase{"NoTempFolder", 3, zipeng::zeCreate}),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(ZipEngUpdate, NothingFoundWritesNoArchive) {
  TCommand cmd(Archive);
  cmd.Spec(Work + "missing.txt");
  EXPECT_EQ(cmd.Run(Engine), 0);
  EXPECT_FALSE(FileExists(Archive));
  auto messages = cmd.EventsOf(zipeng::zaMessage);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].Code, zipeng::zeNoMatch);
  EXPECT_NE(messages[0].Text.find("missing.txt"), std::string::npos);
  EXPECT_EQ(messages[1].Code, zipeng::zeNothingToDo);
}

TEST_F(ZipEngUpdate, MoveDeletesTheFilesOnceStored) {
  Write("a.txt", "moved");
  TCommand cmd(Archive);
  cmd.Move = true;
  cmd.Spec(Work + "a.txt");
  EXPECT_EQ(cmd.Run(Engine), 1);
  EXPECT_FALSE(FileExists(Work + "a.txt"));
  EXPECT_EQ(Content("a.txt"), "moved");
}

}  // namespace
}  // namespace tq::ziptest
