// Cabinets written by TCabinetWriter and extracted again by TCabinetReader.
#include "CabinetTestSupport.h"

namespace tq::testing {
namespace {

using CabinetRoundTrip = CabinetFixture;

TEST_F(CabinetRoundTrip, MembersComeBackWithContentInTheOrderAdded) {
  std::vector<TMember> members = {
      {"FILE1Sreadme.txt", "Read me first.\r\n"},
      {"FILE2SMy App's Data.dll", Incompressible(70000, 7)},
      {"FILE3Sempty.dat", ""},
      {"FILE4Sbig.txt", Compressible(3 * 1000 * 1000)},  // several folders
      {"FILE5Snoise.bin", Incompressible(400000, 9)},    // not compressible at all
      {"FILE6Sa b c.txt", "blanks"},
  };
  std::string cab = WriteCabinet(members);
  ASSERT_TRUE(Exists(cab));
  std::string out = MakeDir("out");
  std::vector<std::string> order = Extract(cab, out);

  std::vector<std::string> expected;
  for (const TMember& m : members) expected.push_back(m.Name);
  EXPECT_EQ(order, expected);
  for (const TMember& m : members) {
    std::string got = ReadAll(out + m.Name);
    EXPECT_EQ(got.size(), m.Content.size()) << m.Name;
    EXPECT_TRUE(got == m.Content) << m.Name;
  }
  EXPECT_EQ(WriterFiles->OpenCount(), 0);
  EXPECT_EQ(ReaderFiles->OpenCount(), 0);
}

TEST_F(CabinetRoundTrip, CompressibleDataIsCompressed) {
  std::string cab = WriteCabinet({{"FILE1Sbig.txt", Compressible(2000000)}});
  HANDLE h = CreateFileA(cab.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD size = GetFileSize(h, nullptr);
  CloseHandle(h);
  EXPECT_LT(size, 200000u);
}

TEST_F(CabinetRoundTrip, ReaderKeepsItsContextForLaterExtractions) {
  std::string first = WriteCabinet({{"FILE1Sone.txt", "one"}}, "first.cab");
  std::string second = WriteCabinet({{"FILE1Stwo.txt", "two"}}, "second.cab");
  std::string out = MakeDir("out");
  Reader->ExtractFiles(first, out, 0);
  Reader->ExtractFiles(second, out, 0);
  EXPECT_EQ(ReadAll(out + "FILE1Sone.txt"), "one");
  EXPECT_EQ(ReadAll(out + "FILE1Stwo.txt"), "two");
}

TEST_F(CabinetRoundTrip, DestinationWithoutBackslashIsTheFolderItself) {
  std::string cab = WriteCabinet({{"FILE1Sx.txt", "x"}});
  std::string out = MakeDir("out");
  std::string bare = out.substr(0, out.size() - 1);
  Reader->ExtractFiles(cab, bare, 0);
  EXPECT_EQ(Reader->DestinationPath(), out);
  EXPECT_EQ(ReadAll(out + "FILE1Sx.txt"), "x");
  EXPECT_FALSE(Exists(bare + "FILE1Sx.txt"));
}

TEST_F(CabinetRoundTrip, EmptyDestinationMeansTheCurrentFolder) {
  std::string cab = WriteCabinet({{"FILE1Shere.txt", "here"}});
  std::string out = MakeDir("cwd");
  char old[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old);
  ASSERT_TRUE(SetCurrentDirectoryA(out.c_str()));
  Reader->ExtractFiles(cab, "", 0);
  SetCurrentDirectoryA(old);
  EXPECT_EQ(Reader->DestinationPath(), "");
  EXPECT_EQ(ReadAll(out + "FILE1Shere.txt"), "here");
}

// Sets a file's last-write time (UTC, whole even seconds for the DOS format).
void SetWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD min,
                  WORD sec) {
  SYSTEMTIME st = {};
  st.wYear = year;
  st.wMonth = month;
  st.wDay = day;
  st.wHour = hour;
  st.wMinute = min;
  st.wSecond = sec;
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);
}

SYSTEMTIME WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  SYSTEMTIME st = {};
  FileTimeToSystemTime(&data.ftLastWriteTime, &st);
  return st;
}

TEST_F(CabinetRoundTrip, DateTimeAndAttributesTravelButReadOnlyStaysBehind) {
  std::string plain = Source("FILE1Splain.txt", "plain");
  std::string marked = Source("FILE2Smarked.txt", "marked");
  SetWriteTime(plain, 2001, 2, 3, 4, 5, 6);
  SetWriteTime(marked, 2010, 11, 12, 13, 14, 16);
  SetFileAttributesA(marked.c_str(),
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  std::string cab = Dir + "attr.cab";
  Writer->Open(cab, "", 2147483647, 900000, 0);
  Writer->AddFile(plain, "FILE1Splain.txt", false, CompressionMSZIP());
  Writer->AddFile(marked, "FILE2Smarked.txt", false, CompressionMSZIP());
  Writer->FlushCabinet(false);
  Writer->Close();
  SetFileAttributesA(marked.c_str(), FILE_ATTRIBUTE_NORMAL);

  // What the cabinet stores: DOS attributes only. A plain file reports itself
  // as "normal" (0x80), which in a cabinet would say "name is UTF-8".
  std::vector<std::pair<std::string, uint16_t>> stored;
  Reader->OnCopyFile = [&](TObject*, const std::string& name, int, uint16_t, uint16_t,
                           uint16_t attribs, TFileCopyAction& action, THandle&) {
    stored.emplace_back(name, attribs);
    action = fcaDefault;
  };
  std::string out = MakeDir("out");
  Reader->ExtractFiles(cab, out, 0);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].second & ~FILE_ATTRIBUTE_ARCHIVE, 0);
  EXPECT_EQ(stored[1].second, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

  SYSTEMTIME t1 = WriteTime(out + "FILE1Splain.txt"), t2 = WriteTime(out + "FILE2Smarked.txt");
  EXPECT_EQ(std::vector<int>({t1.wYear, t1.wMonth, t1.wDay, t1.wHour, t1.wMinute, t1.wSecond}),
            std::vector<int>({2001, 2, 3, 4, 5, 6}));
  EXPECT_EQ(std::vector<int>({t2.wYear, t2.wMonth, t2.wDay, t2.wHour, t2.wMinute, t2.wSecond}),
            std::vector<int>({2010, 11, 12, 13, 14, 16}));
  DWORD a2 = GetFileAttributesA((out + "FILE2Smarked.txt").c_str());
  EXPECT_TRUE(a2 & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(a2 & FILE_ATTRIBUTE_READONLY);
  // A work folder with extracted files can be emptied.
  EXPECT_TRUE(DeleteFileA((out + "FILE2Smarked.txt").c_str()));
}

TEST_F(CabinetRoundTrip, OnlyDosAttributesAndTheExecuteFlagReachTheCabinet) {
  // Whatever attribute word a handler gives, the cabinet gets the DOS bits;
  // "run after extraction" comes from AddFile's Execute alone.
  std::string src = Source("FILE1Srun.exe", "MZ");
  Writer->OnGetOpenInfo = [&](TObject*, const std::string& name, uint16_t& date, uint16_t& time,
                              uint16_t& attributes, THandle& handle, int& result) {
    date = 0x2A43;  // 2001-02-03
    time = 0x20A3;  // 04:05:06
    attributes = 0x80 | 0x40 | FILE_ATTRIBUTE_HIDDEN;
    handle = WriterFiles->Open(name, cabOpenBinary, 0, result, cfuSource);
  };
  std::string cab = Dir + "exec.cab";
  Writer->Open(cab, "", 2147483647, 900000, 0);
  Writer->AddFile(src, "FILE1Srun.exe", true, CompressionMSZIP());
  Writer->AddFile(src, "FILE2Snorun.exe", false, CompressionMSZIP());
  Writer->FlushCabinet(false);
  Writer->Close();

  std::vector<std::string> seen;
  Reader->OnCloseCopiedFile = [&](TObject*, const std::string& name, THandle handle, uint16_t,
                                  uint16_t, uint16_t attribs, int, bool execute, bool&) {
    int err = 0;
    ReaderFiles->Close(handle, err);
    seen.push_back(name + (execute ? " exec " : " ") + std::to_string(attribs & 0xFF));
  };
  Reader->ExtractFiles(cab, MakeDir("out"), 0);
  // 66: hidden (2) and the library's run-after-extraction bit (0x40).
  EXPECT_EQ(seen, std::vector<std::string>({"FILE1Srun.exe exec 66", "FILE2Snorun.exe 2"}));
  EXPECT_EQ(ReaderFiles->OpenCount(), 0);
}

TEST_F(CabinetRoundTrip, ExtractionOverwritesAnEarlierCopyEvenWhenReadOnly) {
  std::string cab = WriteCabinet({{"FILE1Sx.txt", "new content"}});
  std::string out = MakeDir("out");
  WriteAll(out + "FILE1Sx.txt", "old content that is longer");
  SetFileAttributesA((out + "FILE1Sx.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  Reader->ExtractFiles(cab, out, 0);
  EXPECT_EQ(ReadAll(out + "FILE1Sx.txt"), "new content");
}

TEST_F(CabinetRoundTrip, HiddenMembersCanBeExtractedAgain) {
  std::string src = Source("FILE1Shidden.txt", "h1");
  SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  std::string cab = Dir + "hidden.cab";
  Writer->Open(cab, "", 2147483647, 900000, 0);
  Writer->AddFile(src, "FILE1Shidden.txt", false, CompressionMSZIP());
  Writer->FlushCabinet(false);
  Writer->Close();
  std::string out = MakeDir("out");
  Reader->ExtractFiles(cab, out, 0);
  EXPECT_TRUE(GetFileAttributesA((out + "FILE1Shidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  Reader->ExtractFiles(cab, out, 0);
  EXPECT_EQ(ReadAll(out + "FILE1Shidden.txt"), "h1");
}

TEST_F(CabinetRoundTrip, WithoutFileSupportNothingButContentTravels) {
  Writer->FileSupport = false;
  std::string src = Source("FILE1Sx.txt", "x");
  SetFileAttributesA(src.c_str(), FILE_ATTRIBUTE_HIDDEN);
  std::string cab = Dir + "nosupport.cab";
  Writer->Open(cab, "", 2147483647, 900000, 0);
  Writer->AddFile(src, "FILE1Sx.txt", false, CompressionMSZIP());
  Writer->FlushCabinet(false);
  Writer->Close();
  std::string out = MakeDir("out");
  Reader->ExtractFiles(cab, out, 0);  // a zero date in the cabinet does no harm
  EXPECT_EQ(ReadAll(out + "FILE1Sx.txt"), "x");
  EXPECT_FALSE(GetFileAttributesA((out + "FILE1Sx.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(CabinetRoundTrip, CloseWithoutFlushLeavesNoCabinet) {
  std::string cab = Dir + "unflushed.cab";
  Writer->Open(cab, "", 2147483647, 900000, 0);
  Writer->AddFile(Source("FILE1Sx.txt", "x"), "FILE1Sx.txt", false, CompressionMSZIP());
  Writer->Close();
  EXPECT_FALSE(Writer->IsOpen());
  EXPECT_FALSE(Exists(cab));
  EXPECT_EQ(WriterFiles->OpenCount(), 0);
}

TEST_F(CabinetRoundTrip, OpenAgainDiscardsTheUnflushedCabinet) {
  std::string first = Dir + "first.cab", second = Dir + "second.cab";
  Writer->Open(first, "", 2147483647, 900000, 0);
  Writer->AddFile(Source("FILE1Sx.txt", "x"), "FILE1Sx.txt", false, CompressionMSZIP());
  Writer->Open(second, "", 2147483647, 900000, 0);
  Writer->AddFile(Source("FILE1Sy.txt", "y"), "FILE1Sy.txt", false, CompressionMSZIP());
  Writer->FlushCabinet(false);
  Writer->Close();
  EXPECT_FALSE(Exists(first));
  std::string out = MakeDir("out");
  EXPECT_EQ(Extract(second, out), std::vector<std::string>({"FILE1Sy.txt"}));
}

TEST_F(CabinetRoundTrip, WriterEventsSeeEveryPlacedFileAndTheTemporaryFiles) {
  std::vector<std::string> placed;
  Writer->OnFilePlacedEvent = [&](TObject*, const TCCAB& ccab, const std::string& name, int length,
                                  bool continuation, bool&) {
    placed.push_back(name + ":" + std::to_string(length));
  };
  int temps = 0;
  Writer->OnGetTempFile = [&](TObject*, std::string& name, bool& success) {
    name = MakeTempFileName(Dir, "tqt", 0);
    success = !name.empty();
    ++temps;
  };
  std::string cab = WriteCabinet({{"FILE1Sa.txt", "aaa"}, {"FILE2Sb.txt", "bb"}});
  EXPECT_EQ(placed, std::vector<std::string>({"FILE1Sa.txt:3", "FILE2Sb.txt:2"}));
  EXPECT_GT(temps, 0);
  // The library deleted its temporary files when the writer closed.
  WIN32_FIND_DATAA fd;
  HANDLE f = FindFirstFileA((Dir + "tqt*").c_str(), &fd);
  EXPECT_EQ(f, INVALID_HANDLE_VALUE) << fd.cFileName;
  if (f != INVALID_HANDLE_VALUE) FindClose(f);
}

TEST_F(CabinetRoundTrip, CopyFileEventCanSkipMembers) {
  std::string cab = WriteCabinet({{"FILE1Skeep.txt", "k"}, {"FILE2Sskip.txt", "s"}});
  Reader->OnCopyFile = [&](TObject*, const std::string& name, int, uint16_t, uint16_t, uint16_t,
                           TFileCopyAction& action, THandle&) {
    action = name == "FILE2Sskip.txt" ? fcaSkip : fcaDefault;
  };
  std::string out = MakeDir("out");
  Reader->ExtractFiles(cab, out, 0);
  EXPECT_TRUE(Exists(out + "FILE1Skeep.txt"));
  EXPECT_FALSE(Exists(out + "FILE2Sskip.txt"));
}

}  // namespace
}  // namespace tq::testing
