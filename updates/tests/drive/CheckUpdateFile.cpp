// updcheck: reads an update file back with the test reader, checking every
// field, and prints "ok <old version> <new version>" and one line per entry
// (its name), or the reader's complaint with exit code 1.
//   updcheck <file.upd>
#include <cstdio>
#include <exception>

#include "UpdReader.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: updcheck <file.upd>\n");
    return 2;
  }
  try {
    tq::testing::TUpdFile f = tq::testing::ReadUpdFile(tq::testing::ReadFileBytes(argv[1]));
    if (!f.Ok) {
      std::printf("bad: %s\n", f.Error.c_str());
      return 1;
    }
    std::printf("ok %s %s\n", f.OldVersion.c_str(), f.NewVersion.c_str());
    for (const tq::testing::TUpdEntry& e : f.Entries) std::printf("%s\n", e.Name.c_str());
    return 0;
  } catch (const std::exception& e) {
    std::printf("bad: %s\n", e.what());
    return 1;
  }
}
