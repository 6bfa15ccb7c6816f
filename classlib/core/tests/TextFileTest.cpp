#include <gtest/gtest.h>

#include "TempDir.h"
#include "TextFile.h"

using namespace tq;

class TTextFileTest : public tq::testing::TempDirTest {};

TEST_F(TTextFileTest, AppendCreatesThenAppendsAndEveryLineIsOnDiskAtOnce) {
  const std::string log = Path("Vantrel.log");
  TTextFile f;
  f.Assign(log);
  f.Append();  // missing: created
  f.WriteLn("");
  f.WriteLn(std::string(40, '-'));
  EXPECT_EQ("\r\n" + std::string(40, '-') + "\r\n", tq::testing::FileBytes(log));  // while still open
  f.Close();
  TTextFile g(log);
  g.Append();
  g.Write("part");
  g.WriteLn(" two");
  g.Close();
  EXPECT_EQ("\r\n" + std::string(40, '-') + "\r\npart two\r\n", tq::testing::FileBytes(log));
  TTextFile h(log);
  h.Rewrite();  // truncates
  h.WriteLn("new");
  h.Close();
  EXPECT_EQ("new\r\n", tq::testing::FileBytes(log));
}

TEST_F(TTextFileTest, ReadLinesWithAnyLineEnd) {
  tq::testing::WriteBytes(Path("t.txt"), "one\r\ntwo\nthree\rfour");
  TTextFile f(Path("t.txt"));
  f.Reset();
  std::vector<std::string> lines;
  while (!f.Eof()) lines.push_back(f.ReadLn());
  EXPECT_EQ((std::vector<std::string>{"one", "two", "three", "four"}), lines);
  std::string s = "x";
  f.ReadLn(s);  // past the end: empty
  EXPECT_EQ("", s);
}

TEST_F(TTextFileTest, ReadIntTakesANumberThenTheRestOfItsLine) {
  tq::testing::WriteBytes(Path("n.dat"), "  12 ignored text\r\n\r\n  $1F\r\nname\r\n-3");
  TTextFile f(Path("n.dat"));
  f.Reset();
  EXPECT_EQ(12, f.ReadInt());
  EXPECT_EQ(31, f.ReadInt());  // blank lines are skipped before a number
  EXPECT_EQ("name", f.ReadLn());
  int v = 0;
  f.ReadLn(v);
  EXPECT_EQ(-3, v);
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(0, f.ReadInt());  // nothing left: 0
}

TEST_F(TTextFileTest, ErrorsCarryPascalNumbers) {
  struct C {
    std::function<void(TTextFile&)> Run;
    int Code;
    const char* Message;
  } cases[] = {
      {[&](TTextFile& f) { f.Assign(Path("missing.txt")); f.Reset(); }, 2, "File not found"},
      {[&](TTextFile& f) { f.Assign(Path("nodir") + "\\x.txt"); f.Rewrite(); }, 3, "Path not found"},
      {[&](TTextFile& f) { f.Assign(Path("a.txt")); f.WriteLn("x"); }, 103, "File not open"},
      {[&](TTextFile& f) { f.Assign(Path("a.txt")); f.Rewrite(); f.ReadLn(); }, 104, "File not open for input"},
      {[&](TTextFile& f) { tq::testing::WriteBytes(Path("b.txt"), "x"); f.Assign(Path("b.txt")); f.Reset(); f.WriteLn("y"); },
       105, "File not open for output"},
      {[&](TTextFile& f) { tq::testing::WriteBytes(Path("c.txt"), "abc\r\n"); f.Assign(Path("c.txt")); f.Reset(); f.ReadInt(); },
       106, "Invalid numeric input"},
  };
  for (const C& c : cases) {
    TTextFile f;
    try {
      c.Run(f);
      ADD_FAILURE() << "no error for " << c.Code;
    } catch (const EInOutError& e) {
      EXPECT_EQ(c.Code, e.ErrorCode);
      EXPECT_EQ(c.Message, e.Message);
    }
  }
}
