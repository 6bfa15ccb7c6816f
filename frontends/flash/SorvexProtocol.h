#pragma once
// Sorvex's side of the text protocol with the Flash GUI program.
//
// Framing: every message in either direction is a text followed by one NUL.
// A request is a command word, "::" and a value; a message without "::" is the
// command "Quit" (so is the empty read of a closed connection). Commands
// compare exactly, letter case included. Replies are XML fragments without a
// declaration, without a root element where several elements go together, and
// without escaping: every value is inserted as it stands (the GUI program reads
// them so).
//
// The pieces here are plain functions of their inputs; the session
// (SorvexSession.h) puts them together.
#include <optional>
#include <string>
#include <vector>

#include "FrontEndForm.h"
#include "TreeView.h"

namespace tq {

struct TRequest {
  std::string Command;
  std::string Value;
};
// One message (without its NUL) as command and value.
TRequest SplitRequest(const std::string& message);

// <Features> with one <Feature tocheck="yes|no"><Name>    --key</Name>
// <Description>...</Description></Feature> per listed node (Display not 0),
// indented four blanks per tree level (at most 80).
std::string FeaturesXml(const TTreeNodes& nodes);

// <Settings> with the current choices and the install type's name.
std::string SettingsReply(const TUserChoices& choices, const std::string& installTypeName);

// What the greeting is made of.
struct TGreetingFacts {
  std::string PackageBaseName;
  bool OwnerKeyOpened = false;       // the CurrentVersion key of the machine opened
  std::string RegisteredOwner;       // its values
  std::string RegisteredOrganization;
  std::string CompanyName;           // the package's Manufacturer or the user's company
  std::string ProgramFilesFolder;    // special folder 38; empty when it does not resolve
  std::string SystemDrive;           // "C:\" of the system folder; empty when none
  std::string PerUser = "true";
  bool AnyListedFeature = false;     // some record has Display other than 0
  std::optional<std::string> Readme;   // readme.txt, when it exists
  std::optional<std::string> License;  // license.txt, when it exists
  std::string DisableComplete = "No";
};
// The organisation the greeting names: CompanyName, else the registered one
// (only when the key opened), "Quorvel Data Corporation" shortened to "Quorvel".
std::string GreetingOrganization(const TGreetingFacts& facts);
std::string DefaultDestination(const TGreetingFacts& facts);
std::string GreetingText(const TGreetingFacts& facts);

// <ExistingGroups><Group>name</Group>...</ExistingGroups>
std::string ExistingGroupsReply(const std::vector<std::string>& names);
// The sub-folders of a folder other than "." and "..", in file-system order.
std::vector<std::string> SubFolders(const std::string& folder);

// The feature lists the Type and Features commands set: keys in tree order,
// blanks around them removed, separated by commas.
std::string FeatureKeys(const TTreeNodes& nodes, int maxLevel);  // maxLevel < 0: every record
std::string ChosenFeatureList(const TTreeNodes& nodes, const std::string& itemsValue);

// "<InstallProgress>" percent "</InstallProgress>"
std::string InstallProgressElement(int percent);
inline const char* const kFinishedElement = "<Finished/>";

}  // namespace tq
