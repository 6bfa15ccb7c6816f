#pragma once
// The keys of setup.ini (section "Setup", in the program folder) that the
// front-ends read and write: PerUser and DisableComplete are read, Group (the
// full path of the chosen program group) is written.
#include <string>

namespace tq {

std::string SetupIniFile(const std::string& programFolder);
std::string ReadSetupKey(const std::string& programFolder, const std::string& key, const std::string& def);
void WriteSetupGroup(const std::string& programFolder, const std::string& groupPath);

}  // namespace tq
