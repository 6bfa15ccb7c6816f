// Times the cabinet writer alone -- the files of a folder, in name order, added
// to one MSZIP cabinet as the cabinet phase opens it -- and prints the CPU
// seconds of adding and of flushing and the wall time in all:
//   cabbench <source dir> <cabinet> [folder threshold]
// Not a test: a measurement of the writer, its file handler and the library
// apart from the package around them.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Cabinet.h"
#include "FileUtils.h"

using namespace tq;

namespace {

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME f) {
    return static_cast<double>(static_cast<unsigned long long>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: cabbench <source dir> <cabinet> [folder threshold]\n");
    return 2;
  }
  const std::string dir = IncludeTrailingPathDelimiter(argv[1]);
  const int threshold = argc > 3 ? std::atoi(argv[3]) : 900000;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file()) files.push_back(dir + entry.path().filename().string());
  std::sort(files.begin(), files.end());
  try {
    TStreamCabinetFileHandler handler(nullptr);
    TCabinetWriter writer(nullptr);
    writer.SetFileHandler(&handler);
    const auto start = std::chrono::steady_clock::now();
    const double cpu0 = CpuSeconds();
    writer.Open(argv[2], "", 2147483647, threshold, 0);
    int n = 0;
    for (const std::string& f : files)
      writer.AddFile(f, "FILE" + std::to_string(++n) + "S" + ExtractFileName(f), false, CompressionMSZIP());
    const double cpu1 = CpuSeconds();
    writer.FlushCabinet(false);
    writer.Close();
    const double cpu2 = CpuSeconds();
    std::printf("%zu files: add %.2f s cpu, flush %.2f s cpu, %.2f s wall\n", files.size(), cpu1 - cpu0, cpu2 - cpu1,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cabbench failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
