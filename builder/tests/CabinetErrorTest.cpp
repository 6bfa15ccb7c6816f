// Failures of the cabinet components: what the library reports, what the
// platform reports, what handlers raise, and member names that would leave the
// destination folder.
#include "CabinetTestSupport.h"

namespace tq::testing {
namespace {

using CabinetErrors = CabinetFixture;

// Runs f and answers the ECabinetError it raised.
template <class F>
ECabinetError CabinetErrorOf(F&& f) {
  try {
    f();
  } catch (const ECabinetError& e) {
    return e;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what();
    return ECabinetError(-1, -1);
  }
  ADD_FAILURE() << "no exception";
  return ECabinetError(-1, -1);
}

TEST_F(CabinetErrors, MessagesCarryTheCodes) {
  ECabinetError e(3, 5);
  EXPECT_STREQ(e.what(), "Cabinet error 3 (type 5)");
  EXPECT_EQ(e.ErrorCode, 3);
  EXPECT_EQ(e.ErrorType, 5);
  EXPECT_EQ(EApiError::CreateCode(2).Message, "Error 2: " + [] {
    char buffer[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_MAX_WIDTH_MASK,
                   nullptr, 2, 0, buffer, sizeof buffer, nullptr);
    std::string s = buffer;
    while (!s.empty() && (s.back() == ' ' || s.back() == '.')) s.pop_back();
    return s;
  }());
  SetLastError(5);
  EXPECT_THROW(CheckApiResult(false), EApiError);
  EXPECT_NO_THROW(CheckApiResult(true));
}

// FDI's codes: 1 cabinet not found, 2 not a cabinet.
struct TBadCabinet {
  const char* Name;
  const char* Content;  // nullptr: no file at all
  int Code;
};
void PrintTo(const TBadCabinet& c, std::ostream* os) { *os << c.Name; }
class CabinetBadInput : public CabinetFixture, public ::testing::WithParamInterface<TBadCabinet> {};

TEST_P(CabinetBadInput, ExtractionRaisesTheLibraryCode) {
  const TBadCabinet& c = GetParam();
  std::string cab = Dir + c.Name;
  if (c.Content) WriteAll(cab, c.Content);
  std::string out = MakeDir("out");
  ECabinetError e = CabinetErrorOf([&] { Reader->ExtractFiles(cab, out, 0); });
  EXPECT_EQ(e.ErrorCode, c.Code);
  EXPECT_EQ(ReaderFiles->OpenCount(), 0);
  // The reader is fine for the next cabinet.
  std::string good = WriteCabinet({{"FILE1Sok.txt", "ok"}}, "good.cab");
  Reader->ExtractFiles(good, out, 0);
  EXPECT_EQ(ReadAll(out + "FILE1Sok.txt"), "ok");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CabinetBadInput,
    ::testing::Values(TBadCabinet{"missing.cab", nullptr, FDIERROR_CABINET_NOT_FOUND},
                      TBadCabinet{"text.cab", "This is a text file, not a cabinet.\r\n",
                                  FDIERROR_NOT_A_CABINET},
                      TBadCabinet{"empty.cab", "", FDIERROR_NOT_A_CABINET}),
    [](const auto& info) {
      std::string name = info.param.Name;
      return name.substr(0, name.find('.'));
    });

TEST_F(CabinetErrors, UnwritableTargetFailsAndLeavesNothingOpen) {
  std::string cab = WriteCabinet({{"FILE1Sa.txt", "a"}, {"FILE2Sb.txt", "b"}});
  std::string missing = Dir + "no-such-folder\\";
  ECabinetError e = CabinetErrorOf([&] { Reader->ExtractFiles(cab, missing, 0); });
  EXPECT_NE(e.ErrorCode, FDIERROR_NONE);
  EXPECT_EQ(ReaderFiles->OpenCount(), 0);
}

TEST_F(CabinetErrors, MissingSourceFailsTheAddAndTheWriterStaysOpen) {
  Writer->Open(Dir + "out.cab", "", 2147483647, 900000, 0);
  ECabinetError e = CabinetErrorOf([&] {
    Writer->AddFile(Dir + "absent.txt", "FILE1Sabsent.txt", false, CompressionMSZIP());
  });
  EXPECT_EQ(e.ErrorCode, FCIERR_OPEN_SRC);
  EXPECT_TRUE(Writer->IsOpen());
  // The next Open releases the failed context and starts afresh.
  std::string cab = WriteCabinet({{"FILE2Sthere.txt", "there"}}, "again.cab");
  std::string out = MakeDir("out");
  EXPECT_EQ(Extract(cab, out), std::vector<std::string>({"FILE2Sthere.txt"}));
  EXPECT_EQ(WriterFiles->OpenCount(), 0);
}

TEST_F(CabinetErrors, UnwritableCabinetFails) {
  Writer->Open(Dir + "no-such-folder\\out.cab", "", 2147483647, 900000, 0);
  EXPECT_THROW(
      {
        Writer->AddFile(Source("FILE1Sx.txt", "x"), "FILE1Sx.txt", false, CompressionMSZIP());
        Writer->FlushCabinet(false);
      },
      ECabinetError);
  Writer->Close();
  EXPECT_EQ(WriterFiles->OpenCount(), 0);
}

TEST_F(CabinetErrors, OverflowWithoutNextCabinetHandlerFails) {
  // The platform's library here reports the overflow as operation 0 with the
  // system error ERROR_FUNCTION_FAILED (1627) as its type.
  Writer->Open(Dir + "small.cab", "", 60000, 30000, 0);
  ECabinetError e = CabinetErrorOf([&] {
    Writer->AddFile(Source("FILE1Snoise.bin", Incompressible(300000)), "FILE1Snoise.bin", false,
                    CompressionMSZIP());
    Writer->FlushCabinet(false);
  });
  EXPECT_EQ(e.ErrorCode, 0);
  EXPECT_EQ(e.ErrorType, 1627);
  Writer->Close();
}

TEST_F(CabinetErrors, WriterCallsWithoutOpenCabinetRaise) {
  EXPECT_THROW(Writer->AddFile(Source("FILE1Sx.txt", "x"), "FILE1Sx.txt", false,
                               CompressionMSZIP()),
               EApiError);
  EXPECT_THROW(Writer->FlushCabinet(false), EApiError);
  EXPECT_NO_THROW(Writer->Close());
}

TEST_F(CabinetErrors, OverlongCabinetPathIsRefused) {
  EXPECT_THROW(Writer->Open(Dir + std::string(300, 'x') + ".cab", "", 2147483647, 900000, 0),
               EApiError);
  EXPECT_FALSE(Writer->IsOpen());
  EXPECT_THROW(Reader->ExtractFiles(Dir + std::string(300, 'x') + "\\a.cab", Dir, 0), EApiError);
}

TEST_F(CabinetErrors, WhatAHandlerRaisesComesOutOfTheCall) {
  std::string cab = WriteCabinet({{"FILE1Sa.txt", "a"}, {"FILE2Sb.txt", "b"}});
  Reader->OnCopyFile = [&](TObject*, const std::string& name, int, uint16_t, uint16_t, uint16_t,
                           TFileCopyAction& action, THandle&) {
    if (name == "FILE2Sb.txt") throw EInvalidOperation("stop at b");
    action = fcaDefault;
  };
  std::string out = MakeDir("out");
  try {
    Reader->ExtractFiles(cab, out, 0);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "stop at b");
  }
  EXPECT_EQ(ReaderFiles->OpenCount(), 0);

  Writer->OnFilePlacedEvent = [](TObject*, const TCCAB&, const std::string&, int, bool, bool&) {
    throw EInvalidOperation("placed");
  };
  Writer->Open(Dir + "w.cab", "", 2147483647, 900000, 0);
  EXPECT_THROW(
      {
        Writer->AddFile(Source("FILE1Sx.txt", "x"), "FILE1Sx.txt", false, CompressionMSZIP());
        Writer->FlushCabinet(false);  // files are placed when their folder is done
      },
      EInvalidOperation);
  Writer->Close();
  EXPECT_EQ(WriterFiles->OpenCount(), 0);
}

TEST_F(CabinetErrors, AnAbortingEventStopsTheExtraction) {
  std::string cab = WriteCabinet({{"FILE1Sa.txt", "a"}});
  Reader->OnCabinetInfo = [](TObject*, const std::string&, const std::string&, const std::string&,
                             int, int, bool& abort) { abort = true; };
  std::string out = MakeDir("out");
  ECabinetError e = CabinetErrorOf([&] { Reader->ExtractFiles(cab, out, 0); });
  EXPECT_EQ(e.ErrorCode, FDIERROR_USER_ABORT);
  EXPECT_FALSE(Exists(out + "FILE1Sa.txt"));
}

// Member names that climb out of the destination are refused; nothing is
// written outside it.
std::string UnsafeNameLabel(const ::testing::TestParamInfo<const char*>& info) {
  static const char* const labels[] = {"ParentStep", "ParentSlash", "DeepParent",
                                       "Rooted",     "Drive",       "Stream"};
  return labels[info.index];
}

class CabinetUnsafeName : public CabinetFixture,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(CabinetUnsafeName, IsNotExtracted) {
  std::string name = GetParam();
  std::string cab = Dir + "evil.cab";
  Writer->Open(cab, "", 2147483647, 900000, 0);
  Writer->AddFile(Source("payload.txt", "payload"), name, false, CompressionMSZIP());
  Writer->FlushCabinet(false);
  Writer->Close();
  std::string inner = MakeDir("out") ;
  inner = MakeDir("out\\inner");
  ECabinetError e = CabinetErrorOf([&] { Reader->ExtractFiles(cab, inner, 0); });
  EXPECT_EQ(e.ErrorCode, FDIERROR_TARGET_FILE);
  EXPECT_FALSE(Exists(Dir + "out\\escape.txt"));
  EXPECT_FALSE(Exists(Dir + "escape.txt"));
  EXPECT_EQ(ReaderFiles->OpenCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Names, CabinetUnsafeName,
                         ::testing::Values("..\\escape.txt", "../escape.txt",
                                           "sub\\..\\..\\escape.txt", "\\escape.txt",
                                           "Z:escape.txt", "escape.txt:stream"),
                         UnsafeNameLabel);

TEST_F(CabinetErrors, DestroyedFileHandlerIsForgotten) {
  delete WriterFiles;
  WriterFiles = nullptr;
  EXPECT_EQ(Writer->FileHandler(), nullptr);
  EXPECT_THROW(WriteCabinet({{"FILE1Sx.txt", "x"}}), EApiError);
  Writer->Close();
}

}  // namespace
}  // namespace tq::testing
