#include "FakeZipEngine.h"

#include <cstring>

namespace {

tq::fakezip::TState gState = [] {
  tq::fakezip::TState s{};
  s.Version = 160;
  return s;
}();

void CopyText(char* to, const char* from, bool* present = nullptr) {
  if (present) *present = from != nullptr;
  to[0] = 0;
  if (from) std::strncpy(to, from, tq::fakezip::kTextSize - 1);
}

}  // namespace

extern "C" {

__declspec(dllexport) tq::fakezip::TState* TQ_ZIPENG_STDCALL FakeZipEngineState() { return &gState; }

__declspec(dllexport) int32_t TQ_ZIPENG_STDCALL GetZipEngVersion() { return gState.Version; }

__declspec(dllexport) int32_t TQ_ZIPENG_STDCALL ZipEngExec(tq::zipeng::TZipParms* p) {
  using namespace tq;
  auto& s = gState;
  ++s.Calls;
  std::memcpy(&s.Record, p, sizeof s.Record);
  CopyText(s.Password, p->Password, &s.HasPassword);
  CopyText(s.Suffixes, p->StoreSuffixes, &s.HasSuffixes);
  CopyText(s.Archive, p->ArchiveName);
  if (s.Version >= 151) {
    CopyText(s.TempDir, p->TempDir, &s.HasTempDir);
    for (int i = 0; i < p->SpecCount && i < fakezip::kMaxSpecs && p->FileData; ++i) {
      s.Data[i] = p->FileData[i];
      CopyText(s.Specs[i], p->FileData[i].FileSpec);
      CopyText(s.SpecPasswords[i], p->FileData[i].Password);
      CopyText(s.SpecRoots[i], p->FileData[i].RootDir);
    }
  } else {
    auto* old = reinterpret_cast<zipeng::TZipParmsOld*>(p);
    s.OldEndMarker = old->EndMarker;
    for (int i = 0; i < p->SpecCount && i < fakezip::kMaxSpecs; ++i) CopyText(s.OldSpecs[i], old->Specs[i]);
  }
  if (s.Version >= 160) {
    CopyText(s.Comment, p->Comment, &s.HasComment);
    for (int i = 0; i < p->ExcludeCount && i < fakezip::kMaxSpecs; ++i) CopyText(s.Excludes[i], p->ExcludeSpecs[i]);
  }
  for (int i = 0; i < s.StepCount; ++i) {
    fakezip::TStep& step = s.Steps[i];
    zipeng::TZipCallbackData d;
    std::memset(&d, 0, sizeof d);
    d.Handle = p->Handle;
    d.Caller = p->Caller;
    d.Version = s.Version;
    d.IsOperationZip = step.Extract ? 0 : 1;
    d.ActionCode = step.Action;
    d.ErrorCode = step.Code;
    d.FileSize = step.Size;
    std::strncpy(d.Message, step.Text, sizeof d.Message - 1);
    step.Returned = p->Callback(&d);
    step.AnswerAction = d.ActionCode;
    step.AnswerCode = d.ErrorCode;
    step.AnswerSize = d.FileSize;
    std::memcpy(step.AnswerText, d.Message, sizeof step.AnswerText);
    step.AnswerText[fakezip::kTextSize - 1] = 0;
  }
  return s.Result;
}

}
