// Builds a package through the Build button for msitools to read
// (check-peer-package.sh); skipped unless TQ_PEER_PACKAGE_DIR names the folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "BuildFixture.h"
#include "FileUtils.h"

using namespace tq;
using namespace tq::testing;

namespace {

class PeerPackage : public BuildTest {};

TEST_F(PeerPackage, BuildsThePeerPackage) {
  const char* out = std::getenv("TQ_PEER_PACKAGE_DIR");
  if (!out) GTEST_SKIP() << "run as buildsteps_peer_build";
  W->edProductName->SetText("O'Brien's Tool");
  W->edProductVersion->SetText("2.5.1");
  W->edManufacturer->SetText("O'Neil & Sons");
  W->edPackageCode->SetText("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");
  TTreeNode* app = AddDirectory(Home(), "App");
  AddDirectory(app, "Data files");
  AddDirectory(nullptr, "DesktopFolder");
  AddFile(Core(), MakeSource("app.exe", "MZ app"), "<Home Directory>", true);
  TChoice* docs = AddChoice("Docs");
  docs->Title = "Documents";
  docs->Description = "The user's guide";
  docs->Typical = true;
  AddFile(docs, MakeSource("beta two.txt", "beta"), "Data files");
  TChoice* extras = AddChoice("Extras", "Docs");
  extras->Title = "Extras";
  AddFile(extras, MakeSource("gamma's.dat", "gamma"), "App");
  ClickBuild();
  ASSERT_EQ(W->labBuilding->Caption(), "Build Complete");
  const std::string dir = IncludeTrailingPathDelimiter(out);
  ASSERT_TRUE(CopyFile(W->FOutputFile, dir + "peer.msi", false));
}

}  // namespace
