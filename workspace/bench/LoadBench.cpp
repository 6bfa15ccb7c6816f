// tqloadbench: times one project loaded into the real main window, a second
// project loaded over it (the replace) and the window's end, in-process as
// the workspace tests make the window. Not a test.
//   tqloadbench <program folder copy> <first project> <second project>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "SysUtils.h"
#include "main.h"

using namespace tq;

namespace {

void Time(const char* label, const std::function<void()>& step) {
  const auto t0 = std::chrono::steady_clock::now();
  step();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
  std::printf("%-44s %7.2f s\n", label, took.count());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: tqloadbench <program folder copy> <first project> <second project>\n");
    return 2;
  }
  try {
    TRWInstallForm::AppDirOverride() = IncludeTrailingPathDelimiter(argv[1]);
    Application->CreateForm(RWInstallForm);
    Time("load (in-process)", [&] { RWInstallForm->ReadProjectFrom(argv[2]); });
    Time("replace (in-process)", [&] { RWInstallForm->ReadProjectFrom(argv[3]); });
    std::printf("registry tabs: %d\n", RWInstallForm->tcRegistry->Tabs().Count());
    Time("close (in-process)", [&] {
      delete RWInstallForm;
      RWInstallForm = nullptr;
    });
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tqloadbench: %s\n", e.what());
    return 1;
  }
  return 0;
}
