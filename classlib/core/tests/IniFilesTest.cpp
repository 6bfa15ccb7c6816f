#include <gtest/gtest.h>

#include "IniFiles.h"
#include "TempDir.h"

using namespace tq;

class TIniFileTest : public tq::testing::TempDirTest {
 protected:
  std::string IniPath() const { return Path("setup.ini"); }
};

TEST_F(TIniFileTest, WritesTheFileWindowsProgramsRead) {
  TIniFile ini(IniPath());
  ini.WriteString("Setup", "Package", "Sample.msi");
  ini.WriteInteger("Setup", "Vantrel", 1);
  ini.WriteBool("Setup", "Sorvex", false);
  ini.WriteString("Version", "Version", "1.0");
  ini.WriteString("setup", "PACKAGE", "Other.msi");  // same key, any case: replaced in place
  EXPECT_EQ("[Setup]\r\nPackage=Other.msi\r\nVantrel=1\r\nSorvex=0\r\n[Version]\r\nVersion=1.0\r\n",
            tq::testing::FileBytes(IniPath()));
  // Another reader sees the writes at once.
  TIniFile other(IniPath());
  EXPECT_EQ("Other.msi", other.ReadString("SETUP", "package", ""));
  EXPECT_EQ(1, other.ReadInteger("Setup", "Vantrel", 0));
  EXPECT_FALSE(other.ReadBool("Setup", "Sorvex", true));
}

TEST_F(TIniFileTest, ReadsHandWrittenFiles) {
  tq::testing::WriteBytes(IniPath(),
                   "; comment\n[AllowedUpdates]\n  From1.0To1.1 = Yes  \nQuoted=\"  padded  \"\nHex=0x10\n"
                   "Dollar=$20\nBad=12a\nnovalue\n\n[ Empty ]\n[Other]\nk=v\n");
  TIniFile ini(IniPath());
  EXPECT_EQ("Yes", ini.ReadString("AllowedUpdates", "From1.0To1.1", "No"));
  EXPECT_EQ("  padded  ", ini.ReadString("AllowedUpdates", "Quoted", ""));
  EXPECT_EQ(16, ini.ReadInteger("AllowedUpdates", "Hex", 0));
  EXPECT_EQ(32, ini.ReadInteger("AllowedUpdates", "Dollar", 0));
  EXPECT_EQ(-1, ini.ReadInteger("AllowedUpdates", "Bad", -1));
  EXPECT_EQ("def", ini.ReadString("AllowedUpdates", "novalue", "def"));
  EXPECT_EQ("def", ini.ReadString("Missing", "k", "def"));
  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ("AllowedUpdates,Empty,Other", list.CommaText());
  ini.ReadSection("allowedupdates", list);
  EXPECT_EQ("From1.0To1.1,Quoted,Hex,Dollar,Bad", list.CommaText());
  ini.ReadSectionValues("Other", list);
  EXPECT_EQ("k=v", list.CommaText());
  EXPECT_TRUE(ini.SectionExists("other"));
  EXPECT_FALSE(ini.SectionExists("Empty"));
  EXPECT_TRUE(ini.ValueExists("Other", "K"));
  EXPECT_FALSE(ini.ValueExists("Other", "x"));
}

TEST_F(TIniFileTest, EditsKeepTheRestOfTheFile) {
  tq::testing::WriteBytes(IniPath(), "; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  TIniFile ini(IniPath());
  ini.WriteString("A", "z", "3");  // after the section's last key, before the blank line
  EXPECT_EQ("; keep me\r\n[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n", tq::testing::FileBytes(IniPath()));
  ini.DeleteKey("a", "X");
  EXPECT_EQ("; keep me\r\n[A]\r\nz=3\r\n\r\n[B]\r\ny=2\r\n", tq::testing::FileBytes(IniPath()));
  ini.EraseSection("B");
  EXPECT_EQ("; keep me\r\n[A]\r\nz=3\r\n\r\n", tq::testing::FileBytes(IniPath()));
  ini.EraseSection("Missing");
  ini.DeleteKey("A", "missing");
  EXPECT_EQ("; keep me\r\n[A]\r\nz=3\r\n\r\n", tq::testing::FileBytes(IniPath()));
}

TEST_F(TIniFileTest, AnUnwritableFileRaises) {
  TIniFile ini(Path("no-folder") + "\\x.ini");
  EXPECT_EQ("d", ini.ReadString("S", "k", "d"));
  try {
    ini.WriteString("S", "k", "v");
    FAIL();
  } catch (const EIniFileException& e) {
    EXPECT_EQ("Unable to write to " + ini.FileName(), e.Message);
  }
}
