// Times a whole build -- the table steps, then the cabinet phase on a second
// builder object, as the Build command runs them -- of a project made of the
// files in a source folder:
//   buildbench <program dir> <work dir> <source dir> [tables]
// ("tables": the table steps alone, for profiling them.)
// The project has ten choices sharing the files (file i in choice i % 10, in
// the name order of the folder), in a small directory tree. The package is
// <work dir>Bench.msi. Each step prints its wall time and this process's CPU
// time (user + kernel), which other programs on a busy machine do not inflate
// as much as they do the wall time, and the peak resident memory of this
// process so far (its own high-water mark, not a launcher's).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BuildCabinet.h"
#include "BuildSteps.h"
#include "FileUtils.h"
#include "UpdaterStart.h"
#include "WorkspaceDialogs.h"
#include "choices.h"
#include "main.h"

using namespace tq;

namespace {

const char* const ProgramFiles[] = {"lcid.dat", "template.tpl", "templatemsm.tpl", "Installation.txt",
                                    "banner.template.bmp", "welcome.template.bmp", "banner.bmp", "welcome.bmp"};
const char* const StandIns[] = {"TQSetGroup.exe", "TQSetDestinationPath.exe", "TQSetSub.exe", "Uninstall.exe"};

// Wall-clock and CPU seconds since a point.
struct TTimes {
  double Wall, Cpu;
};

double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME f) {
    return static_cast<double>(static_cast<unsigned long long>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

class TStopwatch {
 public:
  TTimes Elapsed() const {
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - FWall).count(), CpuSeconds() - FCpu};
  }

 private:
  std::chrono::steady_clock::time_point FWall = std::chrono::steady_clock::now();
  double FCpu = CpuSeconds();
};

// This process's peak resident memory so far, in MB.
unsigned long long PeakMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize >> 20;
}

void PrintTimes(const char* name, TTimes t) {
  std::printf("  %-22s %8.2f s %8.2f s cpu %6llu MB peak\n", name, t.Wall, t.Cpu, PeakMegabytes());
}

// The files of a folder (not its subfolders), in name order.
std::vector<std::string> SourceFiles(const std::string& dir) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.is_regular_file()) paths.push_back(dir + entry.path().filename().string());
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace

int main(int argc, char** argv) {
  const bool tablesOnly = argc == 5 && std::string(argv[4]) == "tables";
  if (argc != 4 && !tablesOnly) {
    std::fprintf(stderr, "usage: buildbench <program dir> <work dir> <source dir> [tables]\n");
    return 2;
  }
  const std::string programDir = IncludeTrailingPathDelimiter(argv[1]);
  const std::string work = IncludeTrailingPathDelimiter(argv[2]);
  const std::vector<std::string> files = SourceFiles(IncludeTrailingPathDelimiter(argv[3]));
  const int count = static_cast<int>(files.size());
  if (count == 0) {
    std::fprintf(stderr, "no files in %s\n", argv[3]);
    return 2;
  }
  const std::string app = work + "app\\";
  ForceDirectories(app + "help");
  for (const char* f : ProgramFiles) CopyFile(programDir + f, app + f, false);
  for (const char* f : StandIns) std::ofstream(app + f) << "stand-in";
  std::ofstream(app + "DontShowUpdates.dat") << "";
  ShellOpenHook() = [](const std::string&, const std::string&, const std::string&) {};
  TRWInstallForm::AppDirOverride() = app;
  try {
    Application->CreateForm(RWInstallForm);
    TRWInstallForm& w = *RWInstallForm;
    w.FOutputFile = work + "Bench.msi";
    w.edProductName->SetText("Bench");
    w.edProductVersion->SetText("1.0");
    w.edManufacturer->SetText("Maker");
    TTreeNode* home = w.trTargetDir->Items().GetFirstNode();
    TTreeNode* bin = w.trTargetDir->Items().AddChild(home, "bin");
    w.trTargetDir->Items().AddChild(bin, "data");

    const int choices = 10;
    std::vector<TChoice*> list{dynamic_cast<TChoice*>(w.tcChoices->Tabs().GetObjectAt(0))};
    for (int c = 1; c < choices; ++c) {
      auto* choice = new TChoice(&w);
      choice->FName = choice->Title = "Choice" + IntToStr(c);
      w.tcChoices->Tabs().InsertObject(w.tcChoices->Tabs().Count() - 1, choice->FName, choice);
      w.trChoices->Items().AddChild(w.trChoices->Items().GetFirstNode(), choice->FName);
      list.push_back(choice);
    }
    const char* dirs[] = {"<Home Directory>", "bin", "data"};
    for (int i = 0; i < count; ++i) {
      list[static_cast<size_t>(i % choices)]->Files->Add(files[static_cast<size_t>(i)]);
      list[static_cast<size_t>(i % choices)]->Directories->Add(dirs[i % 3]);
    }

    TStopwatch total;
    auto build = std::make_unique<TBuild>();
    auto step = [](const char* name, auto run) {
      TStopwatch watch;
      run();
      PrintTimes(name, watch.Elapsed());
    };
    std::printf("%d files:\n", count);
    bool ok = true;
    step("prepare", [&] { ok = PrepareDatabase(*build); });
    if (!ok) return 1;
    step("directory", [&] { WriteDirectoryTable(*build); });
    step("feature", [&] { WriteFeatureTable(*build); });
    step("component", [&] { WriteComponentTables(*build); });
    step("file", [&] { WriteFileTables(*build); });
    step("commit", [&] { build->CommitDatabase(); });
    PrintTimes("table steps", total.Elapsed());
    if (tablesOnly) return 0;
    // A fresh builder for the cabinet phase, the table steps' one closed first,
    // as the Build command runs them.
    step("cabinet", [&] {
      build = std::make_unique<TBuild>();
      BuildCabinet(*build);
    });
    PrintTimes("whole build", total.Elapsed());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
