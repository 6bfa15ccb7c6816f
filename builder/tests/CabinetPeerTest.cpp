// Cabinets shared with other cabinet programs: the CabinetPeer.WritesCabinet
// case leaves a cabinet, its sources and its member list for
// check-peer-cabinet.sh (cabextract, gcab), and our reader extracts a cabinet
// that gcab made from the files in cabinet-tests/gcab-src.
#include <cstdlib>

#include "CabinetTestSupport.h"

namespace tq::testing {
namespace {

const std::string kPeerDir = std::string(TQ_BINARY_DIR) + "\\cabinet-tests\\";

using CabinetPeer = CabinetFixture;

// The cabinet goes where TQ_PEER_CAB_DIR says (the ctest peer fixture sets
// it), else into the scratch folder, so that this case run on its own never
// disturbs the files the peer check reads.
TEST_F(CabinetPeer, WritesCabinet) {
  const char* target = std::getenv("TQ_PEER_CAB_DIR");
  std::string peer = target ? AddTrailingBackslash(target) : MakeDir("peer");
  std::string src = peer + "src\\";
  CreateDirectoryA(peer.c_str(), nullptr);
  RemoveTree(src);
  ASSERT_TRUE(CreateDirectoryA(src.c_str(), nullptr));
  std::vector<TMember> members = {
      {"FILE1Sreadme.txt", "Read me first.\r\n"},
      {"FILE2SMy App's Data.dll", Incompressible(70000, 3)},
      {"FILE3Sempty.dat", ""},
      {"FILE4Sbig.txt", Compressible(2500000)},
      {"FILE5Snoise.bin", Incompressible(300000, 4)},
  };
  std::string cab = peer + "ours.cab";
  DeleteFileA(cab.c_str());
  Writer->Open(cab, "", 2147483647, 900000, 0);
  std::string list;
  for (const TMember& m : members) {
    WriteAll(src + m.Name, m.Content);
    Writer->AddFile(src + m.Name, m.Name, false, CompressionMSZIP());
    list += m.Name + "\n";
  }
  Writer->FlushCabinet(false);
  Writer->Close();
  WriteAll(peer + "members.txt", list);
  EXPECT_TRUE(Exists(cab));
}

TEST_F(CabinetPeer, ReadsGcabCabinet) {
  std::string cab = kPeerDir + "gcab-made.cab", src = kPeerDir + "gcab-src\\";
  if (!Exists(cab)) GTEST_SKIP() << "no gcab-made cabinet (gcab missing at build time)";
  std::string out = MakeDir("out");
  std::vector<std::string> order = Extract(cab, out);
  std::vector<std::string> expected = {"alpha.txt", "beta two.txt", "gamma's.dat", "big.txt"};
  EXPECT_EQ(order, expected);
  for (const std::string& name : expected) {
    std::string want = ReadAll(src + name), got = ReadAll(out + name);
    EXPECT_EQ(got.size(), want.size()) << name;
    EXPECT_TRUE(got == want) << name;
  }
}

}  // namespace
}  // namespace tq::testing
