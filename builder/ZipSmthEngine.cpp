// Loading and unloading the zip engine ZIPENG.DLL.
#include <windows.h>

#include "FileUtils.h"
#include "ZipEngRecords.h"
#include "ZipSmth.h"
#include "ZipSmthMessages.h"

namespace tq {
namespace {

std::string ProgramFolder() {
  char buf[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  std::string p(buf, n);
  return p.substr(0, p.find_last_of('\\') + 1);
}

}  // namespace

void TZipSmith::LoadZipEng() {
  if (FEngine) return;
  // The engine beside the program comes before anything the search would find
  // in the current folder.
  std::string path = "ZIPENG.DLL";
  if (!FDLLDirectory.empty() && FileExists(FDLLDirectory + "\\ZIPENG.DLL"))
    path = FDLLDirectory + "\\ZIPENG.DLL";
  else if (FileExists(ProgramFolder() + "ZIPENG.DLL"))
    path = ProgramFolder() + "ZIPENG.DLL";
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE h = LoadLibraryA(path.c_str());
  SetErrorMode(oldMode);
  if (reinterpret_cast<uintptr_t>(h) <= 32) {
    ShowZipMessage(zipmsg::DllNotFound);
    return;
  }
  FARPROC exec = GetProcAddress(h, "ZipEngExec");
  FARPROC version = GetProcAddress(h, "GetZipEngVersion");
  if (!exec || !version) {
    FreeLibrary(h);
    ShowZipMessage(exec ? zipmsg::NoVersionEntry : zipmsg::NoExecEntry);
    return;
  }
  FEngine = h;
  FExec = reinterpret_cast<void*>(exec);
  FVersion = reinterpret_cast<void*>(version);
  if (Trace) ShowZipMessage(zipmsg::DllLoaded);
}

void TZipSmith::UnloadZipEng() {
  if (!FEngine) return;
  FreeLibrary(static_cast<HMODULE>(FEngine));
  FEngine = FExec = FVersion = nullptr;
}

int TZipSmith::ZipEngVersion() {
  bool loadedHere = !FEngine;
  LoadZipEng();
  if (!FEngine) return 0;
  int v = reinterpret_cast<zipeng::TGetZipEngVersion>(FVersion)();
  if (loadedHere) UnloadZipEng();
  return v;
}

}  // namespace tq
