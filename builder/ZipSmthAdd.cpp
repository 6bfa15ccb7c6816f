// Adding files: the checks, the engine call with its command record, and the
// clean-up after it.
#include <windows.h>

#include "FileUtils.h"
#include "ZipEngRecords.h"
#include "ZipSmth.h"
#include "ZipSmthMessages.h"
#include "ZipSmthParms.h"

namespace tq {

bool IsLiveZipSmith(const void* p);

// The engine's callback: finds the component that started the operation.
struct TZipCallbackBridge {
  static int32_t TQ_ZIPENG_STDCALL Callback(zipeng::TZipCallbackData* data) {
    if (!data || !IsLiveZipSmith(data->Caller)) return 0;
    return static_cast<TZipSmith*>(data->Caller)->ZipCallback(*data);
  }
};

namespace {

// The window that owns the engine's own message boxes.
void* ApplicationWindow() { return GetActiveWindow(); }

}  // namespace

void TZipSmith::Add() { ExecAdd(); }

void TZipSmith::ExecAdd() {
  FSuccessCnt = 0;
  if (FFSpecArgs.Count() == 0) {
    ShowZipMessage(zipmsg::NothingToZip);
    return;
  }
  if (FZipFileName.empty()) {
    ShowZipMessage(zipmsg::NoZipSpecified);
    return;
  }
  if (Unattended && AddOptions.Contains(AddEncrypt) && FPassword.empty()) {
    ShowZipMessage(zipmsg::UnattendedNoPassword);
    return;
  }
  bool span = AddOptions.Contains(AddDiskSpan) || AddOptions.Contains(AddDiskSpanErase);
  if (span) {
    if (AddOptions.Contains(AddFreshen) || AddOptions.Contains(AddUpdate)) {
      ShowZipMessage(zipmsg::SpanNoFreshen);
      return;
    }
    if (SameText(ExtractFileExt(FZipFileName), ".EXE")) {
      ShowZipMessage(zipmsg::SfxNoSpan);
      return;
    }
  }
  if (FZipBusy) return;
  if (SameText(ExtractFileExt(FZipFileName), ".EXE") && !FileExists(FZipFileName) && FSFXOffset == 0) {
    // A new self-extractor starts as the stub with an empty archive.
    int r = ConvertSFXCore(true);
    if (r != 0) throw EZipSmith(zipmsg::AutoSfxError, {r});
  }

  // A spanned archive is written whole first, then copied onto its volumes.
  std::string target = FZipFileName;
  std::string temp = span ? MakeTempZipName() : std::string();
  if (span && Verbose && OnMessage) OnMessage(this, 0, "Temporary zipfile: " + temp);

  bool loadedHere = !FEngine;
  LoadZipEng();
  if (!FEngine) return;
  FZipBusy = true;
  FCancel = false;
  try {
    BuildAndRun(span ? temp : target);
  } catch (...) {
    FFSpecArgs.Clear();
    FFSpecArgsExcl.Clear();
    if (loadedHere) UnloadZipEng();
    FCancel = false;
    FZipBusy = false;
    if (span) DeleteFile(temp);
    throw;
  }
  FZipBusy = false;
  if (span) {
    if (FSuccessCnt > 0) {
      if (WriteSpan(temp, target) != 0) {
        FSuccessCnt = 0;
      } else {
        UINT type = GetDriveTypeA((ExtractFileDrive(ExpandFileName(target)) + "\\").c_str());
        if (type == DRIVE_FIXED || type == DRIVE_REMOTE) FZipFileName = LastVolumeName();
      }
    }
    DeleteFile(temp);
  }
  FFSpecArgs.Clear();
  FFSpecArgsExcl.Clear();
  if (loadedHere) UnloadZipEng();
  FCancel = false;
  if (FSuccessCnt > 0) List();
}

std::string TZipSmith::MakeTempZipName() {
  std::string dir = TempDir.empty() ? GetTempPath() : IncludeTrailingPathDelimiter(TempDir);
  char buf[MAX_PATH];
  while (GetTempFileNameA(dir.c_str(), "zip", 0, buf)) {
    std::string name = ChangeFileExt(buf, ".zip");
    DeleteFile(buf);
    if (!FileExists(name)) return name;
  }
  return dir + "zip" + IntToStr(GetTickCount()) + ".zip";
}

void TZipSmith::BuildAndRun(const std::string& archive) {
  FEngineVersion = reinterpret_cast<zipeng::TGetZipEngVersion>(FVersion)();
  TZipCommandRecord record(*this, archive, FEngineVersion, ApplicationWindow(), &TZipCallbackBridge::Callback);
  FSuccessCnt = reinterpret_cast<zipeng::TZipEngExec>(FExec)(record.Record());
}

void TZipSmith::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace tq
