#include "ZipSmthParms.h"

#include <cstring>

#include "ZipSmth.h"

namespace tq {
namespace {

const char* const kSuffixes[] = {"gif", "png", "z",   "zip", "zoo", "arc",  "lzh", "arj", "taz",
                                 "tgz", "lha", "rar", "ace", "cab", "gz",   "gzip", "jar", "exe"};

int32_t Flag(bool b) { return b ? -1 : 0; }

}  // namespace

std::string TZipCommandRecord::SuffixList(uint32_t bits) {
  std::string list;
  for (int i = 0; i <= assEXE; ++i)
    if (bits & (1u << i)) list += std::string(".") + kSuffixes[i] + ":";
  if (!list.empty()) list.pop_back();
  return list;
}

char* TZipCommandRecord::Keep(const std::string& s) {
  if (s.empty()) return nullptr;
  FTexts.push_back(std::make_unique<std::string>(s));
  return FTexts.back()->data();
}

TZipCommandRecord::TZipCommandRecord(const TZipSmith& zip, const std::string& archive, int engineVersion,
                                     void* owner, zipeng::TZipCallback callback) {
  using namespace zipeng;
  bool modern = engineVersion >= 151;
  size_t bytes = modern ? sizeof(TZipParms) : sizeof(TZipParmsOld);
  FStorage.assign((bytes + 7) / 8, 0);
  TZipParms& p = *Record();
  const AddOpts& o = zip.AddOptions;

  p.Handle = zip.Unattended ? nullptr : owner;
  p.Caller = const_cast<TZipSmith*>(&zip);
  p.Version = 160;
  p.Callback = callback;
  p.Trace = Flag(zip.Trace);
  p.Password = Keep(zip.Password().substr(0, 81));
  p.StoreSuffixes = Keep(SuffixList(zip.AddStoreSuffixes.Bits()));
  p.Encrypt = Flag(o.Contains(AddEncrypt));
  p.SystemFiles = Flag(o.Contains(AddHiddenFiles));
  p.Volume = Flag(o.Contains(AddVolume));
  p.NoDirEntries = Flag(!o.Contains(AddSeparateDirs));
  p.Verbose = Flag(zip.Verbose || zip.Trace);
  p.Reserved14 = -1;
  p.Level = zip.AddCompLevel;
  p.JunkDir = Flag(!o.Contains(AddDirNames));
  p.Recurse = o.Contains(AddRecurseDirs) ? 0xFFFF : 0;
  p.Reserved20 = -1;
  p.ForceDOS = Flag(o.Contains(AddForceDOS));
  p.Move = Flag(o.Contains(AddMove));
  p.Update = Flag(o.Contains(AddUpdate));
  p.Freshen = Flag(o.Contains(AddFreshen) && !o.Contains(AddUpdate));
  p.LatestTime = Flag(o.Contains(AddZipTime));
  p.ArchiveName = Keep(archive);

  // Each spec may carry a ">" (recurse) or "|" (do not recurse) in front and
  // "<" with a password of its own behind ("<" alone: not encrypted).
  struct TSpec {
    std::string Text, Password;
    int32_t Encrypt;
    uint16_t Recurse;
  };
  std::vector<TSpec> specs;
  const TStrings& args = zip.FSpecArgs();
  for (int i = 0; i < args.Count(); ++i) {
    TSpec s{args.Get(i), "", p.Encrypt, p.Recurse};
    if (!s.Text.empty() && s.Text[0] == '>') {
      s.Recurse = 0xFFFF;
      s.Text.erase(0, 1);
    } else if (!s.Text.empty() && s.Text[0] == '|') {
      s.Recurse = 0;
      s.Text.erase(0, 1);
    }
    size_t lt = s.Text.find('<');
    if (lt != std::string::npos) {
      s.Password = s.Text.substr(lt + 1);
      s.Encrypt = s.Password.empty() ? 0 : 0xFFFF;
      s.Text.resize(lt);
    }
    specs.push_back(s);
  }
  FSpecCount = int(specs.size());
  p.SpecCount = FSpecCount;

  if (!modern) {
    auto& old = *reinterpret_cast<TZipParmsOld*>(FStorage.data());
    old.EndMarker = kEndMarker;
    for (size_t i = 0; i < specs.size() && i < size_t(kOldSpecRoom); ++i) old.Specs[i] = Keep(specs[i].Text);
    return;
  }
  p.TempDir = Keep(zip.TempDir);
  FFileData.assign(specs.size(), TZipFileData{});
  for (size_t i = 0; i < specs.size(); ++i) {
    TZipFileData& d = FFileData[i];
    std::memset(&d, 0, sizeof d);
    d.FileSpec = Keep(specs[i].Text);
    d.Password = Keep(specs[i].Password);
    d.Encrypt = specs[i].Encrypt;
    d.Recurse = specs[i].Recurse;
    d.RootDir = Keep(zip.RootDir());
  }
  p.FileData = FFileData.empty() ? nullptr : FFileData.data();
  if (engineVersion >= 160) {
    p.Comment = Keep(zip.ZipComment());
    p.ArchiveOnly = o.Contains(AddArchiveOnly) ? 1 : 0;
    p.ResetArchive = o.Contains(AddResetArchive) ? 1 : 0;
    const TStrings& excl = zip.FSpecArgsExcl();
    for (int i = 0; i < excl.Count(); ++i) FExcludes.push_back(Keep(excl.Get(i)));
    p.ExcludeCount = int32_t(FExcludes.size());
    p.ExcludeSpecs = FExcludes.empty() ? nullptr : FExcludes.data();
    p.AllowUndo = zip.HowToDelete == htdAllowUndo ? -1 : 0;
    p.CodePage = zip.CodePage == cpOEM ? 2 : 0;
  }
  p.EndMarker = kEndMarker;
}

}  // namespace tq
