#include "EngineHarness.h"

#include <cstring>

#include "kit/ZipTestKit.h"

namespace tq::ziptest {

const char* const kDefaultSuffixes =
    ".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha:.rar:.ace:.cab:.gz:.gzip:.jar";

TEngine::TEngine() {
  FModule = LoadLibraryA(TQ_PROGRAM_DIR "\\ZIPENG.DLL");
  if (!FModule) return;
  FExec = reinterpret_cast<zipeng::TZipEngExec>(reinterpret_cast<void*>(GetProcAddress(FModule, "ZipEngExec")));
  FVersion = reinterpret_cast<zipeng::TGetZipEngVersion>(
      reinterpret_cast<void*>(GetProcAddress(FModule, "GetZipEngVersion")));
}

TEngine::~TEngine() {
  if (FModule) FreeLibrary(FModule);
}

TCommand::TCommand(const std::string& archive) : FArchive(archive) {}

TCommand& TCommand::Spec(const std::string& spec, const std::string& rootDir, bool recurse) {
  FSpecs.push_back({spec, rootDir, recurse});
  return *this;
}

TCommand& TCommand::Exclude(const std::string& spec) {
  FExcludes.push_back(spec);
  return *this;
}

char* TCommand::Keep(const std::string& s) {
  if (s.empty()) return nullptr;
  FTexts.push_back(std::make_unique<std::string>(s));
  return FTexts.back()->data();
}

zipeng::TZipParms& TCommand::Parms() {
  if (FBuilt) return FParms;
  FBuilt = true;
  std::memset(&FParms, 0, sizeof FParms);
  zipeng::TZipParms& p = FParms;
  p.Caller = this;
  p.Version = 160;
  p.Callback = &TCommand::Callback;
  p.Password = Keep(Password);
  p.StoreSuffixes = Keep(Suffixes);
  p.Encrypt = Encrypt ? -1 : 0;
  p.NoDirEntries = NoDirEntries ? -1 : 0;
  p.Reserved14 = -1;
  p.Level = Level;
  p.JunkDir = JunkDir ? -1 : 0;
  p.Reserved20 = -1;
  p.Move = Move ? -1 : 0;
  p.Update = Update ? -1 : 0;
  p.Freshen = Freshen ? -1 : 0;
  p.SpecCount = int32_t(FSpecs.size());
  p.ArchiveName = Keep(FArchive);
  p.TempDir = Keep(TempDir);
  p.Comment = Keep(Comment);
  FData.assign(FSpecs.size(), zipeng::TZipFileData{});
  for (size_t i = 0; i < FSpecs.size(); ++i) {
    std::memset(&FData[i], 0, sizeof FData[i]);
    FData[i].FileSpec = Keep(FSpecs[i].Spec);
    FData[i].Encrypt = p.Encrypt;
    FData[i].Recurse = FSpecs[i].Recurse ? 0xFFFF : 0;
    FData[i].RootDir = Keep(FSpecs[i].Root);
  }
  p.FileData = FData.data();
  for (const std::string& e : FExcludes) FExcludePtrs.push_back(Keep(e));
  p.ExcludeCount = int32_t(FExcludePtrs.size());
  p.ExcludeSpecs = FExcludePtrs.empty() ? nullptr : FExcludePtrs.data();
  p.EndMarker = 7;
  return p;
}

int32_t TCommand::Run(const TEngine& engine) {
  Events.clear();
  FStopSeen = 0;
  return engine.Exec(&Parms());
}

int32_t TQ_ZIPENG_STDCALL TCommand::Callback(zipeng::TZipCallbackData* d) {
  auto* self = static_cast<TCommand*>(d->Caller);
  self->Events.push_back({d->ActionCode, d->ErrorCode, d->FileSize, d->Message});
  if (self->Answer) self->Answer(*d);
  if (self->StopAtAction && d->ActionCode == self->StopAtAction && ++self->FStopSeen >= self->StopAfter) return -1;
  return 0;
}

std::vector<TCallbackEvent> TCommand::EventsOf(int32_t action) const {
  std::vector<TCallbackEvent> out;
  for (const auto& e : Events)
    if (e.Action == action) out.push_back(e);
  return out;
}

std::string WorkFolder(const std::string& name) {
  return FreshFolder(std::string(TQ_BINARY_DIR) + "\\zipengine-work\\" + name);
}

}  // namespace tq::ziptest
