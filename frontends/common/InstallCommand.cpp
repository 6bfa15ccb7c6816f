#include "InstallCommand.h"

#include <windows.h>
#include <shlobj.h>

namespace tq {

namespace {

void RefuseQuote(const std::string& what, const std::string& value) {
  if (value.find('"') != std::string::npos)
    throw EInstallValueRefused("The " + what + " \"" + value + "\" holds a double quote; nothing is installed.");
}

void RefuseUnquotedList(const std::string& list) {
  RefuseQuote("feature list", list);
  for (unsigned char c : list)
    if (c <= ' ')
      throw EInstallValueRefused("The feature list \"" + list + "\" holds a blank or control character; "
                                 "nothing is installed.");
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

std::string VantrelFeatureList(const std::vector<std::string>& keys) {
  if (keys.empty()) return {};
  std::string list = "ADDDEFAULT=\"BRINDLEREGDATA";
  for (const std::string& k : keys) {
    RefuseQuote("feature", k);
    list += "," + k;
  }
  return list + "\"";
}

std::string VantrelPropertyString(const std::string& destination, const std::string& groupPath,
                                  const std::string& featureList) {
  RefuseQuote("destination", destination);
  RefuseQuote("group", groupPath);
  if (!featureList.empty()) {
    const std::string head = "ADDDEFAULT=\"";
    const bool shaped = featureList.size() > head.size() && featureList.compare(0, head.size(), head) == 0 &&
                        featureList.back() == '"' &&
                        featureList.find('"', head.size()) == featureList.size() - 1;
    if (!shaped) throw EInstallValueRefused("The feature list " + featureList + " is malformed; nothing is installed.");
  }
  std::string s = "MSIRUN=0 TARGETDIR=" + Quoted(destination);
  if (!groupPath.empty()) s += " GROUP=" + Quoted(groupPath);
  return s + " " + featureList;
}

std::string SorvexPropertyString(const std::string& destination, const std::string& featureList,
                                 const std::string& groupPath) {
  RefuseQuote("destination", destination);
  RefuseUnquotedList(featureList);
  RefuseQuote("group", groupPath);
  std::string s = "TARGETDIR=" + Quoted(destination) + " ADDDEFAULT=";
  if (!featureList.empty()) s += featureList + ",";
  s += "BRINDLEREGDATA MSIRUN=0";
  if (!groupPath.empty()) s += " GROUP=" + Quoted(groupPath);
  return s;
}

void InstallPackage(TInstaller& installer, const std::string& programFolder, const std::string& packageName,
                    const std::string& properties) {
  installer.EnableLog("v", programFolder + "msi.log");
  installer.InstallProduct(programFolder + packageName, properties);
}

std::string InstallFailureText(const std::string& message) { return "Error or Cancel. The message was " + message; }

std::string SpecialFolder(int csidl) {
  char buf[MAX_PATH] = "";
  if (!SHGetSpecialFolderPathA(nullptr, buf, csidl, FALSE)) return {};
  return buf;
}

std::string ProgramsFolder(bool currentUser) {
  std::string p = SpecialFolder(currentUser ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS);
  return p.empty() ? p : IncludeTrailingPathDelimiter(p);
}

}  // namespace tq
