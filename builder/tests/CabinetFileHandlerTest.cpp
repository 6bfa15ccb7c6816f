// TStreamCabinetFileHandler: the library's file operations over real files.
#include "CabinetTestSupport.h"

namespace tq::testing {
namespace {

using StreamFileHandler = CabinetFixture;

TEST_F(StreamFileHandler, CreateWriteSeekReadClose) {
  TStreamCabinetFileHandler& h = *WriterFiles;
  std::string path = Dir + "data.bin";
  int err = 1;
  THandle f = h.Open(path, cabOpenBinary | cabOpenReadWrite | cabOpenCreate, 0, err, cfuLibrary);
  ASSERT_NE(f, -1);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(h.Write(f, "hello world", 11, err), 11);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(h.Seek(f, 0, 2, err), 11);
  EXPECT_EQ(h.Seek(f, 6, 0, err), 6);
  EXPECT_EQ(h.Seek(f, -2, 1, err), 4);
  char buffer[16] = {};
  EXPECT_EQ(h.Read(f, buffer, 16, err), 7);  // short at the end of the file
  EXPECT_EQ(std::string(buffer, 7), "o world");
  EXPECT_EQ(h.OpenCount(), 1);
  EXPECT_EQ(h.Close(f, err), 0);
  EXPECT_EQ(err, 0);
  EXPECT_EQ(h.OpenCount(), 0);
  EXPECT_EQ(ReadAll(path), "hello world");

  // Create truncates an existing file.
  f = h.Open(path, cabOpenBinary | cabOpenCreate, 0, err, cfuExtracted);
  ASSERT_NE(f, -1);
  h.Close(f, err);
  EXPECT_EQ(ReadAll(path), "");
}

TEST_F(StreamFileHandler, FailuresReportThePlatformError) {
  TStreamCabinetFileHandler& h = *WriterFiles;
  int err = 0;
  EXPECT_EQ(h.Open(Dir + "absent.txt", cabOpenBinary, 0, err, cfuSource), -1);
  EXPECT_EQ(err, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(h.Open(Dir + "no\\such.txt", cabOpenBinary | cabOpenCreate, 0, err, cfuExtracted), -1);
  EXPECT_EQ(err, ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(h.Delete(Dir + "absent.txt", err), 0);
  EXPECT_EQ(err, ERROR_FILE_NOT_FOUND);
}

TEST_F(StreamFileHandler, UnknownHandles) {
  TStreamCabinetFileHandler& h = *WriterFiles;
  int err = 0;
  char buffer[4];
  EXPECT_EQ(h.Read(12345, buffer, 4, err), 0);
  EXPECT_EQ(err, -1);
  err = 0;
  EXPECT_EQ(h.Write(12345, buffer, 4, err), 0);
  EXPECT_EQ(err, -1);
  err = 0;
  EXPECT_EQ(h.Seek(12345, 0, 0, err), 0);
  EXPECT_EQ(err, -1);
  err = 5;
  EXPECT_EQ(h.Close(12345, err), 0);
  EXPECT_EQ(err, 0);
}

TEST_F(StreamFileHandler, ShareModesFollowTheFlags) {
  TStreamCabinetFileHandler& h = *WriterFiles;
  std::string path = Dir + "shared.txt";
  WriteAll(path, "x");
  int err = 0;
  THandle a = h.Open(path, cabOpenBinary, 0, err, cfuSource);
  THandle b = h.Open(path, cabOpenBinary, 0, err, cfuSource);
  EXPECT_NE(a, -1);
  EXPECT_NE(b, -1);  // shared with everyone
  h.Close(a, err);
  h.Close(b, err);
  a = h.Open(path, cabOpenBinary | cabOpenExclusive, 0, err, cfuSource);
  ASSERT_NE(a, -1);
  EXPECT_EQ(h.Open(path, cabOpenBinary, 0, err, cfuSource), -1);
  EXPECT_EQ(err, ERROR_SHARING_VIOLATION);
  h.Close(a, err);
  // Write-only opens for writing.
  a = h.Open(path, cabOpenBinary | cabOpenWriteOnly, 0, err, cfuLibrary);
  ASSERT_NE(a, -1);
  EXPECT_EQ(h.Write(a, "y", 1, err), 1);
  h.Close(a, err);
  EXPECT_EQ(ReadAll(path), "y");
}

TEST_F(StreamFileHandler, DestroyClosesWhatIsStillOpen) {
  std::string path = Dir + "left-open.txt";
  int err = 0;
  ASSERT_NE(WriterFiles->Open(path, cabOpenBinary | cabOpenCreate, 0, err, cfuLibrary), -1);
  EXPECT_FALSE(DeleteFileA(path.c_str()));  // held exclusively
  delete WriterFiles;
  WriterFiles = nullptr;
  EXPECT_TRUE(DeleteFileA(path.c_str()));
}

}  // namespace
}  // namespace tq::testing
