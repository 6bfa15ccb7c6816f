// The zip component's published properties, defaults and property setters.
#include <set>

#include "FileUtils.h"
#include "ZipSmth.h"

namespace tq {
namespace {

const TEnumNames kAddOptNames("AddOptsEnum",
                              {"AddDirNames", "AddRecurseDirs", "AddMove", "AddFreshen", "AddUpdate", "AddZipTime",
                               "AddForceDOS", "AddHiddenFiles", "AddArchiveOnly", "AddResetArchive", "AddEncrypt",
                               "AddSeparateDirs", "AddVolume", "AddDiskSpan", "AddDiskSpanErase"});
const TEnumNames kExtrOptNames("ExtrOptsEnum", {"ExtrDirNames", "ExtrOverWrite", "ExtrFreshen", "ExtrUpdate", "ExtrTest"});
const TEnumNames kSfxOptNames("SFXOptsEnum", {"SFXAskCmdLine", "SFXAskFiles", "SFXAutoRun", "SFXHideOverWriteBox",
                                              "SFXCheckSize", "SFXNoSuccessMsg"});
const TEnumNames kOvrNames("OvrOpts", {"OvrConfirm", "OvrAlways", "OvrNever"});
const TEnumNames kCodePageNames("CodePageOpts", {"cpAuto", "cpNone", "cpOEM"});
const TEnumNames kDeleteNames("DeleteOpts", {"htdFinal", "htdAllowUndo"});
const TEnumNames kSuffixNames("AddStoreSuffixEnum",
                              {"assGIF", "assPNG", "assZ", "assZIP", "assZOO", "assARC", "assLZH", "assARJ", "assTAZ",
                               "assTGZ", "assLHA", "assRAR", "assACE", "assCAB", "assGZ", "assGZIP", "assJAR", "assEXE"});

// Live components: the engine's callback only trusts callers found here.
std::set<const TZipSmith*>& LiveComponents() {
  static std::set<const TZipSmith*> live;
  return live;
}

}  // namespace

bool IsLiveZipSmith(const void* p) { return LiveComponents().count(static_cast<const TZipSmith*>(p)) != 0; }

TZipSmith::TZipSmith(TComponent* owner) : TComponent(owner) { LiveComponents().insert(this); }

TZipSmith::~TZipSmith() {
  LiveComponents().erase(this);
  UnloadZipEng();
}

const TPropertyTable& TZipSmith::ClassProperties() {
  using Z = TZipSmith;
  static const TPropertyTable table =
      TPropertyBuilder<Z>("TZipSmith", TComponent::ClassProperties())
          .Boolean("Verbose", &Z::Verbose).Default(0)
          .Boolean("Trace", &Z::Trace).Default(0)
          .Integer("AddCompLevel", &Z::AddCompLevel).Default(9)
          .Set("AddOptions", kAddOptNames, [](const Z& z) { return z.AddOptions.Bits(); },
               [](Z& z, uint32_t v) { z.AddOptions = AddOpts::FromBits(v); }).Default(0)
          .String("ExtrBaseDir", &Z::ExtrBaseDir)
          .Set("ExtrOptions", kExtrOptNames, [](const Z& z) { return z.ExtrOptions.Bits(); },
               [](Z& z, uint32_t v) { z.ExtrOptions = ExtrOpts::FromBits(v); }).Default(0)
          .Set("SFXOptions", kSfxOptNames, [](const Z& z) { return z.SFXOptions.Bits(); },
               [](Z& z, uint32_t v) { z.SFXOptions = SFXOpts::FromBits(v); }).Default(1 << SFXCheckSize)
          .Strings("FSpecArgs", &Z::FFSpecArgs)
          .Boolean("Unattended", &Z::Unattended).Default(0)
          .String("ZipFileName", [](const Z& z) { return z.FZipFileName; }, &Z::SetZipFileName)
          .String("Password", [](const Z& z) { return z.FPassword; }, &Z::SetPassword)
          .String("SFXPath", &Z::SFXPath)
          .String("DLLDirectory", [](const Z& z) { return z.FDLLDirectory; }, &Z::SetDLLDirectory)
          .Enum("SFXOverWriteMode", kOvrNames, [](const Z& z) { return int32_t(z.SFXOverWriteMode); },
                [](Z& z, int32_t v) { z.SFXOverWriteMode = OvrOpts(v); }).Default(OvrConfirm)
          .String("SFXCaption", &Z::SFXCaption)
          .String("SFXDefaultDir", &Z::SFXDefaultDir)
          .String("SFXCommandLine", &Z::SFXCommandLine)
          .String("SFXMessage", &Z::SFXMessage)
          .String("TempDir", &Z::TempDir)
          .Integer("KeepFreeOnDisk1", &Z::KeepFreeOnDisk1).Default(0)
          .Integer("MaxVolumeSize", &Z::MaxVolumeSize).Default(0)
          .Integer("MinFreeVolumeSize", &Z::MinFreeVolumeSize).Default(65536)
          .Boolean("ConfirmErase", &Z::ConfirmErase).Default(1)
          .Enum("CodePage", kCodePageNames, [](const Z& z) { return int32_t(z.CodePage); },
                [](Z& z, int32_t v) { z.CodePage = CodePageOpts(v); }).Default(cpAuto)
          .Enum("HowToDelete", kDeleteNames, [](const Z& z) { return int32_t(z.HowToDelete); },
                [](Z& z, int32_t v) { z.HowToDelete = DeleteOpts(v); }).Default(htdAllowUndo)
          .String("VersionInfo", [](const Z& z) { return z.VersionInfo(); }, [](Z&, const std::string&) {})
          .Set("AddStoreSuffixes", kSuffixNames, [](const Z& z) { return z.AddStoreSuffixes.Bits(); },
               [](Z& z, uint32_t v) { z.AddStoreSuffixes = AddStoreExts::FromBits(v); })
          .Default(((1 << (assEXE + 1)) - 1) & ~(1 << assEXE))
          .Integer("PasswordReqCount", [](const Z& z) { return z.FPasswordReqCount; }, &Z::SetPasswordReqCount)
          .Default(1)
          .Strings("FSpecArgsExcl", &Z::FFSpecArgsExcl)
          .Boolean("UseDirOnlyEntries", &Z::UseDirOnlyEntries).Default(0)
          .String("RootDir", [](const Z& z) { return z.FRootDir; }, &Z::SetRootDir)
          .Build();
  return table;
}

void TZipSmith::DefineProperties(TFiler& filer) {
  // The icon is kept as an icon file, the way a window layout stores an icon.
  filer.DefineBinaryProperty(
      "SFXIcon.Data",
      [this](TStream& s) {
        SFXIcon.assign(size_t(s.Size()), 0);
        if (!SFXIcon.empty()) s.ReadBuffer(SFXIcon.data(), int64_t(SFXIcon.size()));
      },
      [this](TStream& s) {
        if (!SFXIcon.empty()) s.WriteBuffer(SFXIcon.data(), int64_t(SFXIcon.size()));
      },
      !SFXIcon.empty());
}

void TZipSmith::SetZipFileName(const std::string& v) {
  FZipFileName = v;
  if (!(ComponentState() & csLoading)) List();
}

void TZipSmith::SetDLLDirectory(const std::string& v) {
  FDLLDirectory = v;
  if (!FDLLDirectory.empty() && FDLLDirectory.back() == '\\') FDLLDirectory.pop_back();
}

void TZipSmith::SetRootDir(const std::string& v) {
  FRootDir = v.empty() ? v : IncludeTrailingPathDelimiter(v);
}

}  // namespace tq
