#include "SorvexProtocol.h"

#include <windows.h>

#include "SysUtils.h"

namespace tq {

TRequest SplitRequest(const std::string& message) {
  const size_t sep = message.find("::");
  if (sep == std::string::npos) return {"Quit", ""};
  return {message.substr(0, sep), message.substr(sep + 2)};
}

namespace {

std::string Element(const std::string& name, const std::string& text) {
  return "<" + name + ">" + text + "</" + name + ">";
}

}  // namespace

std::string FeaturesXml(const TTreeNodes& nodes) {
  std::string xml = "<Features>";
  for (TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext()) {
    const TFeature* f = FeatureOf(n);
    if (!f || f->Display == 0) continue;
    const int blanks = std::min(4 * n->Level(), 80);
    xml += std::string("<Feature tocheck=\"") + (f->Level == 4 ? "yes" : "no") + "\">";
    xml += Element("Name", std::string(size_t(blanks), ' ') + "--" + f->Name);
    xml += Element("Description", f->Description);
    xml += "</Feature>";
  }
  return xml + "</Features>";
}

std::string SettingsReply(const TUserChoices& c, const std::string& installTypeName) {
  return "<Settings>" + Element("DestinationPath", c.DestinationPath) + Element("InstallType", installTypeName) +
         Element("Features", c.FeatureList) + Element("CustomerName", c.CustomerName) +
         Element("CompanyName", c.CompanyName) + Element("Key", c.Key) + Element("Group", c.Group) + "</Settings>";
}

std::string GreetingOrganization(const TGreetingFacts& f) {
  if (!f.OwnerKeyOpened) return {};
  std::string org = !f.CompanyName.empty() ? f.CompanyName : f.RegisteredOrganization;
  if (org == "Quorvel Data Corporation") org = "Quorvel";
  return org;
}

std::string DefaultDestination(const TGreetingFacts& f) {
  std::string base = f.ProgramFilesFolder;
  if (base.empty()) {
    if (f.SystemDrive.empty()) return {};
    base = IncludeTrailingPathDelimiter(f.SystemDrive) + "Program Files\\";
  }
  base = IncludeTrailingPathDelimiter(base);
  const std::string org = GreetingOrganization(f);
  if (!org.empty()) base += org + "\\";
  return base + f.PackageBaseName;
}

std::string GreetingText(const TGreetingFacts& f) {
  std::string g = Element("ProductName", f.PackageBaseName);
  if (f.OwnerKeyOpened) {
    g += Element("RegisteredOwner", f.RegisteredOwner);
    g += Element("RegisteredOrganization", GreetingOrganization(f));
  }
  g += Element("DefaultDestination", DefaultDestination(f));
  g += Element("PerUser", f.PerUser);
  g += Element("DisableCustom", f.AnyListedFeature ? "false" : "true");
  g += Element("Readme", f.Readme.value_or(""));
  g += Element("License", f.License.value_or(""));
  g += Element("DisableComplete", f.DisableComplete);
  return g;
}

std::string ExistingGroupsReply(const std::vector<std::string>& names) {
  std::string r = "<ExistingGroups>";
  for (const std::string& n : names) r += Element("Group", n);
  return r + "</ExistingGroups>";
}

std::vector<std::string> SubFolders(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((IncludeTrailingPathDelimiter(folder) + "*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(h, &data));
  FindClose(h);
  return names;
}

std::string FeatureKeys(const TTreeNodes& nodes, int maxLevel) {
  std::string list;
  for (TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext()) {
    const TFeature* f = FeatureOf(n);
    if (!f || (maxLevel >= 0 && f->Level > maxLevel)) continue;
    if (!list.empty()) list += ",";
    list += Trim(f->Name);
  }
  return list;
}

std::string ChosenFeatureList(const TTreeNodes& nodes, const std::string& itemsValue) {
  std::string list;
  for (TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext()) {
    const TFeature* f = FeatureOf(n);
    if (f && f->Level <= 3) list += Trim(f->Name) + ",";
  }
  size_t start = 0;
  for (size_t end; (end = itemsValue.find("::", start)) != std::string::npos; start = end + 2) {
    const std::string item = itemsValue.substr(start, end - start);
    const size_t dashes = item.find("--");
    if (dashes != std::string::npos) list += item.substr(dashes + 2) + ",";
  }
  if (!list.empty()) list.pop_back();
  return list;
}

std::string InstallProgressElement(int percent) { return Element("InstallProgress", std::to_string(percent)); }

}  // namespace tq
