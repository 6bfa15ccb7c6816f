// Self-extractors made by hand (stub, option record, archive with shifted
// offsets) and run as their own processes.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/ZipTestKit.h"

namespace tq::ziptest {
namespace {

const std::string kStub = TQ_PROGRAM_DIR "\\ZIPSTUB.BIN";
const std::string kRecorder = TQ_BINARY_DIR "\\zipstub-test-bin\\zipstub_recorder.exe";

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) { return Get16(p) | (uint32_t(Get16(p + 2)) << 16); }

TBytes OptionRecord(uint8_t flags, const std::string& caption, const std::string& dir, const std::string& command,
                    const std::string& message) {
  TBytes r = {0x4D, 0x50, 0x56, flags, 0, 1, 0, 0};
  for (const std::string* t : {&caption, &dir, &command, &message}) {
    r.push_back(uint8_t(t->size()));
    r.insert(r.end(), t->begin(), t->end());
  }
  while (r.size() % 4) r.push_back(0);
  r[6] = uint8_t(r.size());
  r[7] = uint8_t(r.size() >> 8);
  return r;
}

struct TSfxSetup {
  std::vector<TBuildMember> Members;
  uint8_t Flags = 0xCC;  // auto-run, no overwrite box, check size, no success message; overwrite always
  std::string Dir = "><";
  std::string Command;
  bool ShiftOffsets = true;
};

TBytes MakeSfx(const TSfxSetup& s) {
  TBytes out = ReadFileBytes(kStub);
  TBytes rec = OptionRecord(s.Flags, "Self-extracting Archive", s.Dir, s.Command, "");
  uint32_t base = uint32_t(out.size() + rec.size());
  out.insert(out.end(), rec.begin(), rec.end());
  TBytes zip = BuildArchive(s.Members, s.ShiftOffsets ? base : 0);
  out.insert(out.end(), zip.begin(), zip.end());
  return out;
}

class ZipStubRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FileExists(kStub));
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name)
      if (c == '/') c = '-';
    Work = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipstub-work\\" + name);
    Temp = FreshFolder(Work + "temp folder");  // "><" stands for a fresh folder in it
  }

  std::string RunFolder() const { return RunFolderIn(Temp); }

  // Runs the self-extractor with the temporary folder pointed at Temp.
  DWORD Run(const TBytes& sfx) {
    std::string exe = Work + "Setup.exe";
    WriteFileBytes(exe, sfx);
    return RunWithTempFolder(exe, Temp, Work);
  }

  std::string Work, Temp;
};

TEST_F(ZipStubRun, StubCarriesExactlyTheOneReplaceableIcon) {
  TBytes stub = ReadFileBytes(kStub);
  ASSERT_GT(stub.size(), 0x40u);
  ASSERT_EQ(stub[0], 'M');
  uint32_t pe = Get32(&stub[0x3C]);
  ASSERT_EQ(Get32(&stub[pe]), 0x00004550u);
  uint16_t sections = Get16(&stub[pe + 6]), optSize = Get16(&stub[pe + 20]);
  const uint8_t* opt = &stub[pe + 24];
  EXPECT_EQ(Get16(opt + 68), 2) << "a GUI program, no console";
  uint32_t imageEnd = Get32(opt + 60);
  const uint8_t* rsrc = nullptr;
  uint32_t rsrcVa = 0;
  for (uint16_t i = 0; i < sections; ++i) {
    const uint8_t* s = &stub[pe + 24 + optSize + 40 * i];
    imageEnd = std::max(imageEnd, Get32(s + 20) + Get32(s + 16));
    if (std::string(reinterpret_cast<const char*>(s), 5) == ".rsrc") {
      rsrc = &stub[Get32(s + 20)];
      rsrcVa = Get32(s + 12);
    }
  }
  EXPECT_EQ(imageEnd, stub.size()) << "nothing after the image: the option record follows it directly";
  ASSERT_NE(rsrc, nullptr);
  // Resource tree: type -> name -> language -> data entry.
  auto entries = [&](uint32_t dirOffset) {
    std::vector<std::pair<uint32_t, uint32_t>> out;  // id, offset (high bit: sub-directory)
    const uint8_t* d = rsrc + dirOffset;
    int n = Get16(d + 12) + Get16(d + 14);
    for (int i = 0; i < n; ++i) out.push_back({Get32(d + 16 + 8 * i), Get32(d + 20 + 8 * i)});
    return out;
  };
  int icons = 0, groups = 0;
  for (auto [type, typeDir] : entries(0)) {
    if (type == 3) {
      for (auto [name, nameDir] : entries(typeDir & 0x7FFFFFFF)) {
        ++icons;
        EXPECT_EQ(name, 1u) << "icon id";
        auto langs = entries(nameDir & 0x7FFFFFFF);
        ASSERT_EQ(langs.size(), 1u);
        const uint8_t* data = rsrc + langs[0].second;
        EXPECT_EQ(Get32(data + 4), 744u) << "one 32x32 image in 16 colours";
        const uint8_t* image = rsrc + (Get32(data) - rsrcVa);
        EXPECT_EQ(Get32(image), 40u) << "bitmap header";
        EXPECT_EQ(Get16(image + 14), 4) << "bits per pixel";
      }
    }
    if (type == 14) groups += int(entries(typeDir & 0x7FFFFFFF).size());
  }
  EXPECT_EQ(icons, 1);
  EXPECT_EQ(groups, 1);
}

TEST_F(ZipStubRun, ExtractsIntoTheTemporaryFolderAndStartsTheCommandQuoted) {
  TSfxSetup s;
  s.Members = {{"rec.exe", ReadFileBytes(kRecorder), true},
               {"setup.ini", Bytes("[Setup]\r\nVersion=1.0\r\n")},
               {"My Product.msi", NoiseBytes(70000, 1)},
               {"empty.txt", {}},
               {"pages/", {}},
               {"pages/TQSetup.htm", Bytes(std::string(3000, 'h')), true}};
  s.Command = "><rec.exe first \"second arg\"";
  EXPECT_EQ(Run(MakeSfx(s)), 7u) << "the command's exit code";
  const std::string dir = RunFolder();
  for (const auto& m : s.Members)
    if (m.Name.back() != '/') {
      EXPECT_EQ(ReadFileBytes(dir + m.Name), m.Data) << m.Name;
    }
  TBytes rec = ReadFileBytes(dir + "cmdline.txt");
  std::string text(rec.begin(), rec.end());
  std::string folder = dir.substr(0, dir.size() - 1);
  EXPECT_EQ(text, "\"" + dir + "rec.exe\" first \"second arg\"\n" + folder + "\n");
}

TEST_F(ZipStubRun, FilesInTheTemporaryFolderAreNeverTouched) {
  // Planted by another program: neither overwritten nor run.
  WriteFileBytes(Temp + "rec.exe", Bytes("planted"));
  WriteFileBytes(Temp + "setup.ini", Bytes("planted"));
  TSfxSetup s;
  s.Members = {{"rec.exe", ReadFileBytes(kRecorder), true}, {"setup.ini", Bytes("ours")}};
  s.Command = "><rec.exe";
  EXPECT_EQ(Run(MakeSfx(s)), 7u);
  EXPECT_EQ(ReadFileBytes(Temp + "rec.exe"), Bytes("planted"));
  EXPECT_EQ(ReadFileBytes(Temp + "setup.ini"), Bytes("planted"));
  const std::string first = RunFolder();
  EXPECT_EQ(ReadFileBytes(first + "setup.ini"), Bytes("ours"));
  // A second run gets a folder of its own too.
  EXPECT_EQ(Run(MakeSfx(s)), 7u);
  int folders = 0;
  for (const std::string& name : FilesIn(Temp))
    if (GetFileAttributesA((Temp + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY) ++folders;
  EXPECT_EQ(folders, 2);
}

TEST_F(ZipStubRun, EntriesSharingALocalHeaderAreRefused) {
  TSfxSetup s;
  s.Members = {{"a.txt", Bytes(std::string(5000, 'a')), true}, {"b.txt", Bytes("bbbb")}};
  TBytes sfx = MakeSfx(s);
  // The second central entry points at the first member's local header.
  std::vector<size_t> central;
  for (size_t i = ReadFileBytes(kStub).size(); i + 4 <= sfx.size(); ++i)
    if (Get32(&sfx[i]) == 0x02014B50) central.push_back(i);
  ASSERT_EQ(central.size(), 2u);
  for (int k = 0; k < 4; ++k) sfx[central[1] + 42 + k] = sfx[central[0] + 42 + k];
  EXPECT_EQ(Run(sfx), 91u);
  EXPECT_TRUE(FilesIn(Temp).empty()) << "nothing extracted";
}

TEST_F(ZipStubRun, ExplicitFolderAndUnshiftedOffsets) {
  TSfxSetup s;
  s.Members = {{"rec.exe", ReadFileBytes(kRecorder), true}, {"sub/data.txt", Bytes("data"), true}};
  std::string target = Work + "Target Dir";
  s.Dir = target;
  s.Command = "rec.exe";
  s.ShiftOffsets = false;  // offsets counted from the archive's own start
  EXPECT_EQ(Run(MakeSfx(s)), 7u);
  EXPECT_EQ(ReadFileBytes(target + "\\sub\\data.txt"), Bytes("data"));
  TBytes rec = ReadFileBytes(target + "\\cmdline.txt");
  EXPECT_EQ(std::string(rec.begin(), rec.end()).substr(0, target.size() + 11), "\"" + target + "\\rec.exe\"\n");
}

TEST_F(ZipStubRun, OverwriteNeverKeepsExistingFiles) {
  const std::string target = FreshFolder(Work + "Target");
  WriteFileBytes(target + "keep.txt", Bytes("mine"));
  TSfxSetup s;
  s.Members = {{"keep.txt", Bytes("theirs")}, {"new.txt", Bytes("new")}};
  s.Flags = 0xC0 | 0x10;  // auto-run, no success message, overwrite never
  s.Dir = target;
  EXPECT_EQ(Run(MakeSfx(s)), 0u);
  EXPECT_EQ(ReadFileBytes(target + "keep.txt"), Bytes("mine"));
  EXPECT_EQ(ReadFileBytes(target + "new.txt"), Bytes("new"));
}

struct TRefusal {
  const char* Title;
  const char* Name;
};

class ZipStubRefusesNames : public ZipStubRun, public ::testing::WithParamInterface<TRefusal> {};

TEST_P(ZipStubRefusesNames, ExtractsNothing) {
  TSfxSetup s;
  s.Members = {{"first.txt", Bytes("harmless")}, {GetParam().Name, Bytes("evil")}};
  s.Command = "><first.txt";
  EXPECT_EQ(Run(MakeSfx(s)), 92u);
  EXPECT_TRUE(FilesIn(Temp).empty()) << "nothing extracted, not even the harmless member";
  EXPECT_EQ(FilesIn(Work), (std::vector<std::string>{"Setup.exe", "temp folder"}));
  EXPECT_FALSE(FileExists("C:\\tq-zipstub-evil.txt"));
}

INSTANTIATE_TEST_SUITE_P(Names, ZipStubRefusesNames,
                         ::testing::Values(TRefusal{"DotDotBackslash", "..\\evil.txt"},
                                           TRefusal{"DotDotSlash", "../evil.txt"},
                                           TRefusal{"DotDotInside", "sub/../../evil.txt"},
                                           TRefusal{"RootRelative", "\\tq-zipstub-evil.txt"},
                                           TRefusal{"DrivePath", "C:\\tq-zipstub-evil.txt"},
                                           TRefusal{"DriveRelative", "C:tq-zipstub-evil.txt"},
                                           TRefusal{"Stream", "first.txt:hidden"},
                                           TRefusal{"DeviceBlankBeforeDot", "NUL .txt"},
                                           TRefusal{"ConsoleBlankBeforeDot", "sub/CON .txt"}),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(ZipStubRun, DamagedArchivesAreRefused) {
  TSfxSetup s;
  s.Members = {{"data.txt", Bytes("payload of the member")}};
  TBytes good = MakeSfx(s);
  // A changed data byte: the CRC check fails and the partial file goes.
  TBytes badCrc = good;
  size_t at = std::string(badCrc.begin(), badCrc.end()).rfind("payload");
  badCrc[at] ^= 0x20;
  EXPECT_EQ(Run(badCrc), 93u);
  EXPECT_FALSE(FileExists(RunFolder() + "data.txt"));
  // Cut short: no end record.
  TBytes cut(good.begin(), good.end() - 10);
  EXPECT_EQ(Run(cut), 91u);
  // Bytes after the archive while the size is checked.
  TBytes tail = good;
  tail.push_back(0);
  EXPECT_EQ(Run(tail), 91u);
  // The bare stub carries no option record.
  EXPECT_EQ(Run(ReadFileBytes(kStub)), 91u);
}

TEST_F(ZipStubRun, BytesAfterTheArchiveWhenTheSizeIsNotChecked) {
  TSfxSetup s;
  s.Flags |= 0x20;  // no size check
  s.Members = {{"data.txt", Bytes("payload of the member")}};
  TBytes sfx = MakeSfx(s);
  sfx.insert(sfx.end(), 300, 0);  // padding, as a copy to a floppy or a download may leave
  EXPECT_EQ(Run(sfx), 0u);
  EXPECT_EQ(ReadFileBytes(RunFolder() + "data.txt"), Bytes("payload of the member"));
}

}  // namespace
}  // namespace tq::ziptest
