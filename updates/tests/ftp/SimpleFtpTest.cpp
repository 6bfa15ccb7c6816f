// The FTP client against a real FTP server on 127.0.0.1 (WinINet is the
// platform's): connection states, directory changes and checks, uploads,
// deletes, progress, and the error texts.
#include <gtest/gtest.h>

#include <fstream>

#include "FileUtils.h"
#include "FtpServer.h"
#include "ProgressBar.h"
#include "RGFileutil.h"
#include "RGStrFuncs.h"
#include "SimpFTP.h"

using namespace tq;
using namespace tq::testing;

namespace {

class TBareControl : public TWinInetControl {
 public:
  TBareControl() : TWinInetControl(nullptr) {}
  void UpdateProgress() override {}
};

std::string LocalFile(const std::string& Name, const std::string& Content) {
  std::string folder = GetTempPath() + "ftp-local\\";
  ForceDirectories(folder);
  std::ofstream(folder + Name, std::ios::binary) << Content;
  return folder + Name;
}

class SimpleFtpTest : public ::testing::Test {
 protected:
  TFtpServer Server{"publisher", "s3cret"};
  TSimpleFTP Ftp{nullptr};

  void SetUp() override {
    Ftp.HostName = "127.0.0.1";
    Ftp.Port = Server.Port();
    Ftp.UserName = "publisher";
    Ftp.Password = "s3cret";
  }
};

TEST(WinInetControl, DefaultsAndTimeOut) {
  TBareControl bare;
  EXPECT_EQ(bare.Port, 0);
  EXPECT_EQ(bare.ConnectTimeout(), 300000);
  EXPECT_EQ(bare.ConnectRetries, 3);
  EXPECT_TRUE(bare.SilentExceptions);
  EXPECT_FALSE(bare.QuickProgress);
  EXPECT_FALSE(bare.EnableCache);
  EXPECT_EQ(bare.ResolveNames, rnDirect);
  EXPECT_EQ(bare.State(), 1);
  bare.SetConnectTimeout(5000);
  EXPECT_EQ(bare.ConnectTimeout(), 5000);
  bare.SetConnectTimeout(0);
  EXPECT_EQ(bare.ConnectTimeout(), 300000);
  TSimpleFTP ftp(nullptr);
  EXPECT_EQ(ftp.Port, 21);
  EXPECT_EQ(ftp.TransferType, ttBinary);
  EXPECT_FALSE(ftp.Passive);
  EXPECT_EQ(ftp.FileSystemType(), 0);
}

TEST(WinInetControl, StateTextsAndErrorMessages) {
  TBareControl c;
  c.HostName = "ftp.example";
  c.UserName = "anna";
  c.Password = "never-shown";
  const char* texts[] = {"Disconnecting from ftp.example", "No connection", "Connecting to ftp.example",
                         "Connected to ftp.example", "Resolving name ftp.example", "Resolved name ftp.example",
                         "Unknown state!  Contact support ..."};
  for (int s = 0; s <= 6; ++s) EXPECT_EQ(c.StateText(s), texts[s]) << s;
  struct {
    DWORD Code;
    const char* Message;
  } errors[] = {{12002, "Connection to ftp.example timed out"},
                {12004, "Internal WININET error"},
                {12007, "Unable to resolve host name 'ftp.example'"},
                {12013, "Bad user name: 'anna' connecting to ftp.example"},
                {12014, "Bad password connecting to ftp.example"},
                {12015, "Unable to connect to ftp.example"},
                {12029, "Unable to connect to ftp.example"},
                {12031, "General Connection Error to ftp.example"}};
  for (const auto& e : errors) {
    c.SilentExceptions = true;
    EXPECT_NO_THROW(c.HandleError(e.Code));
    EXPECT_EQ(c.State(), 1);
    c.SilentExceptions = false;
    try {
      c.HandleError(e.Code);
      ADD_FAILURE() << e.Code << " raised nothing";
    } catch (const EWinInetError& x) {
      EXPECT_EQ(x.Message, e.Message);
    }
  }
}

TEST(WinInetControl, StatusNotificationsMoveTheState) {
  TBareControl c;
  std::vector<int> seen;
  c.OnStateChange = [&](TObject*, int s) { seen.push_back(s); };
  for (DWORD status : {10u, 11u, 20u, 21u, 31u, 41u, 50u, 51u}) c.StatusCallback(nullptr, status, nullptr, 0);
  EXPECT_EQ(seen, (std::vector<int>{4, 5, 2, 3, 0, 1}));
}

TEST(FtpPathFunctions, BackslashAndTrailingSlash) {
  EXPECT_EQ(AddBackslash("C:\\x"), "C:\\x\\");
  EXPECT_EQ(AddBackslash("C:\\x\\"), "C:\\x\\");
  EXPECT_EQ(AddBackslash(""), "\\");
  EXPECT_EQ(RemoveTrailingSlash("/a/"), "/a");
  EXPECT_EQ(RemoveTrailingSlash("C:\\a\\"), "C:\\a");
  EXPECT_EQ(RemoveTrailingSlash("/a//"), "/a/");
  EXPECT_EQ(RemoveTrailingSlash("/"), "/");
  EXPECT_EQ(RemoveTrailingSlash("\\"), "\\");
  EXPECT_EQ(RemoveTrailingSlash(""), "");
  const std::string f = LocalFile("sized.bin", std::string(1234, 'z'));
  EXPECT_EQ(RGFileutil::FileSize(f), 1234);
  EXPECT_THROW(RGFileutil::FileSize(f + ".missing"), EFOpenError);
}

TEST_F(SimpleFtpTest, ConnectsChangesDirectoriesAndReadsThemBack) {
  Server.MakeFolder("/a/b");
  std::vector<int> states;
  Ftp.OnStateChange = [&](TObject*, int s) { states.push_back(s); };
  int connected = 0;
  Ftp.OnConnected = [&](TObject*) { ++connected; };
  ASSERT_TRUE(Ftp.Connect());
  EXPECT_EQ(connected, 1);
  EXPECT_TRUE(Ftp.Connected());
  EXPECT_EQ(Ftp.State(), 3);
  EXPECT_EQ(states.back(), 3);
  EXPECT_FALSE(Ftp.LastResponse().empty());
  EXPECT_TRUE(Ftp.Connect()) << "connected already";

  int changes = 0;
  Ftp.OnDirectoryChange = [&](TObject*) { ++changes; };
  EXPECT_TRUE(Ftp.ChangeDir("/"));
  EXPECT_TRUE(Ftp.ChangeDir("/a/"));
  EXPECT_EQ(Ftp.RemoteDir(), "/a");
  EXPECT_TRUE(Ftp.ChangeDir("b"));
  EXPECT_EQ(Ftp.RemoteDir(), "/a/b");
  EXPECT_EQ(changes, 3);
  EXPECT_FALSE(Ftp.ChangeDir("/missing/"));
  EXPECT_EQ(Ftp.RemoteDir(), "/a/b");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(Server.Commands({"CWD"}), (std::vector<std::string>{"CWD /", "CWD /a", "CWD b", "CWD /missing"}));

  EXPECT_TRUE(Ftp.RemoteDirExists("/a"));
  EXPECT_FALSE(Ftp.RemoteDirExists("/a/none/"));
  EXPECT_EQ(Ftp.RemoteDir(), "/a/b") << "the check leaves the directory as it was";

  EXPECT_TRUE(Ftp.Disconnect());
  EXPECT_EQ(Ftp.State(), 1);
  EXPECT_FALSE(Ftp.Connected());
}

TEST_F(SimpleFtpTest, APresetDirectoryIsAppliedOnConnecting) {
  Server.MakeFolder("/pre");
  EXPECT_TRUE(Ftp.ChangeDir("/pre/"));
  EXPECT_EQ(Ftp.RemoteDir(), "/pre/");
  EXPECT_TRUE(Server.Commands().empty());
  ASSERT_TRUE(Ftp.Connect());
  EXPECT_EQ(Ftp.RemoteDir(), "/pre");
  EXPECT_EQ(Server.Commands({"CWD"}), (std::vector<std::string>{"CWD /pre"}));
}

TEST_F(SimpleFtpTest, MakesDirectoriesPutsAndDeletesFiles) {
  ASSERT_TRUE(Ftp.Connect());
  EXPECT_TRUE(Ftp.MakeDir("/up/"));
  EXPECT_FALSE(Ftp.MakeDir("/up/")) << "exists already";
  EXPECT_TRUE(Ftp.ChangeDir("/up/"));
  const std::string local = LocalFile("Updates.ini", "[Version1.0]\r\n");
  std::vector<int64_t> done;
  Ftp.OnTransferProgress = [&](TObject*, const TTransferProgress& p) {
    done.push_back(p.BytesDone);
    EXPECT_EQ(p.BytesTotal, 14);
    EXPECT_EQ(p.FileName, local);
  };
  TProgressBar minor(nullptr);
  Ftp.QuickProgressMinor = &minor;
  Ftp.QuickProgress = true;
  EXPECT_TRUE(Ftp.PutFile(local));
  ASSERT_FALSE(done.empty());
  EXPECT_EQ(done.back(), 14);
  EXPECT_EQ(minor.Position(), 100);
  EXPECT_EQ(Ftp.CurFileSize, 14);

  // A bare name is taken from LocalDir.
  Ftp.OnTransferProgress = nullptr;
  LocalFile("second.upd", "two");
  Ftp.LocalDir = GetTempPath() + "ftp-local";
  EXPECT_TRUE(Ftp.PutFile("second.upd"));
  EXPECT_EQ(Server.Tree(), (std::vector<std::string>{"/up/", "/up/Updates.ini=[Version1.0]\r\n", "/up/second.upd=two"}));

  EXPECT_TRUE(Ftp.DeleteFile("second.upd"));
  EXPECT_FALSE(Ftp.DeleteFile("second.upd")) << "gone already";
  EXPECT_TRUE(Ftp.DeleteFile("/up/Updates.ini"));
  EXPECT_EQ(Server.Commands({"STOR", "DELE", "MKD"}),
            (std::vector<std::string>{"MKD /up", "MKD /up", "STOR /up/Updates.ini", "STOR /up/second.upd",
                                      "DELE /up/second.upd", "DELE /up/second.upd", "DELE /up/Updates.ini"}));
  EXPECT_EQ(Server.Tree(), (std::vector<std::string>{"/up/"}));
}

TEST_F(SimpleFtpTest, RefusedCommandsAreFalseResultsOrTheirMessages) {
  ASSERT_TRUE(Ftp.Connect());
  Server.MakeFolder("/d");
  Server.Refuse({"STOR", "DELE", "MKD", "CWD /d"});
  const std::string local = LocalFile("a.upd", "a");
  EXPECT_FALSE(Ftp.PutFile(local));
  EXPECT_FALSE(Ftp.DeleteFile("/x"));
  EXPECT_FALSE(Ftp.MakeDir("/m"));
  EXPECT_FALSE(Ftp.ChangeDir("/d"));
  Ftp.SilentExceptions = false;
  struct {
    std::function<void()> Call;
    const char* Message;
  } cases[] = {
      {[&] { Ftp.PutFile(local); }, "Error putting %s to /a.upd"},
      {[&] { Ftp.DeleteFile("/x"); }, "Error deleting /x"},
      {[&] { Ftp.MakeDir("/m/"); }, "Error creating directory /m/"},
      {[&] { Ftp.ChangeDir("/d/"); }, "Couldn't change to directory /d/"},
      {[&] { Ftp.PutFile(local + ".gone"); }, "Error putting %s.gone to /a.upd.gone: local file not found"},
  };
  for (const auto& c : cases) {
    try {
      c.Call();
      ADD_FAILURE() << c.Message << ": nothing raised";
    } catch (const ESimpleFTPError& e) {
      EXPECT_EQ(e.Message, Format(c.Message, {local}));
    }
  }
  EXPECT_EQ(Server.Tree(), (std::vector<std::string>{"/d/"}));
}

TEST_F(SimpleFtpTest, AVanishedLocalFileRaisesEvenWhenSilent) {
  ASSERT_TRUE(Ftp.Connect());
  const std::string missing = GetTempPath() + "ftp-local\\nothing.ini";
  try {
    Ftp.PutFile(missing);
    ADD_FAILURE() << "nothing raised";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message, "Cannot open file " + missing);
  }
  EXPECT_TRUE(Server.Commands({"STOR"}).empty());
}

TEST_F(SimpleFtpTest, NotConnected) {
  EXPECT_FALSE(Ftp.MakeDir("/a"));
  EXPECT_FALSE(Ftp.RemoteDirExists("/a"));
  EXPECT_FALSE(Ftp.DeleteFile("/a"));
  Ftp.SilentExceptions = false;
  for (auto call : {+[](TSimpleFTP& f) { f.MakeDir("/a"); }, +[](TSimpleFTP& f) { f.RemoteDirExists("/a"); }}) {
    try {
      call(Ftp);
      ADD_FAILURE() << "nothing raised";
    } catch (const ESimpleFTPError& e) {
      EXPECT_EQ(e.Message, "Not connected!");
    }
  }
  EXPECT_TRUE(Server.Commands().empty());
}

TEST_F(SimpleFtpTest, ConnectionFailures) {
  TRefusedPort refused;
  struct {
    int Port;
    std::string Password;
    const char* Message;
  } cases[] = {{refused.Port(), "s3cret", "Unable to connect to 127.0.0.1"},
               {Server.Port(), "wrong", "Unable to connect to 127.0.0.1"}};
  for (const auto& c : cases) {
    TSimpleFTP ftp(nullptr);
    ftp.HostName = "127.0.0.1";
    ftp.Port = c.Port;
    ftp.UserName = "publisher";
    ftp.Password = c.Password;
    EXPECT_FALSE(ftp.Connect()) << c.Port;
    EXPECT_EQ(ftp.State(), 1);
    EXPECT_FALSE(ftp.Connected());
    EXPECT_EQ(ftp.InternetHandle(), nullptr);
    ftp.SilentExceptions = false;
    try {
      ftp.Connect();
      ADD_FAILURE() << "nothing raised";
    } catch (const EWinInetError& e) {
      EXPECT_EQ(e.Message, c.Message);
      EXPECT_EQ(e.Message.find(c.Password), std::string::npos) << e.Message;
    }
  }
  for (const std::string& l : Server.Commands()) EXPECT_EQ(l.find("wrong"), std::string::npos);
}

}  // namespace
