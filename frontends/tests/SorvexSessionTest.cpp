// Sorvex's session with its GUI program, command by command, against a
// recorded connection and host: the features reply, the Settings reply, the
// greeting, and each command row with its exact reply.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "FrontEndTestSupport.h"
#include "SorvexProtocol.h"
#include "SorvexSession.h"

namespace tq {
namespace {

using namespace testing;

class TRecordedConnection : public TSessionConnection {
 public:
  std::deque<std::string> Incoming;
  std::vector<std::string> Sent;
  bool Disconnected = false;
  std::string ReadMessage() override {
    if (Incoming.empty()) return "";
    std::string m = Incoming.front();
    Incoming.pop_front();
    return m;
  }
  void SendMessage(const std::string& text) override { Sent.push_back(text); }
  void Disconnect() override { Disconnected = true; }
};

class TRecordedHost : public TSessionHost {
 public:
  std::vector<std::string> Calls;
  std::optional<std::string> FolderAnswer;
  std::string UserGroups, CommonGroups;
  void ShowClientError(const std::string& text) override { Calls.push_back("error:" + text); }
  std::optional<std::string> ShowFolderDialog() override {
    Calls.push_back("folder dialog");
    return FolderAnswer;
  }
  void PostInstall() override { Calls.push_back("install"); }
  std::string GroupsFolder(bool currentUser) override {
    Calls.push_back(currentUser ? "groups:user" : "groups:common");
    return currentUser ? UserGroups : CommonGroups;
  }
};

// A package's features: Main (3) with Extras (6) and Help (4, listed before
// Main, so placed after Extras), Tools (4), a hidden Complete Edition
// (Display 0, level 6) and a blank-padded key.
class SorvexSessionTest : public ::testing::Test {
 protected:
  SorvexSessionTest() : Tree(nullptr) {
    const std::vector<TFeatureRow> rows = {{"Help", "Main", "Help & <hints>", 1, 4},
                                           {"Main", "", "Main program", 1, 3},
                                           {"Extras", "Main", "", 1, 6},
                                           {"Tools", "", "Tool library", 1, 4},
                                           {"Complete Edition", "", "Everything", 0, 6},
                                           {" Padded ", "", "", 1, 5}};
    PlaceFeatureRows(Tree.Items(), rows, Records);
    Xml = FeaturesXml(Tree.Items());
  }
  // The replies to one message.
  std::vector<std::string> Replies(const std::string& message) {
    Connection.Sent.clear();
    EXPECT_TRUE(Session.Handle(message)) << message;
    return Connection.Sent;
  }
  TTreeView Tree;
  std::vector<std::unique_ptr<TFeature>> Records;
  std::string Xml;
  TRecordedConnection Connection;
  TRecordedHost Host;
  TUserChoices Choices;
  std::mutex Lock;
  TSorvexSession Session{Connection, Host, Choices, Lock, Tree.Items(), Xml};
};

TEST_F(SorvexSessionTest, FeaturesXmlListsShownFeaturesIndentedAndUnescaped) {
  EXPECT_EQ(Xml,
            "<Features>"
            "<Feature tocheck=\"no\"><Name>--Main</Name><Description>Main program</Description></Feature>"
            "<Feature tocheck=\"no\"><Name>    --Extras</Name><Description></Description></Feature>"
            "<Feature tocheck=\"yes\"><Name>    --Help</Name><Description>Help & <hints></Description></Feature>"
            "<Feature tocheck=\"yes\"><Name>--Tools</Name><Description>Tool library</Description></Feature>"
            "<Feature tocheck=\"no\"><Name>-- Padded </Name><Description></Description></Feature>"
            "</Features>");
}

TEST_F(SorvexSessionTest, FeaturesXmlIndentStopsAtEightyBlanks) {
  TTreeView deep(nullptr);
  std::vector<TFeatureRow> rows = {{"F0", "", "", 1, 4}};
  for (int i = 1; i <= 22; ++i) rows.push_back({"F" + std::to_string(i), "F" + std::to_string(i - 1), "", 1, 4});
  std::vector<std::unique_ptr<TFeature>> records;
  PlaceFeatureRows(deep.Items(), rows, records);
  const std::string xml = FeaturesXml(deep.Items());
  EXPECT_NE(xml.find("<Name>" + std::string(80, ' ') + "--F20</Name>"), std::string::npos);
  EXPECT_NE(xml.find("<Name>" + std::string(80, ' ') + "--F22</Name>"), std::string::npos);
  EXPECT_NE(xml.find("<Name>" + std::string(76, ' ') + "--F19</Name>"), std::string::npos);
}

TEST_F(SorvexSessionTest, GreetingWithReadmeAndLicenceSentUnchanged) {
  TGreetingFacts f;
  f.PackageBaseName = "Sam's Tool";
  f.OwnerKeyOpened = true;
  f.RegisteredOwner = "Sam";
  f.RegisteredOrganization = "Quorvel Data Corporation";
  f.ProgramFilesFolder = "C:\\Program Files";
  f.PerUser = "false";
  f.AnyListedFeature = true;
  f.Readme = "Read <me> & more\nsecond line";
  f.DisableComplete = "Yes";
  EXPECT_EQ(GreetingText(f),
            "<ProductName>Sam's Tool</ProductName><RegisteredOwner>Sam</RegisteredOwner>"
            "<RegisteredOrganization>Quorvel</RegisteredOrganization>"
            "<DefaultDestination>C:\\Program Files\\Quorvel\\Sam's Tool</DefaultDestination>"
            "<PerUser>false</PerUser><DisableCustom>false</DisableCustom>"
            "<Readme>Read <me> & more\nsecond line</Readme><License></License>"
            "<DisableComplete>Yes</DisableComplete>");
  // The package's company wins; no Program Files folder: the system drive's.
  f.CompanyName = "Quill Works";
  f.ProgramFilesFolder = "";
  f.SystemDrive = "D:\\";
  EXPECT_EQ(DefaultDestination(f), "D:\\Program Files\\Quill Works\\Sam's Tool");
  // No key: neither element, no organisation; no drive at all: empty.
  f.OwnerKeyOpened = false;
  f.AnyListedFeature = false;
  f.License = "";
  const std::string g = GreetingText(f);
  EXPECT_EQ(g.find("Registered"), std::string::npos);
  EXPECT_NE(g.find("<DefaultDestination>D:\\Program Files\\Sam's Tool</DefaultDestination>"), std::string::npos);
  EXPECT_NE(g.find("<DisableCustom>true</DisableCustom>"), std::string::npos);
  f.SystemDrive = "";
  EXPECT_EQ(DefaultDestination(f), "");
}

TEST_F(SorvexSessionTest, EveryCommandRow) {
  const std::string groups = CaseFolder("groups");
  CreateDirectoryA((groups + "Accessories").c_str(), nullptr);
  CreateDirectoryA((groups + "Games").c_str(), nullptr);
  WriteAll(groups + "not a folder.lnk", "x");
  Host.UserGroups = groups;
  Host.FolderAnswer = "C:\\Target\\Sub\\Click Open to select present directory";

  struct TRow {
    std::string Message;
    std::vector<std::string> Replies;
  };
  const std::string settingsTail = "<CustomerName></CustomerName><CompanyName></CompanyName><Key></Key>";
  const TRow rows[] = {
      {"Directory::C:\\Program Files\\Tool", {}},
      {"Group::Sam's Tool", {}},
      {"BrowseDirectory::", {"<Directory>C:\\Target\\Sub</Directory>"}},
      {"Type::Custom", {Xml}},
      {"Type::Complete",
       {"<Settings><DestinationPath>C:\\Program Files\\Tool</DestinationPath><InstallType>Complete</InstallType>"
        "<Features>Main,Extras,Help,Tools,Complete Edition,Padded</Features>" + settingsTail +
        "<Group>Sam's Tool</Group></Settings>"}},
      {"Type::Typical",
       {"<Settings><DestinationPath>C:\\Program Files\\Tool</DestinationPath><InstallType>Typical</InstallType>"
        "<Features>Main,Help,Tools</Features>" + settingsTail + "<Group>Sam's Tool</Group></Settings>"}},
      {"Info::Sam Tester::Quill Works::KEY::1", {}},
      {"license::", {"<Quit/>"}},
      {"GetExistingGroups::CurrentUser", {"<ExistingGroups><Group>Accessories</Group><Group>Games</Group></ExistingGroups>"}},
      {"GetExistingGroups::AllUsers", {}},  // the common folder does not resolve here
      {"GroupScope::Current", {}},
      {"Install::", {}},
      {"NoSuchCommand::x", {}},
      {"XMLSocketError::Cannot load movie", {}},
  };
  for (const TRow& r : rows) EXPECT_EQ(Replies(r.Message), r.Replies) << r.Message;
  EXPECT_EQ(Choices.DestinationPath, "C:\\Program Files\\Tool");
  EXPECT_EQ(Choices.Group, "Sam's Tool");
  EXPECT_EQ(Choices.InstallType, 0);
  EXPECT_EQ(Choices.CustomerName, "Sam Tester");
  EXPECT_EQ(Choices.CompanyName, "Quill Works");
  EXPECT_EQ(Choices.Key, "KEY::1");
  EXPECT_TRUE(Choices.GroupCurrentUser);
  EXPECT_EQ(Host.Calls, (std::vector<std::string>{"folder dialog", "groups:user", "groups:common", "install",
                                                  "error:Cannot load movie"}));
  // A cancelled folder dialog answers nothing.
  Host.FolderAnswer.reset();
  EXPECT_TRUE(Replies("BrowseDirectory::").empty());
}

TEST_F(SorvexSessionTest, CustomThenFeaturesAndOtherTypes) {
  EXPECT_EQ(Replies("Type::Custom"), std::vector<std::string>{Xml});
  EXPECT_EQ(Choices.InstallType, 1);
  const std::vector<std::string> r = Replies("Features::  --Help::    --Extras::");
  EXPECT_EQ(Choices.FeatureList, "Main,Help,Extras");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_NE(r[0].find("<InstallType>Custom</InstallType><Features>Main,Help,Extras</Features>"), std::string::npos);
  // Items that lack "--" or their closing "::" add nothing.
  Replies("Features::Help::  --Tools");
  EXPECT_EQ(Choices.FeatureList, "Main");
  // Any other type installs as Typical and is named as received.
  const std::vector<std::string> a = Replies("Type::Anything");
  EXPECT_EQ(Choices.InstallType, 0);
  ASSERT_EQ(a.size(), 1u);
  EXPECT_NE(a[0].find("<InstallType>Anything</InstallType><Features>Main,Help,Tools</Features>"), std::string::npos);
  Replies("GroupScope::current");
  EXPECT_FALSE(Choices.GroupCurrentUser);
  Replies("Info::Only a name");
  EXPECT_EQ(Choices.CustomerName, "Only a name");
  EXPECT_EQ(Choices.CompanyName, "");
  EXPECT_EQ(Choices.Key, "");
}

TEST_F(SorvexSessionTest, RunSendsTheGreetingAndEndsOnQuitOrClose) {
  for (const std::vector<std::string>& script :
       {std::vector<std::string>{"Directory::C:\\A", "Quit", "Directory::C:\\B"},
        std::vector<std::string>{"Directory::C:\\A", "no separator here", "Directory::C:\\B"},
        std::vector<std::string>{"Directory::C:\\A"}}) {  // then the connection closes
    Connection.Incoming.assign(script.begin(), script.end());
    Connection.Sent.clear();
    Choices.DestinationPath.clear();
    Session.Run("<ProductName>x</ProductName>");
    EXPECT_EQ(Connection.Sent, std::vector<std::string>{"<ProductName>x</ProductName>"});
    EXPECT_EQ(Choices.DestinationPath, "C:\\A");
  }
  EXPECT_EQ(SplitRequest("Quit").Command, "Quit");
  EXPECT_EQ(SplitRequest("").Command, "Quit");
  EXPECT_EQ(SplitRequest("Type::a::b").Value, "a::b");
}

}  // namespace
}  // namespace tq
