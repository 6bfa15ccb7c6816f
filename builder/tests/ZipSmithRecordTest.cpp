// The command record the component builds, as the engine receives it.
#include <functional>

#include "FakeEngineFixture.h"
#include "ZipSmthParms.h"

namespace tq::testing {
namespace {

using zipeng::TZipParms;

const char* const kDefaultList = ".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha:.rar:.ace:.cab:.gz:.gzip:.jar";

struct TRecordCase {
  const char* Title;
  int EngineVersion;
  std::function<void(TZipSmith&)> Setup;
  std::function<void(const fakezip::TState&)> Check;
};

void PrintTo(const TRecordCase& c, std::ostream* os) { *os << c.Title; }

std::vector<TRecordCase> Cases() {
  return {
      {"Defaults", 160, [](TZipSmith&) {},
       [](const fakezip::TState& s) {
         const TZipParms& r = s.Record;
         EXPECT_EQ(r.Handle, nullptr) << "unattended: no owner window";
         EXPECT_EQ(r.Version, 160);
         EXPECT_NE(r.Callback, nullptr);
         EXPECT_EQ(r.Trace, 0);
         EXPECT_FALSE(s.HasPassword);
         EXPECT_STREQ(s.Suffixes, kDefaultList);
         EXPECT_EQ(r.Encrypt, 0);
         EXPECT_EQ(r.SystemFiles, 0);
         EXPECT_EQ(r.Volume, 0);
         EXPECT_EQ(r.Reserved10, 0);
         EXPECT_EQ(r.NoDirEntries, -1);
         EXPECT_EQ(r.Reserved12, 0);
         EXPECT_EQ(r.Verbose, 0);
         EXPECT_EQ(r.Reserved14, -1);
         EXPECT_EQ(r.Level, 9);
         EXPECT_EQ(r.Reserved17, 0);
         EXPECT_EQ(r.JunkDir, -1);
         EXPECT_EQ(r.Recurse, 0);
         EXPECT_EQ(r.Reserved20, -1);
         EXPECT_EQ(r.ForceDOS, 0);
         EXPECT_EQ(r.Move, 0);
         EXPECT_EQ(r.Update, 0);
         EXPECT_EQ(r.Freshen, 0);
         EXPECT_EQ(r.LatestTime, 0);
         EXPECT_EQ(r.SpecCount, 2);
         EXPECT_STREQ(s.Archive, "C:\\out\\Setup.zip");
         EXPECT_FALSE(s.HasTempDir);
         EXPECT_FALSE(s.HasComment);
         EXPECT_EQ(r.ArchiveOnly, 0);
         EXPECT_EQ(r.ResetArchive, 0);
         EXPECT_EQ(r.ExcludeCount, 0);
         EXPECT_EQ(r.AllowUndo, -1);
         EXPECT_EQ(r.CodePage, 0);
         EXPECT_EQ(r.EndMarker, 7);
         EXPECT_STREQ(s.Specs[0], "C:\\src\\Install.exe");
         EXPECT_STREQ(s.Specs[1], "C:\\src\\setup.ini");
         EXPECT_EQ(s.Data[0].Encrypt, 0);
         EXPECT_EQ(s.Data[0].Recurse, 0);
         EXPECT_EQ(s.Data[0].Password, nullptr);
         EXPECT_EQ(s.Data[0].RootDir, nullptr);
       }},
      {"EveryAddOption", 160,
       [](TZipSmith& z) {
         z.AddOptions = {AddDirNames, AddRecurseDirs, AddMove, AddUpdate, AddFreshen, AddZipTime, AddForceDOS,
                         AddHiddenFiles, AddArchiveOnly, AddResetArchive, AddEncrypt, AddSeparateDirs, AddVolume};
         z.SetPassword("secret");
       },
       [](const fakezip::TState& s) {
         const TZipParms& r = s.Record;
         EXPECT_EQ(r.JunkDir, 0);
         EXPECT_EQ(r.Recurse, 0xFFFF);
         EXPECT_EQ(s.Data[0].Recurse, 0xFFFF);
         EXPECT_EQ(r.Move, -1);
         EXPECT_EQ(r.Update, -1);
         EXPECT_EQ(r.Freshen, 0) << "cleared when AddUpdate is set too";
         EXPECT_EQ(r.LatestTime, -1);
         EXPECT_EQ(r.ForceDOS, -1);
         EXPECT_EQ(r.SystemFiles, -1);
         EXPECT_EQ(r.ArchiveOnly, 1);
         EXPECT_EQ(r.ResetArchive, 1);
         EXPECT_EQ(r.Encrypt, -1);
         EXPECT_EQ(s.Data[0].Encrypt, -1);
         EXPECT_STREQ(s.Password, "secret");
         EXPECT_EQ(r.NoDirEntries, 0);
         EXPECT_EQ(r.Volume, -1);
       }},
      {"FreshenAlone", 160, [](TZipSmith& z) { z.AddOptions = {AddFreshen}; },
       [](const fakezip::TState& s) { EXPECT_EQ(s.Record.Freshen, -1); }},
      {"TraceIsVerboseToo", 160, [](TZipSmith& z) { z.Trace = true; },
       [](const fakezip::TState& s) {
         EXPECT_EQ(s.Record.Trace, -1);
         EXPECT_EQ(s.Record.Verbose, -1);
       }},
      {"VerboseAlone", 160, [](TZipSmith& z) { z.Verbose = true; },
       [](const fakezip::TState& s) {
         EXPECT_EQ(s.Record.Trace, 0);
         EXPECT_EQ(s.Record.Verbose, -1);
       }},
      {"NoStoredSuffixes", 160, [](TZipSmith& z) { z.AddStoreSuffixes = {}; },
       [](const fakezip::TState& s) { EXPECT_FALSE(s.HasSuffixes) << "word 6 stays 0"; }},
      {"ExeAndGifOnly", 160, [](TZipSmith& z) { z.AddStoreSuffixes = {assEXE, assGIF}; },
       [](const fakezip::TState& s) { EXPECT_STREQ(s.Suffixes, ".gif:.exe"); }},
      {"LevelAndLongPassword", 160,
       [](TZipSmith& z) {
         z.AddCompLevel = 3;
         z.SetPassword(std::string(100, 'p'));
       },
       [](const fakezip::TState& s) {
         EXPECT_EQ(s.Record.Level, 3);
         EXPECT_EQ(std::string(s.Password), std::string(81, 'p'));
       }},
      {"SpecPrefixesAndOwnPasswords", 160,
       [](TZipSmith& z) {
         z.AddOptions = {AddRecurseDirs, AddEncrypt};
         z.SetPassword("all");
         z.FSpecArgs().Clear();
         for (const char* spec : {">C:\\a\\*.txt", "|C:\\b\\*.txt", "C:\\c.txt<own", "C:\\d.txt<"})
           z.FSpecArgs().Add(spec);
       },
       [](const fakezip::TState& s) {
         EXPECT_EQ(s.Record.SpecCount, 4);
         EXPECT_STREQ(s.Specs[0], "C:\\a\\*.txt");
         EXPECT_EQ(s.Data[0].Recurse, 0xFFFF);
         EXPECT_STREQ(s.Specs[1], "C:\\b\\*.txt");
         EXPECT_EQ(s.Data[1].Recurse, 0);
         EXPECT_STREQ(s.Specs[2], "C:\\c.txt");
         EXPECT_STREQ(s.SpecPasswords[2], "own");
         EXPECT_EQ(s.Data[2].Encrypt, 0xFFFF);
         EXPECT_STREQ(s.Specs[3], "C:\\d.txt");
         EXPECT_EQ(s.Data[3].Encrypt, 0) << "\"<\" alone: not encrypted";
         EXPECT_EQ(s.Data[3].Password, nullptr);
         EXPECT_EQ(s.Data[0].Encrypt, -1);
       }},
      {"FoldersExclusionsDeletionCodePage", 160,
       [](TZipSmith& z) {
         z.TempDir = "C:\\tmp";
         z.SetRootDir("C:\\src");
         z.FSpecArgsExcl().Add("*.bak");
         z.FSpecArgsExcl().Add("C:\\src\\old\\*");
         z.HowToDelete = htdFinal;
         z.CodePage = cpOEM;
       },
       [](const fakezip::TState& s) {
         EXPECT_STREQ(s.TempDir, "C:\\tmp");
         EXPECT_STREQ(s.SpecRoots[0], "C:\\src\\");
         EXPECT_EQ(s.Record.ExcludeCount, 2);
         EXPECT_STREQ(s.Excludes[0], "*.bak");
         EXPECT_STREQ(s.Excludes[1], "C:\\src\\old\\*");
         EXPECT_EQ(s.Record.AllowUndo, 0);
         EXPECT_EQ(s.Record.CodePage, 2);
       }},
      {"Engine151LeavesThe160Words", 151,
       [](TZipSmith& z) {
         z.TempDir = "C:\\tmp";
         z.FSpecArgsExcl().Add("*.bak");
         z.AddOptions = {AddArchiveOnly};
         z.CodePage = cpOEM;
       },
       [](const fakezip::TState& s) {
         EXPECT_STREQ(s.TempDir, "C:\\tmp");
         EXPECT_STREQ(s.Specs[0], "C:\\src\\Install.exe");
         EXPECT_EQ(s.Record.ExcludeCount, 0);
         EXPECT_EQ(s.Record.ExcludeSpecs, nullptr);
         EXPECT_EQ(s.Record.ArchiveOnly, 0);
         EXPECT_EQ(s.Record.AllowUndo, 0);
         EXPECT_EQ(s.Record.CodePage, 0);
         EXPECT_EQ(s.Record.EndMarker, 7);
       }},
      {"OldEngineGetsTheOldLayout", 150, [](TZipSmith& z) { z.TempDir = "C:\\tmp"; },
       [](const fakezip::TState& s) {
         EXPECT_EQ(s.Record.SpecCount, 2);
         EXPECT_EQ(s.OldEndMarker, 7) << "word 32 holds 7";
         EXPECT_STREQ(s.OldSpecs[0], "C:\\src\\Install.exe");
         EXPECT_STREQ(s.OldSpecs[1], "C:\\src\\setup.ini");
       }},
  };
}

class ZipSmithRecord : public FakeEngineTest, public ::testing::WithParamInterface<TRecordCase> {};

TEST_P(ZipSmithRecord, IsWhatTheEngineReceives) {
  State->Version = GetParam().EngineVersion;
  State->Result = 2;
  Zip.SetZipFileName("C:\\out\\Setup.zip");
  Zip.FSpecArgs().Add("C:\\src\\Install.exe");
  Zip.FSpecArgs().Add("C:\\src\\setup.ini");
  GetParam().Setup(Zip);
  Zip.Add();
  ASSERT_EQ(State->Calls, 1);
  EXPECT_EQ(State->Record.Caller, &Zip);
  GetParam().Check(*State);
  EXPECT_EQ(Zip.SuccessCnt(), 2);
  EXPECT_EQ(Zip.FSpecArgs().Count(), 0) << "cleared by the add";
  EXPECT_EQ(Zip.FSpecArgsExcl().Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipSmithRecord, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST(ZipSmithRecordLayout, SuffixListFollowsTheEnumerationOrder) {
  EXPECT_EQ(TZipCommandRecord::SuffixList(TZipSmith().AddStoreSuffixes.Bits()), kDefaultList);
  EXPECT_EQ(TZipCommandRecord::SuffixList(0), "");
  EXPECT_EQ(TZipCommandRecord::SuffixList((1u << assGZIP) | (1u << assZ)), ".z:.gzip");
}

}  // namespace
}  // namespace tq::testing
