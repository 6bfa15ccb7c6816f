// Spanning an archive onto numbered volumes on a fixed drive.
#include <windows.h>
#include <gtest/gtest.h>

#include <numeric>

#include "PromptsTesting.h"
#include "ZipSmth.h"
#include "kit/ZipTestKit.h"

namespace tq::testing {
namespace {

using namespace ziptest;

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | (uint32_t(Get16(p + 2)) << 16); }

// Reads a spanned set through its placement data: each central header's
// volume and offset must lead to its local header, whose name and extra field
// lie wholly on that volume; the data may run on into the next volumes.
std::vector<TMember> ReadSpannedSet(const std::vector<TBytes>& volumes) {
  std::vector<TMember> out;
  if (volumes.empty()) return out;
  std::vector<uint64_t> start(volumes.size(), 0);
  for (size_t i = 1; i < volumes.size(); ++i) start[i] = start[i - 1] + volumes[i - 1].size();
  TBytes all;
  for (const TBytes& v : volumes) all.insert(all.end(), v.begin(), v.end());
  const TBytes& last = volumes.back();
  EXPECT_GE(last.size(), 22u);
  const uint8_t* e = &last[last.size() - 22];  // the test archives carry no comment
  EXPECT_EQ(Get32(e), 0x06054B50u);
  EXPECT_EQ(Get16(e + 4), volumes.size() - 1) << "this-disk number: the last volume";
  uint16_t dirDisk = Get16(e + 6), entries = Get16(e + 10);
  uint64_t pos = start.at(dirDisk) + Get32(e + 16);
  for (uint16_t i = 0; i < entries; ++i) {
    const uint8_t* c = &all.at(pos);
    EXPECT_EQ(Get32(c), 0x02014B50u);
    TMember m;
    m.Crc = Get32(c + 16);
    m.CompressedSize = Get32(c + 20);
    m.Size = Get32(c + 24);
    m.Method = Get16(c + 10);
    uint16_t nl = Get16(c + 28), el = Get16(c + 30), cl = Get16(c + 32);
    m.Name.assign(reinterpret_cast<const char*>(c + 46), nl);
    uint16_t disk = Get16(c + 34);
    uint32_t offset = Get32(c + 42);
    const TBytes& v = volumes.at(disk);
    EXPECT_LE(uint64_t(offset) + 30 + nl, v.size()) << m.Name << ": local header split across volumes";
    const uint8_t* l = &all.at(start[disk] + offset);
    EXPECT_EQ(Get32(l), 0x04034B50u) << m.Name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(l + 30), Get16(l + 26)), m.Name);
    size_t data = size_t(start[disk] + offset + 30 + Get16(l + 26) + Get16(l + 28));
    m.Raw.assign(all.begin() + long(data), all.begin() + long(data + m.CompressedSize));
    m.Data = m.Method == 8 ? Inflate(m.Raw, m.Size) : m.Raw;
    EXPECT_EQ(Crc(m.Data), m.Crc) << m.Name;
    out.push_back(m);
    pos += 46u + nl + el + cl;
  }
  return out;
}

class ZipSmithSpan : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    Work = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipsmith-span\\" + name);
    Floppy = FreshFolder(Work + "Floppy-Images");
    Zip.Unattended = true;
    Zip.SetDLLDirectory(TQ_PROGRAM_DIR);
    Zip.MaxVolumeSize = 1300000;
    Zip.OnMessage = [this](TObject*, int, const std::string& m) { Messages.push_back(m); };
  }
  // About 3,000,000 bytes of stored members.
  std::string MakeWholeArchive() {
    for (int i = 0; i < 3; ++i) {
      std::string f = Work + "part" + IntToStr(i) + ".cab";
      WriteFileBytes(f, NoiseBytes(1000000, uint32_t(i + 1)));
      Zip.FSpecArgs().Add(f);
    }
    std::string whole = Work + "ProductFloppySetup.zip";
    Zip.SetZipFileName(whole);
    Zip.Add();
    EXPECT_EQ(Zip.SuccessCnt(), 3);
    return whole;
  }
  std::vector<TBytes> Volumes() {
    std::vector<TBytes> v;
    for (int i = 1;; ++i) {
      std::string name = Floppy + "Setup00" + IntToStr(i) + ".zip";
      if (!FileExists(name)) break;
      v.push_back(ReadFileBytes(name));
    }
    return v;
  }
  std::string Work, Floppy;
  std::vector<std::string> Messages;
  TZipSmith Zip;
};

TEST_F(ZipSmithSpan, ThreeNumberedVolumes) {
  std::string whole = MakeWholeArchive();
  ASSERT_EQ(Zip.WriteSpan(whole, Floppy + "Setup.zip"), 0);
  EXPECT_EQ(FilesIn(Floppy), (std::vector<std::string>{"Setup001.zip", "Setup002.zip", "Setup003.zip"}));
  EXPECT_EQ(Zip.LastVolumeName(), Floppy + "Setup003.zip");
  std::vector<TBytes> v = Volumes();
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(TBytes(v[0].begin(), v[0].begin() + 4), (TBytes{0x50, 0x4B, 0x07, 0x08}));
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_LE(v[i].size(), 1300000u);
    EXPECT_GT(v[i].size(), 1300000u - 30 - 12) << "ends early only for a header that would straddle";
  }
  auto members = ReadSpannedSet(v);
  ASSERT_EQ(members.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(members[i].Data, NoiseBytes(1000000, uint32_t(i + 1)));
  size_t total = std::accumulate(v.begin(), v.end(), size_t(0), [](size_t n, const TBytes& b) { return n + b.size(); });
  EXPECT_EQ(total, ReadFileBytes(whole).size() + 4) << "the whole archive plus the spanning signature";

  // Each volume carries the input's date.
  auto writeTime = [](const std::string& f) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    GetFileAttributesExA(f.c_str(), GetFileExInfoStandard, &d);
    return (uint64_t(d.ftLastWriteTime.dwHighDateTime) << 32) | d.ftLastWriteTime.dwLowDateTime;
  };
  EXPECT_EQ(writeTime(Floppy + "Setup002.zip"), writeTime(whole));
}

TEST_F(ZipSmithSpan, ExistingVolumesAreOnlyOverwrittenWhenConfirmed) {
  std::string whole = MakeWholeArchive();
  ASSERT_EQ(Zip.WriteSpan(whole, Floppy + "Setup.zip"), 0);
  Messages.clear();
  EXPECT_EQ(Zip.WriteSpan(whole, Floppy + "Setup.zip"), -7) << "unattended";
  EXPECT_EQ(Messages, (std::vector<std::string>{"Unattended disk spanning not implemented"}));

  Zip.Unattended = false;
  {
    TPromptScript prompts;
    for (int i = 1; i <= 3; ++i) prompts.Expect(pkMessageBox, "There is already a file", IDYES);
    EXPECT_EQ(Zip.WriteSpan(whole, Floppy + "Setup.zip"), 0);
  }
  {
    Messages.clear();
    TPromptScript prompts({{pkMessageBox, "Setup001.zip", IDCANCEL}});
    EXPECT_EQ(Zip.WriteSpan(whole, Floppy + "Setup.zip"), -7);
    EXPECT_TRUE(Messages.empty()) << "cancelling shows nothing";
  }
}

TEST_F(ZipSmithSpan, VolumesSmallerThanTheMinimumAreRefused) {
  std::string whole = MakeWholeArchive();
  Zip.MaxVolumeSize = 60000;  // below MinFreeVolumeSize
  EXPECT_EQ(Zip.WriteSpan(whole, Floppy + "Setup.zip"), -7);
  EXPECT_EQ(Messages.back(), "Unattended disk spanning not implemented");
  Zip.Unattended = false;
  TPromptScript prompts({{pkMessageBox, "This disk has not enough free space available", IDCANCEL}});
  EXPECT_EQ(Zip.WriteSpan(whole, Floppy + "Setup.zip"), -7);
  EXPECT_TRUE(FilesIn(Floppy).empty()) << "nothing written";
}

// For the host's zip and unzip (see the zipsmith_peer_span test): the volumes
// of a spanned set in zipsmith-span-peer.
TEST_F(ZipSmithSpan, WriteForPeerChecks) {
  std::string peer = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipsmith-span-peer");
  ASSERT_EQ(Zip.WriteSpan(MakeWholeArchive(), peer + "Setup.zip"), 0);
  EXPECT_EQ(FilesIn(peer), (std::vector<std::string>{"Setup001.zip", "Setup002.zip", "Setup003.zip"}));
}

TEST_F(ZipSmithSpan, MissingInput) {
  EXPECT_EQ(Zip.WriteSpan(Work + "none.zip", Floppy + "Setup.zip"), -7);
  EXPECT_EQ(Messages.back(), "Input file does not exist");
}

TEST_F(ZipSmithSpan, AddWithDiskSpanWritesVolumes) {
  std::string temp = FreshFolder(Work + "tmp");
  Zip.TempDir = temp;
  for (int i = 0; i < 3; ++i) {
    std::string f = Work + "part" + IntToStr(i) + ".cab";
    WriteFileBytes(f, NoiseBytes(1000000, uint32_t(i + 1)));
    Zip.FSpecArgs().Add(f);
  }
  Zip.AddOptions = {AddDiskSpan};
  Zip.SetZipFileName(Floppy + "Setup.zip");
  Zip.Add();
  EXPECT_EQ(Zip.SuccessCnt(), 3);
  EXPECT_EQ(Zip.ZipFileName(), Floppy + "Setup003.zip");
  EXPECT_TRUE(FilesIn(temp).empty()) << "the temporary archive is gone";
  EXPECT_EQ(ReadSpannedSet(Volumes()).size(), 3u);
}

}  // namespace
}  // namespace tq::testing
