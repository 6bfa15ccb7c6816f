// Writes archives for the host's own unzip to check (see check_peer_archives.py,
// which ctest runs after this case): for each archive X.zip a list X.expect of
// "method<TAB>name" lines and, for an encrypted one, X.password.
#include <gtest/gtest.h>

#include <fstream>

#include "EngineHarness.h"
#include "kit/ZipTestKit.h"

namespace tq::ziptest {
namespace {

struct TPeerCase {
  std::string Archive;
  std::vector<std::pair<std::string, TBytes>> Files;  // name, content
  std::vector<std::string> Expected;                  // "method\tname"
  std::string Password;
};

void WriteExpect(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream f(path, std::ios::binary);
  for (const auto& l : lines) f << l << "\n";
}

TEST(ZipEngPeerArchives, WriteForPeerChecks) {
  TEngine engine;
  ASSERT_TRUE(engine.Loaded());
  std::string out = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipengine-peer");
  std::string src = FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipengine-peer-src");
  std::string text;
  for (int i = 0; i < 400; ++i) text += "Setup line " + std::to_string(i) + "\r\n";
  std::vector<TPeerCase> cases = {
      {"one.zip", {{"readme.txt", Bytes(text)}}, {"defX\treadme.txt"}},
      {"several.zip",
       {{"Install.exe", Bytes(text + "MZ")}, {"setup.ini", Bytes("[Setup]\r\nVersion=1.0\r\n")}, {"license.txt", Bytes(text)}},
       {"defX\tInstall.exe", "stor\tsetup.ini", "defX\tlicense.txt"}},
      {"stored.zip",
       {{"banner.gif", Bytes(text)}, {"Data1.cab", Bytes(text)}, {"applet.jar", Bytes(text)}, {"tool.exe", Bytes(text)}},
       {"stor\tbanner.gif", "stor\tData1.cab", "stor\tapplet.jar", "defX\ttool.exe"}},
      {"empty.zip", {{"empty.txt", {}}}, {"stor\tempty.txt"}},
      {"blanks.zip",
       {{"My Product.msi", Bytes(text)}, {"Uninstall My Product.exe", Bytes(text)}},
       {"defX\tMy Product.msi", "defX\tUninstall My Product.exe"}},
      {"noise.zip", {{"noise.bin", NoiseBytes(200000, 3)}}, {"stor\tnoise.bin"}},
      {"encrypted.zip", {{"secret.txt", Bytes(text)}}, {"defX\tsecret.txt"}, "pass word"},
  };
  for (const TPeerCase& c : cases) {
    SCOPED_TRACE(c.Archive);
    TCommand cmd(out + c.Archive);
    for (const auto& [name, data] : c.Files) {
      WriteFileBytes(src + name, data);
      cmd.Spec(src + name);
    }
    if (!c.Password.empty()) {
      cmd.Encrypt = true;
      cmd.Password = c.Password;
      std::ofstream(out + c.Archive + ".password", std::ios::binary) << c.Password;
    }
    EXPECT_EQ(cmd.Run(engine), int32_t(c.Files.size()));
    WriteExpect(out + c.Archive + ".expect", c.Expected);
  }

  // An update: two files first, then one replaced and one added.
  WriteFileBytes(src + "u1.txt", Bytes(text));
  WriteFileBytes(src + "u2.txt", Bytes("second"));
  TCommand first(out + "updated.zip");
  first.Spec(src + "u1.txt").Spec(src + "u2.txt");
  EXPECT_EQ(first.Run(engine), 2);
  WriteFileBytes(src + "u2.txt", Bytes(text + text));
  WriteFileBytes(src + "u3.txt", Bytes(text));
  TCommand second(out + "updated.zip");
  second.Spec(src + "u3.txt").Spec(src + "u2.txt");
  EXPECT_EQ(second.Run(engine), 2);
  WriteExpect(out + "updated.zip.expect", {"defX\tu1.txt", "defX\tu2.txt", "defX\tu3.txt"});

  // An archive the host's zip wrote as a stream (sizes in data descriptors),
  // updated by the engine.
  std::string streamed = std::string(TQ_BINARY_DIR) + "\\zipengine-peer-input\\peer-streamed.zip";
  if (FileExists(streamed)) {
    ASSERT_TRUE(CopyFileA(streamed.c_str(), (out + "peer-updated.zip").c_str(), FALSE));
    WriteFileBytes(src + "added.txt", Bytes(text));
    TCommand upd(out + "peer-updated.zip");
    upd.Spec(src + "added.txt");
    EXPECT_EQ(upd.Run(engine), 1);
    for (const TMember& m : ReadArchive(ReadFileBytes(out + "peer-updated.zip")).Members)
      EXPECT_EQ(m.LocalFlags & 8, 0) << m.Name << ": sizes in the local header";
    WriteExpect(out + "peer-updated.zip.expect", {"defN\ta.txt", "defN\tc.txt", "defX\tadded.txt"});
  }
}

}  // namespace
}  // namespace tq::ziptest
