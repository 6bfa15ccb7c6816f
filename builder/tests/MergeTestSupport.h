#pragma once
// The fixture merge module that msibuild and gcab make beside the tests, and
// what a merge of it into a prepared package must leave there.
#include <string>
#include <vector>

#include "BuildCabinetTestSupport.h"

namespace tq::testing {

inline const std::string Suffix = ".7D2C0E4A_9B31_4F6E_A5D8_3C1B2E9F4A60";
inline std::string FixtureDir() { return std::string(TQ_BINARY_DIR) + "\\merge-fixture\\"; }
inline std::string FixtureModule() { return FixtureDir() + "fixture.msm"; }
inline std::string FixtureCabinet() { return FixtureDir() + "fixture.cab"; }

// One file of the module: its key, its folder below the redirect directory,
// its name there.
struct TModuleFile {
  std::string Key;
  std::string Folder;  // "" (the redirect directory itself), "Fixture\", "Fixture\Sub\"
  std::string Name;
  std::string Content() const { return testing::ReadAll(FixtureDir() + "files\\" + Key); }
};
inline std::vector<TModuleFile> ModuleFiles() {
  return {{"FixFile1" + Suffix, "Fixture\\", "one.txt"},
          {"FixFile2" + Suffix, "Fixture\\Sub\\", "two.dat"},
          {"FixFile3" + Suffix, "", "three.txt"}};
}

inline std::string Row(std::initializer_list<std::string> fields) {
  std::string row;
  for (const std::string& f : fields) row += (row.empty() ? "" : "|") + f;
  return row;
}

}  // namespace tq::testing
