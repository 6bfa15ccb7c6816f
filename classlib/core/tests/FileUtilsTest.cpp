#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "FileUtils.h"
#include "TempDir.h"

using namespace tq;

class FileUtilsTest : public tq::testing::TempDirTest {};

TEST_F(FileUtilsTest, FilesAndFolders) {
  std::string deep = Path("a\\b\\c");
#ifndef _WIN32
  deep = Path("a/b/c");
#endif
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_FALSE(CreateDir(deep));
  tq::testing::WriteBytes(Path("f.txt"), "12345");
  EXPECT_TRUE(FileExists(Path("f.txt")));
  EXPECT_FALSE(DirectoryExists(Path("f.txt")));
  EXPECT_EQ(5, FileSize(Path("f.txt")));
  EXPECT_EQ(-1, FileSize(Path("none")));
  EXPECT_TRUE(CopyFile(Path("f.txt"), Path("g.txt"), true));
  EXPECT_FALSE(CopyFile(Path("f.txt"), Path("g.txt"), true));  // fails when it exists
  tq::testing::WriteBytes(Path("f.txt"), "xy");
  EXPECT_TRUE(CopyFile(Path("f.txt"), Path("g.txt"), false));
  EXPECT_EQ("xy", tq::testing::FileBytes(Path("g.txt")));
  EXPECT_FALSE(RenameFile(Path("f.txt"), Path("g.txt")));  // never replaces
  EXPECT_TRUE(RenameFile(Path("f.txt"), Path("h.txt")));
  EXPECT_FALSE(FileExists(Path("f.txt")));
  EXPECT_TRUE(DeleteFile(Path("h.txt")));
  EXPECT_FALSE(DeleteFile(Path("h.txt")));
  EXPECT_FALSE(RemoveDir(Path("a")));  // not empty
  EXPECT_TRUE(FileSetAttr(Path("g.txt"), faReadOnly));
  EXPECT_TRUE(FileGetAttr(Path("g.txt")) & faReadOnly);
  EXPECT_TRUE(FileSetAttr(Path("g.txt"), 0));
  EXPECT_FALSE(FileGetAttr(Path("g.txt")) & faReadOnly);
  EXPECT_TRUE(FileGetAttr(Path("a")) & faDirectory);
  EXPECT_EQ(-1, FileGetAttr(Path("none")));
}

TEST_F(FileUtilsTest, FileAgeIsTheLocalModificationTime) {
  tq::testing::WriteBytes(Path("f.txt"), "x");
  TDateTime age = FileAge(Path("f.txt"));
  EXPECT_LT(std::abs(age - Now()), 2.0 / 86400 + 1.0 / 24 / 60);  // within a minute
  TDateTime when = EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 6, 0);
  EXPECT_TRUE(FileSetDate(Path("f.txt"), when));
  EXPECT_NEAR(when, FileAge(Path("f.txt")), 2.0 / 86400);
  EXPECT_EQ(-1, FileAge(Path("none")));
}

TEST_F(FileUtilsTest, FindFirstListsByPatternAndAttribute) {
  tq::testing::WriteBytes(Path("one.txt"), "1");
  tq::testing::WriteBytes(Path("two.TXT"), "22");
  tq::testing::WriteBytes(Path("three.dat"), "333");
  tq::testing::WriteBytes(Path("noext"), "");
  ASSERT_TRUE(CreateDir(Path("sub")));
  auto list = [&](const std::string& pattern, int attr) {
    std::set<std::string> names;
    TSearchRec f;
    if (FindFirst(Path(pattern), attr, f) == 0) {
      do names.insert(f.Name + ((f.Attr & faDirectory) ? "/" : ""));
      while (FindNext(f) == 0);
      FindClose(f);
    }
    return names;
  };
  EXPECT_EQ((std::set<std::string>{"one.txt", "two.TXT"}), list("*.txt", faAnyFile));
  EXPECT_EQ((std::set<std::string>{"one.txt", "two.TXT", "three.dat", "noext"}), list("*.*", 0));
  std::set<std::string> all = list("*.*", faDirectory);
  EXPECT_TRUE(all.count("sub/"));
  EXPECT_TRUE(all.count("noext"));
  EXPECT_EQ((std::set<std::string>{"three.dat"}), list("t?ree.*", 0));
  EXPECT_TRUE(list("*.none", faAnyFile).empty());
  TSearchRec f;
  ASSERT_EQ(0, FindFirst(Path("three.dat"), 0, f));
  EXPECT_EQ(3, f.Size);
  EXPECT_NEAR(FileAge(Path("three.dat")), f.Time, 2.0 / 86400);
  FindClose(f);
  EXPECT_NE(0, FindFirst(Path("missing-dir") + "\\*.*", faAnyFile, f));
}

TEST_F(FileUtilsTest, TempPathAndProgramPath) {
  std::string t = GetTempPath();
  ASSERT_FALSE(t.empty());
  EXPECT_TRUE(t.back() == '\\' || t.back() == '/');
  EXPECT_TRUE(DirectoryExists(t));
  EXPECT_TRUE(FileExists(ParamStr(0)));
  EXPECT_TRUE(DirectoryExists(GetCurrentDir()));
  EXPECT_GT(DiskFree(t), 0);
  EXPECT_GE(DiskSize(t), DiskFree(t));
  EXPECT_EQ(-1, DiskFree(t + "no-such-folder\\x"));
}
