// Times the update publisher's delta and lh5 compressor on files, for
// bench.sh. Prints one line: the output size in bytes and the seconds taken.
//   updbench delta OLD NEW OUT   the delta of NEW against OLD
//   updbench lh5 IN OUT          the lh5 stream of IN
#include <chrono>
#include <cstdio>
#include <string>

#include "Classes.h"
#include "Lh5Unit.h"
#include "SysUtils.h"
#include "aDiff.h"

using namespace tq;

int main(int argc, char** argv) {
  try {
    std::string mode = argc > 1 ? argv[1] : "";
    auto start = std::chrono::steady_clock::now();
    int64_t size = 0;
    if (mode == "delta" && argc == 5) {
      TFileStream oldFile(argv[2], fmOpenRead | fmShareDenyNone);
      TFileStream newFile(argv[3], fmOpenRead | fmShareDenyNone);
      TFileStream out(argv[4], fmCreate);
      MakeDelta(newFile, oldFile, out, 1000);
      size = out.Size();
    } else if (mode == "lh5" && argc == 4) {
      TFileStream in(argv[2], fmOpenRead | fmShareDenyNone);
      TFileStream out(argv[3], fmCreate);
      Lh5Compress(in, out);
      size = out.Size();
    } else {
      std::fprintf(stderr, "usage: updbench delta OLD NEW OUT | updbench lh5 IN OUT\n");
      return 2;
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%lld %.3f\n", static_cast<long long>(size), secs);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "updbench: %s\n", e.what());
    return 1;
  }
}
