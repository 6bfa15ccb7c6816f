// The component's add, its answers to the engine, its messages, its reading of
// an archive's directory and its properties.
#include "FakeEngineFixture.h"
#include "PromptsTesting.h"
#include "ZipEngRecords.h"
#include "kit/ZipTestKit.h"

namespace tq::testing {
namespace {

using namespace zipeng;
using ziptest::Bytes;
using ziptest::FreshFolder;
using ziptest::WriteFileBytes;

struct TProgress {
  ProgressType Type;
  std::string Name;
  int Size;
};

class ZipSmithAdd : public FakeEngineTest {
 protected:
  void SetUp() override {
    FakeEngineTest::SetUp();
    Zip.SetZipFileName("C:\\nowhere\\Setup.zip");
    Zip.FSpecArgs().Add("C:\\src\\a.txt");
    Zip.OnProgress = [this](TObject*, ProgressType t, const std::string& n, int s) { Progress.push_back({t, n, s}); };
    Zip.OnMessage = [this](TObject*, int code, const std::string& m) { Messages.push_back({code, m}); };
  }
  std::vector<TProgress> Progress;
  std::vector<std::pair<int, std::string>> Messages;
};

TEST_F(ZipSmithAdd, ProgressAndMessagesReachTheEvents) {
  Step(zaTotalFiles, 0, 2);
  Step(zaTotalSize, 0, 1234);
  Step(zaNewFile, 0, 1000, "  a.txt  ");
  Step(zaProgress, 0, 1000);
  Step(zaMessage, 12, 0, "Cannot read b.txt");
  Step(zaMessage, 0, 0, "  adding: a.txt");
  Step(zaEndOfBatch);
  Step(99);  // unknown codes are ignored
  State->Result = 1;
  Zip.Add();
  ASSERT_EQ(Progress.size(), 5u);
  EXPECT_EQ(Progress[0].Type, TotalFiles2Process);
  EXPECT_EQ(Progress[0].Size, 2);
  EXPECT_EQ(Progress[1].Type, TotalSize2Process);
  EXPECT_EQ(Zip.TotalSizeToProcess(), 1234);
  EXPECT_EQ(Progress[2].Type, NewFile);
  EXPECT_EQ(Progress[2].Name, "a.txt") << "trimmed";
  EXPECT_EQ(Progress[2].Size, 1000);
  EXPECT_EQ(Progress[3].Type, ProgressUpdate);
  EXPECT_EQ(Progress[4].Type, EndOfBatch);
  ASSERT_EQ(Messages.size(), 2u);
  EXPECT_EQ(Messages[0], (std::pair<int, std::string>{12, "Cannot read b.txt"}));
  EXPECT_EQ(Zip.DllErrCode(), 12) << "the last non-zero engine error stays";
  EXPECT_EQ(Zip.Message(), "adding: a.txt");
  for (int i = 0; i < State->StepCount; ++i) EXPECT_EQ(State->Steps[i].Returned, 0);
}

TEST_F(ZipSmithAdd, NewNamesAndCommentsAnsweredFromTheEvents) {
  Zip.OnSetNewName = [](TObject*, std::string& name, bool& changed) {
    if (name == "a.txt") {
      name = "docs/a.txt";
      changed = true;
    }
  };
  Zip.OnFileComment = [](TObject*, const std::string& file, std::string& comment, bool& changed) {
    comment = "about " + file;
    changed = file == "a.txt";
  };
  Step(zaNewName, 0, 0, "a.txt");
  Step(zaNewName, 0, 0, "b.txt");
  Step(zaFileComment, 0, 0, "a.txt");
  Step(zaFileComment, 0, 0, "b.txt");
  Zip.Add();
  EXPECT_EQ(State->Steps[0].AnswerCode, 1);
  EXPECT_STREQ(State->Steps[0].AnswerText, "docs/a.txt");
  EXPECT_EQ(State->Steps[1].AnswerCode, 0);
  EXPECT_EQ(State->Steps[2].AnswerCode, 1);
  EXPECT_STREQ(State->Steps[2].AnswerText, "about a.txt");
  EXPECT_EQ(State->Steps[3].AnswerCode, 0);
}

TEST_F(ZipSmithAdd, PasswordFromTheEventWithItsRetryCount) {
  Zip.SetPasswordReqCount(40);
  EXPECT_EQ(Zip.PasswordReqCount(), 15);
  std::string askedFor;
  Zip.OnPasswordError = [&](TObject*, bool isZip, std::string& pw, const std::string& forFile, uint32_t& repeat,
                            TPasswordButton&) {
    askedFor = forFile + (isZip ? " (zip)" : "");
    pw = std::string(100, 'k');
    repeat = 20;
  };
  Step(zaPassword, 0, 0, "Setup.zip");
  Zip.Add();
  EXPECT_EQ(askedFor, "Setup.zip (zip)");
  EXPECT_EQ(State->Steps[0].AnswerCode, 1);
  EXPECT_EQ(std::string(State->Steps[0].AnswerText), std::string(80, 'k')) << "at most 80 characters";
  EXPECT_EQ(State->Steps[0].AnswerSize, 15);
}

struct TPromptCase {
  const char* Title;
  bool Extract;
  std::vector<std::pair<int, std::string>> Dialogs;  // modal result, text typed
  std::string Expected;                              // password passed back ("" none)
  std::vector<std::string> Shown;                    // message boxes expected
  int32_t AnswerAction;                              // action code left in the record
  int32_t Returned;
};

void PrintTo(const TPromptCase& c, std::ostream* os) { *os << c.Title; }

class ZipSmithPasswordPrompt : public ZipSmithAdd, public ::testing::WithParamInterface<TPromptCase> {};

TEST_P(ZipSmithPasswordPrompt, AsksThroughThePasswordDialog) {
  const TPromptCase& c = GetParam();
  Zip.Unattended = false;
  TPromptScript prompts;
  for (const auto& [result, text] : c.Dialogs) {
    std::string typed = text;
    prompts.Expect(TExpectedPrompt(pkModalForm, "TPasswordDlg", result, "", [typed] {
      ASSERT_NE(TPasswordDlg::Showing(), nullptr);
      TPasswordDlg::Showing()->Text = typed;
    }));
  }
  for (const auto& m : c.Shown) prompts.Expect(pkShowMessage, m);
  Step(zaPassword, 0, 0, "Setup.zip").Extract = c.Extract ? 1 : 0;
  Step(zaProgress, 0, 1);
  Zip.Add();
  prompts.Check();
  EXPECT_EQ(std::string(State->Steps[0].AnswerText), c.Expected);
  EXPECT_EQ(State->Steps[0].AnswerCode, c.Expected.empty() ? 0 : 1);
  EXPECT_EQ(State->Steps[0].AnswerAction, c.AnswerAction);
  EXPECT_EQ(State->Steps[1].Returned, c.Returned);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipSmithPasswordPrompt,
    ::testing::Values(
        TPromptCase{"AddTwiceTheSame", false, {{mrOk, "pw"}, {mrOk, "pw"}}, "pw", {}, zaPassword, 0},
        TPromptCase{"AddMismatch", false, {{mrOk, "pw"}, {mrOk, "other"}}, "", {"passwords do NOT match"}, zaPassword, 0},
        TPromptCase{"AddCancelled", false, {{mrCancel, "typed"}}, "", {"no add password given"}, zaPassword, 0},
        TPromptCase{"ExtractOk", true, {{mrOk, "x"}}, "x", {}, zaPassword, 0},
        TPromptCase{"ExtractCancelAll", true, {{mrNoToAll, ""}}, "", {"no extract password given"}, 0, 0},
        TPromptCase{"ExtractAbort", true, {{mrAbort, ""}}, "", {"no extract password given"}, zaPassword, -1}),
    [](const auto& info) { return std::string(info.param.Title); });

TEST_F(ZipSmithAdd, UnattendedNeverPrompts) {
  TPromptScript prompts;  // nothing expected
  Step(zaPassword, 0, 0, "Setup.zip");
  Zip.Add();
  EXPECT_EQ(State->Steps[0].AnswerCode, 0);
}

TEST_F(ZipSmithAdd, CancelFlagStopsTheEngine) {
  Zip.OnProgress = [this](TObject*, ProgressType t, const std::string&, int) {
    if (t == NewFile) Zip.SetCancel(true);
  };
  Step(zaNewFile, 0, 1, "a.txt");
  Step(zaProgress, 0, 1);
  Zip.Add();
  EXPECT_EQ(State->Steps[0].Returned, -1);
  EXPECT_EQ(State->Steps[1].Returned, -1);
  EXPECT_FALSE(Zip.Cancel()) << "cleared when the add ends";
}

struct TCheckCase {
  const char* Title;
  std::function<void(TZipSmith&)> Setup;
  std::string Message;
};

void PrintTo(const TCheckCase& c, std::ostream* os) { *os << c.Title; }

class ZipSmithChecks : public ZipSmithAdd, public ::testing::WithParamInterface<TCheckCase> {};

TEST_P(ZipSmithChecks, RefuseBeforeTheEngineRuns) {
  Zip.Unattended = false;
  GetParam().Setup(Zip);
  TPromptScript prompts({{pkShowMessage, GetParam().Message}});
  Zip.Add();
  EXPECT_EQ(State->Calls, 0);
  EXPECT_EQ(Zip.SuccessCnt(), 0);
  ASSERT_FALSE(Messages.empty());
  EXPECT_EQ(Messages.back().second, GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipSmithChecks,
    ::testing::Values(
        TCheckCase{"NoFiles", [](TZipSmith& z) { z.FSpecArgs().Clear(); }, "Error - no files to zip!"},
        TCheckCase{"NoArchive", [](TZipSmith& z) { z.SetZipFileName(""); }, "Error - no zip file specified!"},
        TCheckCase{"SpanWithFreshen", [](TZipSmith& z) { z.AddOptions = {AddDiskSpan, AddFreshen}; },
                   "AddFreshen or AddUpdate not possible on a spanned archive"},
        TCheckCase{"SpanAnExe",
                   [](TZipSmith& z) {
                     z.AddOptions = {AddDiskSpanErase};
                     z.SetZipFileName("C:\\nowhere\\Setup.EXE");
                   },
                   "Error - Self extracting archives(.exe) can not be spanned"}),
    [](const auto& info) { return std::string(info.param.Title); });

TEST(ZipSmithNoEngine, MissingEngineIsReportedOncePerAdd) {
  // No engine loaded in this process, none in the folder named, none beside the program.
  TZipSmith zip;
  zip.SetDLLDirectory("C:\\no engine here");
  zip.SetZipFileName(std::string(TQ_BINARY_DIR) + "\\zipsmith-no-engine.zip");
  TPromptScript prompts({{pkShowMessage, "ZIPENG.DLL not found!"},
                         {pkShowMessage, "ZIPENG.DLL not found!"},
                         {pkShowMessage, "ZIPENG.DLL not found!"}});  // the last for ZipEngVersion
  for (int i = 0; i < 2; ++i) {
    zip.FSpecArgs().Add("C:\\src\\a.txt");
    zip.Add();
    EXPECT_EQ(zip.SuccessCnt(), 0);
  }
  EXPECT_FALSE(ziptest::FileExists(zip.ZipFileName()));
  EXPECT_EQ(zip.ZipEngVersion(), 0);
}

TEST_F(ZipSmithAdd, UnattendedEncryptionNeedsAPassword) {
  TPromptScript prompts;
  Zip.AddOptions = {AddEncrypt};
  Zip.Add();
  EXPECT_EQ(State->Calls, 0);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].second, "Unattended action not possible without a password");
}

TEST_F(ZipSmithAdd, TraceReportsTheLoadedEngine) {
  Zip.Trace = true;
  Zip.Add();
  ASSERT_FALSE(Messages.empty());
  EXPECT_EQ(Messages[0].second, "ZIP DLL Loaded");
  EXPECT_EQ(Zip.ZipEngVersion(), 160);
}

// ---- with the real engine

class ZipSmithReal : public ::testing::Test {
 protected:
  void SetUp() override {
    Work = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipsmith-work\\" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    Zip.Unattended = true;
    Zip.SetDLLDirectory(TQ_PROGRAM_DIR);
  }
  std::string Work;
  TZipSmith Zip;
};

TEST_F(ZipSmithReal, AddWritesTheArchiveAndListsIt) {
  WriteFileBytes(Work + "Install.exe", Bytes(std::string(5000, 'i')));
  WriteFileBytes(Work + "setup.ini", Bytes("[Setup]\r\n"));
  WriteFileBytes(Work + "banner.gif", Bytes(std::string(3000, 'g')));
  std::vector<std::string> listed;
  Zip.OnNewName = [&](TObject*, int seq, const ZipDirEntry& e) { listed.push_back(IntToStr(seq) + " " + e.FileName); };
  Zip.SetZipFileName(Work + "Setup.zip");
  for (const char* f : {"Install.exe", "setup.ini", "banner.gif"}) Zip.FSpecArgs().Add(Work + f);
  Zip.Add();
  EXPECT_EQ(Zip.SuccessCnt(), 3);
  EXPECT_EQ(Zip.FSpecArgs().Count(), 0);
  ASSERT_EQ(Zip.Count(), 3);
  EXPECT_EQ(listed, (std::vector<std::string>{"1 Install.exe", "2 setup.ini", "3 banner.gif"}));
  EXPECT_EQ(Zip.ZipContents()[0].CompressionMethod, 8);
  EXPECT_EQ(Zip.ZipContents()[2].CompressionMethod, 0) << "gif is stored";
  EXPECT_EQ(Zip.ZipContents()[0].UncompressedSize, 5000u);
  EXPECT_EQ(Zip.SFXOffset(), 0u);
  EXPECT_FALSE(Zip.StructureError());

  // A second component that only reads the archive sees the same directory.
  TZipSmith reader;
  reader.Unattended = true;
  reader.SetZipFileName(Work + "Setup.zip");
  EXPECT_EQ(reader.Count(), 3);
}

TEST_F(ZipSmithReal, ListingOddFiles) {
  std::vector<std::string> messages;
  Zip.OnMessage = [&](TObject*, int, const std::string& m) { messages.push_back(m); };
  Zip.SetZipFileName(Work + "missing.zip");
  EXPECT_EQ(Zip.Count(), 0);
  EXPECT_TRUE(messages.empty()) << "a missing archive is no error";

  WriteFileBytes(Work + "text.zip", Bytes("this is not an archive at all"));
  Zip.SetZipFileName(Work + "text.zip");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "This archive is not a valid Zip archive");
  EXPECT_EQ(Zip.ZipFileName(), "") << "cleared after a failed listing";

  // A comment, trailing garbage and an OEM name.
  ziptest::TBytes zip = ziptest::BuildArchive({{"caf\x82.txt", Bytes("x")}});
  zip[zip.size() - 2] = 4;  // comment length
  for (char c : std::string("note")) zip.push_back(uint8_t(c));
  zip.push_back('!');
  WriteFileBytes(Work + "odd.zip", zip);
  messages.clear();
  Zip.SetZipFileName(Work + "odd.zip");
  EXPECT_EQ(messages, (std::vector<std::string>{"Warning - Garbage at the end of the zipfile!"}));
  EXPECT_EQ(Zip.ZipComment(), "note");
  ASSERT_EQ(Zip.Count(), 1);
  char ansi[2] = {};
  OemToCharBuffA("\x82", ansi, 1);
  EXPECT_EQ(Zip.ZipContents()[0].FileName, std::string("caf") + ansi + ".txt") << "made on MS-DOS: OEM name";
}

// A directory damaged in one part: the listing names that part.
struct TDamagedDirectory {
  const char* Title;
  size_t Offset;  // byte to change: from the first central header, or (kInEndRecord +) from the end record
  uint8_t Value;
  const char* Message;
};
constexpr size_t kInEndRecord = 0x10000;

class ZipSmithDamagedDirectory : public ZipSmithReal, public ::testing::WithParamInterface<TDamagedDirectory> {
 protected:
  void SetUp() override {
    ZipSmithReal::SetUp();  // its folder is named after the case, which here holds a '/'
    Work = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipsmith-work\\Damaged" + GetParam().Title);
  }
};

TEST_P(ZipSmithDamagedDirectory, ListingNamesThePart) {
  const TDamagedDirectory& d = GetParam();
  ziptest::TBytes zip = ziptest::BuildArchive({{"a.txt", Bytes("alpha")}});
  const size_t central = size_t(ziptest::ReadArchive(zip).CentralPosition), end = zip.size() - 22;
  if (d.Offset >= kInEndRecord) {
    zip[end + d.Offset - kInEndRecord] = d.Value;
  } else {
    zip[central + d.Offset] = d.Value;
  }
  WriteFileBytes(Work + "damaged.zip", zip);
  std::vector<std::string> messages;
  Zip.OnMessage = [&](TObject*, int, const std::string& m) { messages.push_back(m); };
  Zip.SetZipFileName(Work + "damaged.zip");
  EXPECT_EQ(messages, (std::vector<std::string>{d.Message}));
  EXPECT_EQ(Zip.ZipFileName(), "") << "cleared after a failed listing";
}

// The end record's entry count is at 10; a central header's name length at 28,
// its extra field's at 30 and its comment's at 32.
INSTANTIATE_TEST_SUITE_P(
    Parts, ZipSmithDamagedDirectory,
    ::testing::Values(
        TDamagedDirectory{"MoreEntriesThanTheDirectoryHolds", kInEndRecord + 10, 2, "Error while reading a central header"},
        TDamagedDirectory{"SignatureWrong", 3, 0x03, "A central header signature is wrong"},
        TDamagedDirectory{"NameLongerThanTheDirectory", 29, 0x7F, "Error while reading a central file name"},
        TDamagedDirectory{"ExtraFieldLongerThanTheDirectory", 31, 0x7F, "Error while reading a file comment"},
        TDamagedDirectory{"CommentLongerThanTheDirectory", 33, 0x7F, "Error while reading a file comment"}),
    [](const auto& info) { return std::string(info.param.Title); });

TEST_F(ZipSmithReal, ArchiveWithDataInFrontIsAStructureError) {
  ziptest::TBytes file(100, 'P');
  ziptest::TBytes zip = ziptest::BuildArchive({{"a.txt", Bytes("a")}});
  file.insert(file.end(), zip.begin(), zip.end());
  WriteFileBytes(Work + "shifted.zip", file);
  std::vector<std::string> messages;
  Zip.OnMessage = [&](TObject*, int, const std::string& m) { messages.push_back(m); };
  Zip.SetZipFileName(Work + "shifted.zip");
  EXPECT_TRUE(Zip.StructureError());
  EXPECT_EQ(messages, (std::vector<std::string>{"Warning - Error in zip structure!"}));
}

// ---- properties

TEST(ZipSmithProperties, DefaultsAndTheirRules) {
  TZipSmith z;
  EXPECT_EQ(z.AddCompLevel, 9);
  EXPECT_EQ(z.SFXOptions, SFXOpts{SFXCheckSize});
  EXPECT_EQ(z.SFXPath, "ZipStub.bin");
  EXPECT_EQ(z.SFXCaption, "Self-extracting Archive");
  EXPECT_EQ(z.MinFreeVolumeSize, 65536);
  EXPECT_TRUE(z.ConfirmErase);
  EXPECT_EQ(z.HowToDelete, htdAllowUndo);
  EXPECT_EQ(z.VersionInfo(), "1.60 N");
  EXPECT_FALSE(z.AddStoreSuffixes.Contains(assEXE));
  EXPECT_TRUE(z.AddStoreSuffixes.Contains(assJAR));
  EXPECT_EQ(z.PasswordReqCount(), 1);
  z.SetDLLDirectory("C:\\engine\\");
  EXPECT_EQ(z.DLLDirectory(), "C:\\engine");
  z.SetRootDir("C:\\src");
  EXPECT_EQ(z.RootDir(), "C:\\src\\");
  z.SetPassword(std::string(300, 'p'));
  EXPECT_EQ(z.Password().size(), 255u);
  const TPropInfo* version = z.Properties().Find("VersionInfo");
  ASSERT_NE(version, nullptr);
  version->SetStr(z, "9.99");
  EXPECT_EQ(z.VersionInfo(), "1.60 N") << "read-only";
}

TEST(ZipSmithProperties, PublishedInOrder) {
  std::vector<std::string> names;
  for (const TPropInfo& p : TZipSmith::ClassProperties().Props()) names.push_back(p.Name);
  std::vector<std::string> expected = {"Name", "Tag", "Verbose", "Trace", "AddCompLevel", "AddOptions",
                                       "ExtrBaseDir", "ExtrOptions", "SFXOptions", "FSpecArgs", "Unattended",
                                       "ZipFileName", "Password", "SFXPath", "DLLDirectory", "SFXOverWriteMode",
                                       "SFXCaption", "SFXDefaultDir", "SFXCommandLine", "SFXMessage", "TempDir",
                                       "KeepFreeOnDisk1", "MaxVolumeSize", "MinFreeVolumeSize", "ConfirmErase",
                                       "CodePage", "HowToDelete", "VersionInfo", "AddStoreSuffixes",
                                       "PasswordReqCount", "FSpecArgsExcl", "UseDirOnlyEntries", "RootDir"};
  EXPECT_EQ(names, expected);
}

TEST(ZipSmithMessages, ComeFromTheStringTable) {
  EXPECT_EQ(TZipSmith::LoadZipStr(10604), "ZIPENG.DLL not found!");
  EXPECT_EQ(TZipSmith::LoadZipStr(10104), "Error - passwords do NOT match\nPassword ignored");
  EXPECT_EQ(TZipSmith::LoadZipStr(4711),
            "ZipMsgXX.res is probably not linked to the executable\nMissing String ID is: 4711");
}

}  // namespace
}  // namespace tq::testing
