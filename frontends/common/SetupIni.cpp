#include "SetupIni.h"

#include "IniFiles.h"

namespace tq {

std::string SetupIniFile(const std::string& programFolder) { return programFolder + "setup.ini"; }

std::string ReadSetupKey(const std::string& programFolder, const std::string& key, const std::string& def) {
  return TIniFile(SetupIniFile(programFolder)).ReadString("Setup", key, def);
}

void WriteSetupGroup(const std::string& programFolder, const std::string& groupPath) {
  TIniFile(SetupIniFile(programFolder)).WriteString("Setup", "Group", groupPath);
}

}  // namespace tq
