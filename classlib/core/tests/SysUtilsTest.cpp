#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "SysUtils.h"

using namespace tq;

TEST(Exception, CarriesItsMessage) {
  try {
    throw tq::Exception("Cannot open file x");
  } catch (const std::exception& e) {
    EXPECT_STREQ("Cannot open file x", e.what());
  }
}

TEST(Exception, FormatsItsMessageAndKeepsItsClass) {
  try {
    throw EFOpenError("Cannot open file %s", {"C:\\a.txt"});
  } catch (const EStreamError& e) {
    EXPECT_EQ("Cannot open file C:\\a.txt", e.Message);
  }
  EInOutError io(5, "File access denied");
  EXPECT_EQ(5, io.ErrorCode);
  EXPECT_EQ(0, EInOutError("x %d", {3}).ErrorCode);
  EXPECT_EQ("x 3", EInOutError("x %d", {3}).Message);
}

TEST(Exception, DisplayTextAddsAFullStopAfterLettersOnly) {
  EXPECT_EQ("Disk full.", ExceptionDisplayText("Disk full"));
  EXPECT_EQ("Done.", ExceptionDisplayText("Done."));
  EXPECT_EQ("Really?.", ExceptionDisplayText("Really?"));  // '?' sorts after '.'
  EXPECT_EQ("Error 5.", ExceptionDisplayText("Error 5"));  // '5' (0x35) sorts after '.'
  EXPECT_EQ("a!", ExceptionDisplayText("a!"));             // '!' sorts before '.'
  EXPECT_EQ("(x)", ExceptionDisplayText("(x)"));           // ')' sorts before '.'
  EXPECT_EQ("", ExceptionDisplayText(""));
}

// ---- Format ----------------------------------------------------------------

struct FormatCase {
  const char* Fmt;
  std::function<std::string(const char*)> Run;
  const char* Expected;
};

TEST(Format, Specifiers) {
  int x = 0;
  const void* p = &x;
  char pointerText[40];
  std::snprintf(pointerText, sizeof pointerText, "%0*llX", static_cast<int>(sizeof(void*) * 2),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
  const FormatCase cases[] = {
      {"%s", [](const char* f) { return Format(f, {"abc"}); }, "abc"},
      {"[%5s]", [](const char* f) { return Format(f, {"ab"}); }, "[   ab]"},
      {"[%-5s]", [](const char* f) { return Format(f, {"ab"}); }, "[ab   ]"},
      {"[%.2s]", [](const char* f) { return Format(f, {"abcdef"}); }, "[ab]"},
      {"%s", [](const char* f) { return Format(f, {std::string("std")}); }, "std"},
      {"%s", [](const char* f) { return Format(f, {'c'}); }, "c"},
      {"%d", [](const char* f) { return Format(f, {-42}); }, "-42"},
      {"%d", [](const char* f) { return Format(f, {int64_t(1) << 40}); }, "1099511627776"},
      {"[%4d]", [](const char* f) { return Format(f, {7}); }, "[   7]"},
      {"[%-4d]", [](const char* f) { return Format(f, {7}); }, "[7   ]"},
      {"%.3d", [](const char* f) { return Format(f, {7}); }, "007"},
      {"%.3d", [](const char* f) { return Format(f, {-7}); }, "-007"},
      {"[%5.3d]", [](const char* f) { return Format(f, {7}); }, "[  007]"},
      {"%.1d of %.1d", [](const char* f) { return Format(f, {3, 12}); }, "3 of 12"},
      {"%u", [](const char* f) { return Format(f, {-1}); }, "4294967295"},
      {"%u", [](const char* f) { return Format(f, {3000000000u}); }, "3000000000"},
      {"%x", [](const char* f) { return Format(f, {255}); }, "ff"},
      {"%X", [](const char* f) { return Format(f, {255}); }, "FF"},
      {"#%.6x", [](const char* f) { return Format(f, {0x00C0FF}); }, "#00c0ff"},
      {"%x", [](const char* f) { return Format(f, {-1}); }, "ffffffff"},
      {"%.8X", [](const char* f) { return Format(f, {0x1234}); }, "00001234"},
      {"%f", [](const char* f) { return Format(f, {3.14159}); }, "3.14"},
      {"%.1f", [](const char* f) { return Format(f, {2.25}); }, "2.2"},
      {"%.0f", [](const char* f) { return Format(f, {-0.4}); }, "0"},
      {"%.3f", [](const char* f) { return Format(f, {1.0}); }, "1.000"},
      {"[%8.2f]", [](const char* f) { return Format(f, {-1.5}); }, "[   -1.50]"},
      {"%n", [](const char* f) { return Format(f, {1234567.891}); }, "1,234,567.89"},
      {"%.0n", [](const char* f) { return Format(f, {-1234.0}); }, "-1,234"},
      {"%n", [](const char* f) { return Format(f, {999.0}); }, "999.00"},
      {"%g", [](const char* f) { return Format(f, {1.5}); }, "1.5"},
      {"%g", [](const char* f) { return Format(f, {100.0}); }, "100"},
      {"%g", [](const char* f) { return Format(f, {0.0001}); }, "0.0001"},
      {"%g", [](const char* f) { return Format(f, {0.00001}); }, "1E-5"},
      {"%g", [](const char* f) { return Format(f, {1e20}); }, "1E20"},
      {"%e", [](const char* f) { return Format(f, {1234.5}); }, "1.23450000000000E+003"},
      {"%.3e", [](const char* f) { return Format(f, {-0.000123}); }, "-1.23E-004"},
      {"%%d", [](const char* f) { return Format(f, {}); }, "%d"},
      {"100%%", [](const char* f) { return Format(f, {}); }, "100%"},
      {"%1:s %0:s %s", [](const char* f) { return Format(f, {"a", "b", "c"}); }, "b a b"},
      {"%0:s-%0:s", [](const char* f) { return Format(f, {"x"}); }, "x-x"},
      {"[%*d]", [](const char* f) { return Format(f, {5, 42}); }, "[   42]"},
      {"[%-*s]", [](const char* f) { return Format(f, {3, "a"}); }, "[a  ]"},
      {"[%.*f]", [](const char* f) { return Format(f, {1, 2.26}); }, "[2.3]"},
      {"Cabinet error %d (type %d)", [](const char* f) { return Format(f, {4, 2}); }, "Cabinet error 4 (type 2)"},
      {"%s", [](const char* f) { return Format(f, {""}); }, ""},
  };
  for (const FormatCase& c : cases) EXPECT_EQ(c.Expected, c.Run(c.Fmt)) << c.Fmt;
  EXPECT_EQ(pointerText, Format("%p", {p}));
}

TEST(Format, RejectsMissingAndMistypedArguments) {
  struct Bad {
    const char* Fmt;
    std::function<void(const char*)> Run;
  };
  const Bad cases[] = {
      {"%d", [](const char* f) { Format(f, {"12"}); }},
      {"%s", [](const char* f) { Format(f, {12}); }},
      {"%f", [](const char* f) { Format(f, {12}); }},
      {"%d", [](const char* f) { Format(f, {1.5}); }},
      {"%x", [](const char* f) { Format(f, {"a"}); }},
      {"%p", [](const char* f) { Format(f, {1}); }},
      {"%d %d", [](const char* f) { Format(f, {1}); }},
      {"%5:d", [](const char* f) { Format(f, {1}); }},
      {"%y", [](const char* f) { Format(f, {1}); }},
      {"abc%", [](const char* f) { Format(f, {}); }},
      {"%*d", [](const char* f) { Format(f, {"w", 1}); }},
  };
  for (const Bad& c : cases) EXPECT_THROW(c.Run(c.Fmt), EConvertError) << c.Fmt;
  try {
    Format("%d", {"x"});
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ("Format '%d' invalid or incompatible with argument", e.Message);
  }
  try {
    Format("%d %d", {1});
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ("No argument for format '%d %d'", e.Message);
  }
}

// ---- Strings -------------------------------------------------------------------

TEST(Strings, PosCountsFromOne) {
  EXPECT_EQ(1, Pos("a", "abc"));
  EXPECT_EQ(3, Pos("c", "abc"));
  EXPECT_EQ(2, Pos("bc", "abcbc"));
  EXPECT_EQ(0, Pos("x", "abc"));
  EXPECT_EQ(0, Pos("", "abc"));
  EXPECT_EQ(0, Pos("a", ""));
  EXPECT_EQ(0, Pos("abcd", "abc"));
  EXPECT_EQ(0, Pos("A", "abc"));  // case matters
  EXPECT_EQ(4, PosEx("bc", "abcbc", 3));
  EXPECT_EQ(0, PosEx("bc", "abcbc", 9));
  EXPECT_EQ(0, PosEx("bc", "abcbc", 0));
}

TEST(Strings, CopyToleratesAnyRange) {
  struct C {
    int Index, Count;
    const char* Expected;
  } cases[] = {
      {1, 3, "abc"}, {2, 2, "bc"}, {4, 1, "d"},  {4, 100, "de"}, {0, 2, "ab"},  {-5, 2, "ab"},
      {6, 1, ""},    {99, 1, ""},  {2, 0, ""},   {2, -1, ""},    {1, INT32_MAX, "abcde"},
  };
  for (const C& c : cases) EXPECT_EQ(c.Expected, Copy("abcde", c.Index, c.Count)) << c.Index << "," << c.Count;
  EXPECT_EQ("cde", Copy("abcde", 3));
  EXPECT_EQ("", Copy("", 1, 5));
}

TEST(Strings, DeleteAndInsert) {
  std::string s = "abcdef";
  Delete(s, 2, 2);
  EXPECT_EQ("adef", s);
  Delete(s, 3, 100);
  EXPECT_EQ("ad", s);
  Delete(s, 0, 1);  // out of range: nothing
  Delete(s, 5, 1);
  EXPECT_EQ("ad", s);
  Insert("XY", s, 2);
  EXPECT_EQ("aXYd", s);
  Insert("<", s, 0);
  EXPECT_EQ("<aXYd", s);
  Insert(">", s, 99);
  EXPECT_EQ("<aXYd>", s);
}

TEST(Strings, TrimCaseAndCompare) {
  EXPECT_EQ("a b", Trim(" \t a b\r\n"));
  EXPECT_EQ("a ", TrimLeft("  a "));
  EXPECT_EQ("  a", TrimRight("  a \x01"));
  EXPECT_EQ("ABC\xE9", UpperCase("abc\xE9"));
  EXPECT_EQ("ABC\xC9", AnsiUpperCase("abc\xE9"));
  EXPECT_EQ("abc\xE9", AnsiLowerCase("ABC\xC9"));
  EXPECT_EQ(0, CompareText("Hello", "hELLO"));
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("abc", "ab"), 0);
  EXPECT_TRUE(SameText("Setup.INI", "setup.ini"));
  EXPECT_FALSE(SameText("a", "ab"));
  EXPECT_LT(CompareStr("A", "a"), 0);
  EXPECT_EQ(0, AnsiCompareText("\xC9t\xE9", "\xE9T\xC9"));
  EXPECT_LT(AnsiCompareText("a_b", "ab"), 0);  // punctuation before letters
  EXPECT_LT(AnsiCompareStr("a", "A"), 0);
  EXPECT_LT(AnsiCompareStr("A", "b"), 0);
}

TEST(Strings, StringReplaceFlags) {
  EXPECT_EQ("xbab", StringReplace("abab", "a", "x"));
  EXPECT_EQ("xbxb", StringReplace("abab", "a", "x", rfReplaceAll));
  EXPECT_EQ("abab", StringReplace("abab", "A", "x", rfReplaceAll));
  EXPECT_EQ("xbxB", StringReplace("AbaB", "a", "x", rfReplaceAll | rfIgnoreCase));
  EXPECT_EQ("aaa", StringReplace("aa", "a", "aa"));
  EXPECT_EQ("aaaa", StringReplace("aa", "a", "aa", rfReplaceAll));  // no re-scan of the replacement
  EXPECT_EQ("A_B_C", StringReplace("A-B-C", "-", "_", rfReplaceAll));
  EXPECT_EQ("abc", StringReplace("abc", "", "x", rfReplaceAll));
}

TEST(Conversions, StrToIntAcceptsPascalSyntaxAndRejectsTheRest) {
  struct C {
    const char* Text;
    int Value;
  } good[] = {{"0", 0},           {"42", 42},        {"-42", -42}, {"+7", 7},         {"  12", 12},
              {"$FF", 255},       {"0x1f", 31},      {"$FFFFFFFF", -1}, {"2147483647", 2147483647},
              {"-2147483648", INT32_MIN}};
  for (const C& c : good) EXPECT_EQ(c.Value, StrToInt(c.Text)) << c.Text;
  const char* bad[] = {"", " ", "12 ", "1.5", "abc", "2147483648", "-2147483649", "$", "$1G", "--1", "0x", "1e3"};
  for (const char* b : bad) {
    try {
      StrToInt(b);
      ADD_FAILURE() << "accepted '" << b << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string("'") + b + "' is not a valid integer value", e.Message);
    }
  }
  EXPECT_EQ(-3, StrToIntDef("x", -3));
  EXPECT_EQ(9, StrToIntDef("9", -3));
  int v = 5;
  EXPECT_FALSE(TryStrToInt("9x", v));
  EXPECT_EQ(5, v);
  EXPECT_EQ(int64_t(1) << 40, StrToInt64("1099511627776"));
}

TEST(Conversions, IntAndFloatToText) {
  EXPECT_EQ("-12", IntToStr(-12));
  EXPECT_EQ("9223372036854775807", IntToStr(INT64_MAX));
  EXPECT_EQ("00FF", IntToHex(255, 4));
  EXPECT_EQ("1234", IntToHex(0x1234, 2));
  EXPECT_EQ("FFFFFFFF", IntToHex(-1, 8));
  const std::pair<double, const char*> floats[] = {
      {0, "0"},       {1.5, "1.5"},   {-2, "-2"},      {0.1, "0.1"},     {1.0 / 3, "0.333333333333333"},
      {1e15, "1E15"}, {123456789012345.0, "123456789012345"}, {1e-5, "1E-5"}, {2.5e-7, "2.5E-7"}};
  for (const auto& [v, text] : floats) EXPECT_EQ(text, FloatToStr(v)) << v;
  EXPECT_DOUBLE_EQ(2.5, StrToFloat(" 2.5 "));
  EXPECT_DOUBLE_EQ(-1e3, StrToFloat("-1E3"));
  EXPECT_THROW(StrToFloat("2,5"), EConvertError);
  EXPECT_THROW(StrToFloat("inf"), EConvertError);
}

TEST(Strings, QuotesAndDelimiters) {
  EXPECT_EQ("'it''s'", QuotedStr("it's"));
  EXPECT_EQ("''", QuotedStr(""));
  EXPECT_EQ("\"a\"\"b\"", AnsiQuotedStr("a\"b", '"'));
  EXPECT_EQ("a\"b", AnsiDequotedStr("\"a\"\"b\"", '"'));
  EXPECT_EQ(3, LastDelimiter("\\:", "C:\\dir"));
  EXPECT_EQ(0, LastDelimiter(".", "noext"));
}

TEST(Paths, PartsOfWindowsPaths) {
  struct C {
    const char* Name;
    const char* Path;
    const char* Dir;
    const char* File;
    const char* Ext;
    const char* Drive;
  } cases[] = {
      {"C:\\dir\\sub\\file.txt", "C:\\dir\\sub\\", "C:\\dir\\sub", "file.txt", ".txt", "C:"},
      {"C:\\file", "C:\\", "C:\\", "file", "", "C:"},
      {"C:file.a.b", "C:", "C:", "file.a.b", ".b", "C:"},
      {"file.txt", "", "", "file.txt", ".txt", ""},
      {"C:\\dir.x\\file", "C:\\dir.x\\", "C:\\dir.x", "file", "", "C:"},
      {"\\\\server\\share\\f.ini", "\\\\server\\share\\", "\\\\server\\share", "f.ini", ".ini", "\\\\server\\share"},
      {"C:\\dir\\", "C:\\dir\\", "C:\\dir", "", "", "C:"},
      {"", "", "", "", "", ""},
  };
  for (const C& c : cases) {
    EXPECT_EQ(c.Path, ExtractFilePath(c.Name)) << c.Name;
    EXPECT_EQ(c.Dir, ExtractFileDir(c.Name)) << c.Name;
    EXPECT_EQ(c.File, ExtractFileName(c.Name)) << c.Name;
    EXPECT_EQ(c.Ext, ExtractFileExt(c.Name)) << c.Name;
    EXPECT_EQ(c.Drive, ExtractFileDrive(c.Name)) << c.Name;
  }
  EXPECT_EQ("C:\\a\\b.msi", ChangeFileExt("C:\\a\\b.ipr", ".msi"));
  EXPECT_EQ("C:\\a.x\\b.msi", ChangeFileExt("C:\\a.x\\b", ".msi"));
  EXPECT_EQ("b", ChangeFileExt("b.ipr", ""));
  EXPECT_EQ("C:\\a\\", IncludeTrailingPathDelimiter("C:\\a"));
  EXPECT_EQ("C:\\a\\", IncludeTrailingPathDelimiter("C:\\a\\"));
  EXPECT_EQ("\\", IncludeTrailingPathDelimiter(""));
  EXPECT_EQ("C:\\a", ExcludeTrailingPathDelimiter("C:\\a\\"));
  EXPECT_EQ("C:\\a", ExcludeTrailingPathDelimiter("C:\\a"));
}

#ifdef _WIN32
TEST(Paths, ExpandFileNameResolvesDots) {
  EXPECT_EQ("C:\\a\\c.txt", ExpandFileName("C:\\a\\b\\..\\.\\c.txt"));
  EXPECT_EQ("C:\\a\\", ExpandFileName("C:\\a\\"));
}
#else
TEST(Paths, ExpandFileNameResolvesDots) {
  EXPECT_EQ("/a/c.txt", ExpandFileName("/a/b/../././c.txt"));
  EXPECT_EQ("/a/c.txt", ExpandFileName("\\a\\b\\..\\c.txt"));
  EXPECT_EQ("/", ExpandFileName("/.."));
}
#endif
