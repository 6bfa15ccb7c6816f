// Writes a package through the cabinet phase for the other installer and
// cabinet programs to check (run as buildcabinet_peer_write): the package, its
// sources under src\ and "files.txt", one line per File row in Sequence order:
// file key, place below the install folder and source, separated by tabs.
#include "BuildCabinetTestSupport.h"

#include <cstdlib>
#include <fstream>

using namespace tq;
using namespace tq::testing;

TEST(CabinetPhasePeer, WritesPackage) {
  const char* dir = std::getenv("TQ_PEER_PACKAGE_DIR");
  if (!dir) GTEST_SKIP() << "run as buildcabinet_peer_write";
  CoInitialize(nullptr);
  std::string root = std::string(dir) + "\\";
  TPreparedProject p(root, StandardFiles());
  p.Prepare();
  TCabinetTools tools;
  TBuild build;
  RunCabinetPhase(build, tools.Writer, p.Job());
  std::ofstream list(root + "files.txt", std::ios::binary);
  for (size_t i = 0; i < p.Files.size(); ++i)
    list << p.FileKey(i) << '\t' << (p.Files[i].Directory == "Data" ? "Data/" : "") << p.Files[i].Name
         << "\tsrc/" << p.Files[i].Name << '\n';
  CoUninitialize();
}
