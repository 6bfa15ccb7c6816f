#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "Classes.h"
#include "TempDir.h"

using namespace tq;

namespace {
// The same checks for every stream kind.
void ExerciseStream(TStream& s) {
  s.WriteBuffer("hello world", 11);
  EXPECT_EQ(11, s.Position());
  EXPECT_EQ(11, s.Size());
  s.SetPosition(6);
  char buf[16] = {};
  s.ReadBuffer(buf, 5);
  EXPECT_STREQ("world", buf);
  EXPECT_EQ(0, s.Read(buf, 4));  // at the end
  s.Seek(-5, soEnd);
  EXPECT_EQ(6, s.Position());
  s.Seek(-1, soCurrent);
  EXPECT_EQ(5, s.Position());
  s.WriteBuffer("_", 1);
  s.SetPosition(0);
  std::memset(buf, 0, sizeof buf);
  EXPECT_EQ(11, s.Read(buf, 15));  // Read takes what is there
  EXPECT_STREQ("hello_world", buf);
  // ReadBuffer insists on the whole count.
  s.SetPosition(8);
  try {
    s.ReadBuffer(buf, 4);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ("Stream read error", e.Message);
  }
  s.SetSize(5);
  EXPECT_EQ(5, s.Size());
  uint32_t v = 0xA1B2C3D4, w = 0;
  s.SetPosition(5);
  s.WriteValue(v);
  s.SetPosition(5);
  s.ReadValue(w);
  EXPECT_EQ(v, w);
}
}  // namespace

TEST(TMemoryStream, ReadWriteSeek) {
  TMemoryStream m;
  ExerciseStream(m);
  EXPECT_EQ(0, std::memcmp(m.Memory(), "hello", 5));
  m.Clear();
  EXPECT_EQ(0, m.Size());
  EXPECT_EQ(0, m.Position());
}

TEST(TStringStream, ReadWriteSeek) {
  TStringStream s;
  ExerciseStream(s);
  TStringStream t("abcdef");
  EXPECT_EQ("abc", t.ReadString(3));
  EXPECT_EQ("def", t.ReadString(10));
  EXPECT_EQ("", t.ReadString(1));
}

class TFileStreamTest : public tq::testing::TempDirTest {};

TEST_F(TFileStreamTest, ReadWriteSeek) {
  {
    TFileStream f(Path("data.bin"), fmCreate);
    ExerciseStream(f);
  }
  EXPECT_EQ(9, FileSize(Path("data.bin")));
  TFileStream r(Path("data.bin"), fmOpenRead | fmShareDenyWrite);
  char buf[6] = {};
  r.ReadBuffer(buf, 5);
  EXPECT_STREQ("hello", buf);
  EXPECT_THROW(r.WriteBuffer("x", 1), EWriteError);
}

TEST_F(TFileStreamTest, OpenAndCreateErrors) {
  try {
    TFileStream f(Path("none.bin"), fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ("Cannot open file " + Path("none.bin"), e.Message);
  }
  std::string bad = Path("no-folder") + "\\x.bin";
  try {
    TFileStream f(bad, fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ("Cannot create file " + bad, e.Message);
  }
}

TEST_F(TFileStreamTest, CopyFromAndMemoryFiles) {
  TMemoryStream m;
  m.WriteBuffer("0123456789", 10);
  m.SaveToFile(Path("m.bin"));
  TMemoryStream back;
  back.LoadFromFile(Path("m.bin"));
  ASSERT_EQ(10, back.Size());
  EXPECT_EQ(0, std::memcmp(back.Memory(), "0123456789", 10));
  TStringStream out;
  m.SetPosition(2);
  EXPECT_EQ(3, out.CopyFrom(m, 3));
  EXPECT_EQ("234", out.DataString());
  TStringStream all;
  EXPECT_EQ(10, all.CopyFrom(m, 0));  // 0: all of it from the beginning
  EXPECT_EQ("0123456789", all.DataString());
  m.SetPosition(8);
  EXPECT_THROW(out.CopyFrom(m, 3), EReadError);
}
