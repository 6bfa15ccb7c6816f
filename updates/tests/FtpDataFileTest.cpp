// The FTP settings file "Updates2.dat", byte for byte: the updater on the end
// user's machine repeats the generator to find the settings, so every byte counts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "FtpData.h"

using namespace tq;

namespace {

uint64_t Fnv1a64(const std::string& bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

// The settings of a case; TFtpData itself is a component and is not copied.
struct FtpSettings {
  std::string HostIp, Port = "21", UserId, Password, Directory, URL;
};

FtpSettings Settings(std::string host, std::string port, std::string user, std::string password,
                     std::string dir, std::string url) {
  FtpSettings d;
  d.HostIp = host;
  d.Port = port;
  d.UserId = user;
  d.Password = password;
  d.Directory = dir;
  d.URL = url;
  return d;
}

void Apply(TFtpData& d, const FtpSettings& s) {
  d.HostIp = s.HostIp;
  d.Port = s.Port;
  d.UserId = s.UserId;
  d.Password = s.Password;
  d.Directory = s.Directory;
  d.URL = s.URL;
}

std::unique_ptr<TFtpData> Make(const FtpSettings& s) {
  auto d = std::make_unique<TFtpData>(nullptr);
  Apply(*d, s);
  return d;
}

struct Placed {
  int offset;
  uint8_t byte;
};

// Worked out from the generator rule: the filler from seed 6047, then one drawn
// position per byte from seed 6048 (length byte, then the characters), drawing
// again on a position already taken.
struct Case {
  const char* what;
  FtpSettings data;
  std::string product;
  size_t size;
  uint64_t fnv;               // of the whole file
  std::vector<Placed> first;  // the first data bytes placed, in order
  std::string tailHex;        // bytes 5000.. : name length and name
};

const Case kCases[] = {
    {"host only", Settings("h", "", "", "", "", ""), "", 5004, 0x4fa122e55e9555adull,
     {{0xf59, 0x01}, {0x10ed, 0x68}, {0x8c7, 0x00}, {0xc1f, 0x00}, {0xfd7, 0x00}, {0x1290, 0x00},
      {0x810, 0x00}},
     "00000000"},
    {"typical settings",
     Settings("ftp.example.com", "21", "user", "p'ss", "/updates/app/",
              "http://www.example.com/updates/app/"),
     "My App", 5010, 0x5a3140a80e2dde58ull,
     {{0xf59, 0x0f}, {0x10ed, 0x66}, {0x8c7, 0x74}, {0xc1f, 0x70}, {0xfd7, 0x2e}, {0x1290, 0x65},
      {0x810, 0x78}, {0x11fa, 0x61}, {0xabb, 0x6d}, {0x12c1, 0x70}, {0xc3e, 0x6c}, {0xe21, 0x65}},
     "060000004d7920417070"},
    // Of the 262 positions drawn, four were taken already and drawn again.
    {"longest host", Settings(std::string(255, 'x'), "21", "", "", "", ""), "N", 5005,
     0x1cf6ad8f036f60b0ull, {{0xf59, 0xff}, {0x10ed, 0x78}, {0x8c7, 0x78}}, "010000004e"},
    {"every setting at its longest",
     Settings(std::string(255, 'x'), std::string(255, 'x'), std::string(255, 'x'),
              std::string(255, 'x'), std::string(255, 'x'), std::string(255, 'x')),
     "", 5004, 0x8ccee5087ffca1aeull, {{0xf59, 0xff}}, "00000000"},
};

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (unsigned char c : bytes) {
    s += digits[c >> 4];
    s += digits[c & 15];
  }
  return s;
}

TEST(FtpDataFile, KnownAnswers) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    std::string bytes = FtpDataFileBytes(*Make(c.data), c.product);
    ASSERT_EQ(bytes.size(), c.size);
    for (const Placed& p : c.first) EXPECT_EQ(uint8_t(bytes[p.offset]), p.byte) << "at " << p.offset;
    EXPECT_EQ(Hex(bytes.substr(FtpDataBlockSize)), c.tailHex);
    EXPECT_EQ(Fnv1a64(bytes), c.fnv);
    // The same settings always give the same bytes.
    EXPECT_EQ(FtpDataFileBytes(*Make(c.data), c.product), bytes);
  }
}

TEST(FtpDataFile, FillerWhereNoDataLands) {
  // "host only" takes seven positions; the rest is the filler sequence.
  std::string bytes = FtpDataFileBytes(*Make(Settings("h", "", "", "", "", "")), "");
  EXPECT_EQ(Hex(bytes.substr(0, 8)), "c1091b8c694d91b5");
  // A different host moves no position but changes the data bytes only.
  std::string other = FtpDataFileBytes(*Make(Settings("k", "", "", "", "", "")), "");
  int differing = 0;
  for (int i = 0; i < FtpDataBlockSize; ++i) differing += bytes[i] != other[i];
  EXPECT_EQ(differing, 1);
  EXPECT_EQ(uint8_t(other[0x10ed]), uint8_t('k'));
}

TEST(FtpDataFile, OverlongSettingIsRefused) {
  struct {
    FtpSettings data;
    const char* field;
  } cases[] = {
      {Settings(std::string(256, 'h'), "21", "", "", "", ""), "HostIp"},
      {Settings("h", "21", "", std::string(4000, 'p'), "", ""), "Password"},
      {Settings("h", "21", "", "", "", std::string(100000, 'u')), "URL"},
  };
  for (const auto& c : cases) {
    try {
      FtpDataFileBytes(*Make(c.data), "App");
      ADD_FAILURE() << c.field << " accepted";
    } catch (const EFtpDataError& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("The FTP setting ") + c.field + " is too long"),
                std::string::npos)
          << e.what();
      EXPECT_NE(std::string(e.what()).find("at most 255"), std::string::npos) << e.what();
    }
  }
}

class FtpDataFileWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder for each case: ctest runs the cases side by side.
    const std::string sep = TQ_BINARY_DIR[0] == '/' ? "/" : "\\";
    Dir = std::string(TQ_BINARY_DIR) + sep + "ftpdata-" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name() + sep;
    std::filesystem::create_directories(Dir);
    Project = Dir + "ftpdata.ipr";
    Target = Dir + "Updates2.dat";
    std::remove(Target.c_str());
  }
  std::string Read() {
    std::ifstream in(Target, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::string Dir, Project, Target;
};

TEST_F(FtpDataFileWrite, WritesBesideTheProjectFile) {
  TFtpData d(nullptr);
  Apply(d, Settings("ftp.example.com", "21", "user", "p'ss", "/updates/app/",
                        "http://www.example.com/updates/app/"));
  ASSERT_TRUE(WriteFtpDataFile(d, Project, "My App"));
  EXPECT_EQ(Read(), FtpDataFileBytes(d, "My App"));
  // Overwritten by a shorter file.
  d.URL = "";
  ASSERT_TRUE(WriteFtpDataFile(d, Project, ""));
  EXPECT_EQ(Read(), FtpDataFileBytes(d, ""));
}

TEST_F(FtpDataFileWrite, EmptyHostWritesNothing) {
  TFtpData d(nullptr);
  d.UserId = "user";
  EXPECT_FALSE(WriteFtpDataFile(d, Project, "App"));
  EXPECT_FALSE(std::ifstream(Target).good());
}

TEST_F(FtpDataFileWrite, UncreatableFileRaises) {
  TFtpData d(nullptr);
  Apply(d, Settings("h", "21", "", "", "", ""));
  std::string missing = Dir + "no-such-folder" + (Dir.back() == '/' ? "/" : "\\");
  try {
    WriteFtpDataFile(d, missing + "p.ipr", "App");
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing + "Updates2.dat");
  }
}

}  // namespace

namespace {

// The project file stores the settings in this order; the component's own name
// stays out of the stream.
TEST(FtpData, PublishedInStreamOrder) {
  TFtpData d;
  d.HostIp = "h";
  std::vector<std::string> stored;
  for (const TPropInfo& p : d.Properties().Props())
    if (p.IsStored(d)) stored.push_back(p.Name);
  EXPECT_EQ(stored, (std::vector<std::string>{"Tag", "HostIp", "Port", "UserId", "Password",
                                               "Directory", "URL"}));
  EXPECT_EQ(d.ClassName(), "TFtpData");
}

}  // namespace
