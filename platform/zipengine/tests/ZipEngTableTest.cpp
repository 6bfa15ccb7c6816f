// Command record in, archive out: one case per row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineHarness.h"
#include "kit/ZipTestKit.h"

namespace tq::ziptest {
namespace {

struct TSourceFile {
  std::string RelPath;  // below the case's source folder
  TBytes Data;
};

struct TExpected {
  std::string Name;
  uint16_t Method;       // 0 stored, 8 deflated
  std::string RelPath;   // source compared with (empty: a folder entry)
};

struct TTableCase {
  std::string Title;
  std::vector<TSourceFile> Files;
  std::vector<std::string> Specs;  // relative to the source folder
  std::vector<TExpected> Expected;
  int Level = 9;
  bool KeepFolders = false;        // names relative to the source folder
  bool FolderEntries = false;
  bool Recurse = false;
  std::vector<std::string> Excludes;
  std::string Suffixes = kDefaultSuffixes;
};

void PrintTo(const TTableCase& c, std::ostream* os) { *os << c.Title; }

TBytes Text(size_t lines) {
  std::string s;
  for (size_t i = 0; i < lines; ++i) s += "Line " + std::to_string(i) + " of a setup read-me text.\r\n";
  return Bytes(s);
}

std::vector<TTableCase> Cases() {
  return {
      {"OneFile", {{"readme.txt", Text(50)}}, {"readme.txt"}, {{"readme.txt", 8, "readme.txt"}}},
      {"SeveralFilesInSpecOrder",
       {{"b.txt", Text(10)}, {"a.txt", Text(20)}, {"c.ini", Bytes("[Setup]\r\nVersion=1.0\r\n")}},
       {"c.ini", "a.txt", "b.txt"},
       // The short ini text does not shrink: stored.
       {{"c.ini", 0, "c.ini"}, {"a.txt", 8, "a.txt"}, {"b.txt", 8, "b.txt"}}},
      {"StoredSuffixes",
       {{"pic.gif", Text(40)}, {"Data1.CAB", Text(40)}, {"src.tgz", Text(40)}, {"prog.exe", Text(40)},
        {"lib.jar", Text(40)}, {"x.gz", Text(40)}},
       {"pic.gif", "Data1.CAB", "src.tgz", "prog.exe", "lib.jar", "x.gz"},
       {{"pic.gif", 0, "pic.gif"}, {"Data1.CAB", 0, "Data1.CAB"}, {"src.tgz", 0, "src.tgz"},
        {"prog.exe", 8, "prog.exe"}, {"lib.jar", 0, "lib.jar"}, {"x.gz", 0, "x.gz"}}},
      {"NoSuffixListDeflatesAll",
       {{"pic.gif", Text(40)}},
       {"pic.gif"},
       {{"pic.gif", 8, "pic.gif"}},
       9, false, false, false, {}, ""},
      {"EmptyFile", {{"empty.txt", {}}}, {"empty.txt"}, {{"empty.txt", 0, "empty.txt"}}},
      {"NamesWithBlanks",
       {{"My Product Setup.msi", Text(30)}, {"Uninstall My Product.exe", Text(5)}},
       {"My Product Setup.msi", "Uninstall My Product.exe"},
       {{"My Product Setup.msi", 8, "My Product Setup.msi"},
        {"Uninstall My Product.exe", 8, "Uninstall My Product.exe"}}},
      {"IncompressibleDataStored", {{"noise.bin", NoiseBytes(100000, 7)}}, {"noise.bin"},
       {{"noise.bin", 0, "noise.bin"}}},
      {"LevelZeroStoresAll", {{"a.txt", Text(40)}}, {"a.txt"}, {{"a.txt", 0, "a.txt"}}, 0},
      {"LargerThanOneBlock", {{"big.txt", Text(20000)}}, {"big.txt"}, {{"big.txt", 8, "big.txt"}}},
      {"FolderNamesKept",
       {{"top.txt", Text(3)}, {"sub\\inner.txt", Text(4)}},
       {"top.txt", "sub\\inner.txt"},
       {{"top.txt", 8, "top.txt"}, {"sub/inner.txt", 8, "sub\\inner.txt"}},
       9, true},
      {"FolderEntries",
       {{"sub\\deeper\\inner.txt", Text(4)}},
       {"sub\\deeper\\inner.txt"},
       {{"sub/", 0, ""}, {"sub/deeper/", 0, ""}, {"sub/deeper/inner.txt", 8, "sub\\deeper\\inner.txt"}},
       9, true, true},
      {"WildcardRecurseWithExclusion",
       {{"a.txt", Text(3)}, {"b.log", Text(3)}, {"s\\c.txt", Text(3)}, {"s\\d.txt", Text(3)}},
       {"*.txt"},
       {{"a.txt", 8, "a.txt"}, {"s/c.txt", 8, "s\\c.txt"}},
       9, true, false, true, {"d.*"}},
      {"MissingSpecSkipped", {{"here.txt", Text(3)}}, {"gone.txt", "here.txt"}, {{"here.txt", 8, "here.txt"}}},
  };
}

class ZipEngTable : public ::testing::TestWithParam<TTableCase> {
 protected:
  TEngine Engine;
};

TEST_P(ZipEngTable, WritesTheArchive) {
  ASSERT_TRUE(Engine.Loaded());
  const TTableCase& c = GetParam();
  std::string work = WorkFolder("table-" + c.Title);
  std::string src = FreshFolder(work + "src");
  for (const auto& f : c.Files) {
    size_t slash = f.RelPath.find_last_of('\\');
    if (slash != std::string::npos) FreshFolder(src + f.RelPath.substr(0, slash));
  }
  for (const auto& f : c.Files) WriteFileBytes(src + f.RelPath, f.Data);
  std::string archive = work + "out.zip";

  TCommand cmd(archive);
  for (const auto& s : c.Specs) cmd.Spec(c.KeepFolders ? s : src + s, c.KeepFolders ? src : "", c.Recurse);
  for (const auto& e : c.Excludes) cmd.Exclude(e);
  cmd.Level = c.Level;
  cmd.JunkDir = !c.KeepFolders;
  cmd.NoDirEntries = !c.FolderEntries;
  cmd.Suffixes = c.Suffixes;
  size_t files = 0;
  for (const auto& e : c.Expected) files += e.RelPath.empty() ? 0 : 1;
  EXPECT_EQ(cmd.Run(Engine), int32_t(files));

  TArchive a = ReadArchive(ReadFileBytes(archive));
  ASSERT_EQ(a.Members.size(), c.Expected.size());
  for (size_t i = 0; i < c.Expected.size(); ++i) {
    const TMember& m = a.Members[i];
    const TExpected& e = c.Expected[i];
    SCOPED_TRACE(e.Name);
    EXPECT_EQ(m.Name, e.Name);
    EXPECT_EQ(m.Method, e.Method);
    EXPECT_EQ(m.Flags & 0x0009, 0) << "neither encrypted nor with a data descriptor";
    EXPECT_EQ(m.VersionMadeBy, 20) << "version 2.0, MS-DOS names";
    EXPECT_EQ(m.LocalCrc, m.Crc);
    EXPECT_EQ(m.LocalCompressedSize, m.CompressedSize);
    EXPECT_EQ(m.LocalSize, m.Size);
    if (e.RelPath.empty()) {
      EXPECT_EQ(m.Size, 0u);
      EXPECT_TRUE(m.ExternalAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } else {
      EXPECT_EQ(m.Data, ReadFileBytes(src + e.RelPath));
    }
  }
  std::vector<std::string> left = FilesIn(work);
  EXPECT_EQ(left, (std::vector<std::string>{"out.zip", "src"})) << "no temporary archive left";
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipEngTable, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.Title; });

}  // namespace
}  // namespace tq::ziptest
