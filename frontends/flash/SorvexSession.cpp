#include "SorvexSession.h"

#include "SysUtils.h"

namespace tq {

void TSorvexSession::Run(const std::string& greeting) {
  Reply(greeting);
  while (Handle(FConnection.ReadMessage())) {
  }
}

bool TSorvexSession::Handle(const std::string& message) {
  const TRequest r = SplitRequest(message);
  const std::string& c = r.Command;
  const std::string& v = r.Value;
  if (c == "Quit") return false;
  if (c == "XMLSocketError") {
    FHost.ShowClientError(v);
  } else if (c == "Directory") {
    std::lock_guard<std::mutex> g(FLock);
    FChoices.DestinationPath = v;
  } else if (c == "Group") {
    std::lock_guard<std::mutex> g(FLock);
    FChoices.Group = v;
  } else if (c == "BrowseDirectory") {
    if (std::optional<std::string> chosen = FHost.ShowFolderDialog())
      Reply("<Directory>" + ExcludeTrailingPathDelimiter(ExtractFilePath(*chosen)) + "</Directory>");
  } else if (c == "Type") {
    std::string reply;
    {
      std::lock_guard<std::mutex> g(FLock);
      if (v == "Custom") {
        FChoices.InstallType = 1;
        reply = FFeaturesXml;
      } else {
        if (v == "Complete") {
          FChoices.InstallType = 2;
          FChoices.FeatureList = FeatureKeys(FNodes, -1);
        } else {
          FChoices.InstallType = 0;
          FChoices.FeatureList = FeatureKeys(FNodes, 4);
        }
        reply = SettingsReply(FChoices, v);
      }
    }
    Reply(reply);
  } else if (c == "Features") {
    std::string reply;
    {
      std::lock_guard<std::mutex> g(FLock);
      FChoices.FeatureList = ChosenFeatureList(FNodes, v);
      reply = SettingsReply(FChoices, InstallTypeName(FChoices.InstallType));
    }
    Reply(reply);
  } else if (c == "Install") {
    FHost.PostInstall();
  } else if (c == "Info") {
    std::lock_guard<std::mutex> g(FLock);
    const size_t first = v.find("::");
    FChoices.CustomerName = v.substr(0, first);
    if (first == std::string::npos) {
      FChoices.CompanyName.clear();
      FChoices.Key.clear();
    } else {
      const size_t second = v.find("::", first + 2);
      FChoices.CompanyName = v.substr(first + 2, second == std::string::npos ? std::string::npos : second - first - 2);
      FChoices.Key = second == std::string::npos ? std::string() : v.substr(second + 2);
    }
  } else if (c == "license") {
    Reply("<Quit/>");
  } else if (c == "GetExistingGroups") {
    const std::string folder = FHost.GroupsFolder(v == "CurrentUser");
    if (!folder.empty()) Reply(ExistingGroupsReply(SubFolders(folder)));
  } else if (c == "GroupScope") {
    std::lock_guard<std::mutex> g(FLock);
    FChoices.GroupCurrentUser = v == "Current";
  }
  return true;
}

}  // namespace tq
