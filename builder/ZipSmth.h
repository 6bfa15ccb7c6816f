#pragma once
// The zip component: builds zip archives by driving the zip engine ZIPENG.DLL
// (loaded when an operation needs it), reads an archive's directory, turns an
// archive into a self-extractor with the stub ZIPSTUB.BIN, and asks for
// passwords when the engine needs one. Messages come from the program's
// string table (ZipSmthMessages.rc, linked into the program).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Classes.h"
#include "Component.h"
#include "SysUtils.h"

namespace tq {

namespace zipeng {
struct TZipParms;
struct TZipCallbackData;
}  // namespace zipeng

enum AddOptsEnum {
  AddDirNames, AddRecurseDirs, AddMove, AddFreshen, AddUpdate, AddZipTime, AddForceDOS, AddHiddenFiles,
  AddArchiveOnly, AddResetArchive, AddEncrypt, AddSeparateDirs, AddVolume, AddDiskSpan, AddDiskSpanErase
};
enum ExtrOptsEnum { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate, ExtrTest };
enum SFXOptsEnum { SFXAskCmdLine, SFXAskFiles, SFXAutoRun, SFXHideOverWriteBox, SFXCheckSize, SFXNoSuccessMsg };
enum OvrOpts { OvrConfirm, OvrAlways, OvrNever };
enum CodePageOpts { cpAuto, cpNone, cpOEM };
enum DeleteOpts { htdFinal, htdAllowUndo };
enum AddStoreSuffixEnum {
  assGIF, assPNG, assZ, assZIP, assZOO, assARC, assLZH, assARJ, assTAZ, assTGZ, assLHA, assRAR, assACE,
  assCAB, assGZ, assGZIP, assJAR, assEXE
};
enum ProgressType { NewFile, ProgressUpdate, EndOfBatch, TotalFiles2Process, TotalSize2Process };
enum TPasswordButton { pwbOk, pwbCancel, pwbCancelAll, pwbAbort };

// A set of enumeration elements: bit i is element i.
template <class E>
class TOptionSet {
 public:
  constexpr TOptionSet() = default;
  constexpr TOptionSet(std::initializer_list<E> es) {
    for (E e : es) FBits |= 1u << e;
  }
  constexpr bool Contains(E e) const { return (FBits >> e) & 1u; }
  constexpr void Include(E e) { FBits |= 1u << e; }
  constexpr void Exclude(E e) { FBits &= ~(1u << e); }
  constexpr uint32_t Bits() const { return FBits; }
  static constexpr TOptionSet FromBits(uint32_t bits) {
    TOptionSet s;
    s.FBits = bits;
    return s;
  }
  constexpr bool operator==(const TOptionSet&) const = default;

 private:
  uint32_t FBits = 0;
};
using AddOpts = TOptionSet<AddOptsEnum>;
using ExtrOpts = TOptionSet<ExtrOptsEnum>;
using SFXOpts = TOptionSet<SFXOptsEnum>;
using AddStoreExts = TOptionSet<AddStoreSuffixEnum>;

// One central-directory entry of the current archive.
struct ZipDirEntry {
  uint8_t MadeByVersion = 0;
  uint8_t HostVersionNo = 0;
  uint16_t Version = 0;
  uint16_t Flag = 0;
  uint16_t CompressionMethod = 0;
  uint32_t DateTime = 0;  // DOS date (high word) and time (low word)
  uint32_t CRC32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t FileNameLength = 0;
  uint16_t ExtraFieldLength = 0;
  uint16_t FileCommentLen = 0;
  uint16_t StartOnDisk = 0;
  uint16_t IntFileAttrib = 0;
  uint32_t ExtFileAttrib = 0;
  uint32_t RelOffLocalHdr = 0;
  std::string FileName;     // in the ANSI code page
  std::string ExtraData;
  std::string FileComment;  // in the ANSI code page
};

// An archive's end record as ReadEOC finds it.
struct TZipEndRecord {
  uint64_t Position = 0;     // of the record in the file
  uint16_t ThisDisk = 0;
  uint16_t CentralDisk = 0;
  uint16_t EntriesOnDisk = 0;
  uint16_t Entries = 0;
  uint32_t CentralSize = 0;
  uint32_t CentralOffset = 0;
  std::string Comment;
  uint64_t ArchiveSize = 0;  // up to the end of the comment
  bool SpannedFirst = false; // the file starts a spanned set
};

// The component's failure: a message from the string table (Ident) that the
// catching operation shows when Display is set.
class EZipSmith : public Exception {
 public:
  EZipSmith(int ident, bool display = true);
  EZipSmith(int ident, TVarArgs args, bool display = true);
  // A text of its own, outside the string table.
  explicit EZipSmith(const std::string& text, bool display = true);
  bool Display;
  int Ident;
};

class TZipSmith;
using TProgressEvent = std::function<void(TObject* sender, ProgressType progrType, const std::string& fileName, int fileSize)>;
using TMessageEvent = std::function<void(TObject* sender, int errCode, const std::string& message)>;
using TSetNewNameEvent = std::function<void(TObject* sender, std::string& oldFileName, bool& isChanged)>;
using TNewNameEvent = std::function<void(TObject* sender, int seqNo, const ZipDirEntry& zipEntry)>;
using TPasswordErrorEvent = std::function<void(TObject* sender, bool isZipAction, std::string& newPassword,
                                               const std::string& forFile, uint32_t& repeatCount,
                                               TPasswordButton& action)>;
using TCRC32ErrorEvent = std::function<void(TObject* sender, const std::string& forFile, uint32_t foundCRC,
                                            uint32_t expectedCRC, bool& doExtract)>;
using TFileCommentEvent = std::function<void(TObject* sender, const std::string& forFile, std::string& fileComment,
                                             bool& isChanged)>;
using TExtractOverwriteEvent = std::function<void(TObject* sender, const std::string& forFile, bool isOlder,
                                                  bool& doOverwrite, int dirIndex)>;
using TExtractSkippedEvent = std::function<void(TObject* sender, const std::string& forFile, int skipType, int extError)>;
using TCopyZipOverwriteEvent = std::function<void(TObject* sender, const std::string& forFile, bool& doOverwrite)>;
// Spanning: the disk-status bits (1 empty disk, 2 disk with files, 4 previous
// disk of this set, 8 file exists, 16 not enough room) and the answer
// (0 and 1 overwrite or format, 2 skip this disk, 3 cancel).
using TGetNextDiskEvent = std::function<void(TObject* sender, int diskSeqNo, int diskTotal, const std::string& drive,
                                             bool& abortAction)>;
using TStatusDiskEvent = std::function<void(TObject* sender, int previousDisk, const std::string& previousFile,
                                            int status, int& action)>;
using TNotifyEvent = std::function<void(TObject* sender)>;

class TZipSmith : public TComponent {
 public:
  explicit TZipSmith(TComponent* owner = nullptr);
  ~TZipSmith() override;
  TQ_PUBLISHED(TZipSmith)
  void DefineProperties(TFiler& filer) override;

  // ---- operations
  // Adds every file of FSpecArgs to ZipFileName; SuccessCnt() is the number
  // the engine reported.
  void Add();
  // Reads the archive's directory into the entry list.
  void List();
  // Turns ZipFileName (a ".zip") into a self-extractor beside it (".exe"):
  // the stub, the option record, the archive with its offsets moved. 0 on
  // success (the archive is then deleted and ZipFileName names the program),
  // else a negative code.
  int ConvertSFX();
  // Copies the archive inFileName onto volumes no larger than the disk's free
  // space or MaxVolumeSize as a spanned set named after outFileName (numbered
  // files "Name001.zip", ... on a fixed or network drive; one disk each on a
  // removable drive). 0 on success; -7 after a component error or a
  // cancellation, -8 without memory, -9 after any other failure.
  int WriteSpan(const std::string& inFileName, const std::string& outFileName);
  // The name of the last volume the last WriteSpan wrote.
  const std::string& LastVolumeName() const { return FLastVolume; }
  // The engine's version (160 for 1.60), loading it for the call when needed;
  // 0 when it cannot be loaded.
  int ZipEngVersion();
  void LoadZipEng();
  void UnloadZipEng();

  // ---- state
  int SuccessCnt() const { return FSuccessCnt; }
  int Count() const { return int(FZipContents.size()); }
  const std::vector<ZipDirEntry>& ZipContents() const { return FZipContents; }
  const std::string& Message() const { return FMessage; }
  int ErrCode() const { return FErrCode; }
  int DllErrCode() const { return FDllErrCode; }
  int64_t TotalSizeToProcess() const { return FTotalSizeToProcess; }
  bool ZipBusy() const { return FZipBusy; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  uint32_t SFXOffset() const { return FSFXOffset; }
  const std::string& ZipComment() const { return FZipComment; }
  bool StructureError() const { return FZipStructureError; }

  // ---- published properties
  bool Verbose = false;
  bool Trace = false;
  int AddCompLevel = 9;
  AddOpts AddOptions;
  std::string ExtrBaseDir;
  ExtrOpts ExtrOptions;
  SFXOpts SFXOptions{SFXCheckSize};
  TStringList& FSpecArgs() { return FFSpecArgs; }
  const TStringList& FSpecArgs() const { return FFSpecArgs; }
  void SetFSpecArgs(const TStrings& v) { FFSpecArgs.Assign(v); }
  bool Unattended = false;
  const std::string& ZipFileName() const { return FZipFileName; }
  void SetZipFileName(const std::string& v);
  const std::string& Password() const { return FPassword; }
  void SetPassword(const std::string& v) { FPassword = v.substr(0, 255); }
  std::string SFXPath = "ZipStub.bin";
  const std::string& DLLDirectory() const { return FDLLDirectory; }
  void SetDLLDirectory(const std::string& v);
  OvrOpts SFXOverWriteMode = OvrConfirm;
  std::string SFXCaption = "Self-extracting Archive";
  std::string SFXDefaultDir;
  std::string SFXCommandLine;
  std::string SFXMessage;
  std::string TempDir;
  int KeepFreeOnDisk1 = 0;
  int MaxVolumeSize = 0;
  int MinFreeVolumeSize = 65536;
  bool ConfirmErase = true;
  CodePageOpts CodePage = cpAuto;
  DeleteOpts HowToDelete = htdAllowUndo;
  std::string VersionInfo() const { return "1.60 N"; }
  // The self-extractor's icon as an icon file ("SFXIcon.Data" in streams);
  // empty: the stub keeps its own.
  std::vector<uint8_t> SFXIcon;
  AddStoreExts AddStoreSuffixes = AddStoreExts::FromBits(((1u << (assEXE + 1)) - 1) & ~(1u << assEXE));
  int PasswordReqCount() const { return FPasswordReqCount; }
  void SetPasswordReqCount(int v) { FPasswordReqCount = v > 15 ? 15 : v; }
  TStringList& FSpecArgsExcl() { return FFSpecArgsExcl; }
  const TStringList& FSpecArgsExcl() const { return FFSpecArgsExcl; }
  void SetFSpecArgsExcl(const TStrings& v) { FFSpecArgsExcl.Assign(v); }
  bool UseDirOnlyEntries = false;
  const std::string& RootDir() const { return FRootDir; }
  void SetRootDir(const std::string& v);

  // ---- events
  TNotifyEvent OnDirUpdate;
  TProgressEvent OnProgress;
  TMessageEvent OnMessage;
  TSetNewNameEvent OnSetNewName;
  TNewNameEvent OnNewName;
  TCRC32ErrorEvent OnCRC32Error;
  TPasswordErrorEvent OnPasswordError;
  TExtractOverwriteEvent OnExtractOverwrite;
  TExtractSkippedEvent OnExtractSkipped;
  TCopyZipOverwriteEvent OnCopyZipOverwrite;
  TGetNextDiskEvent OnGetNextDisk;
  TStatusDiskEvent OnStatusDisk;
  TFileCommentEvent OnFileComment;

  // ---- messages (string table)
  static std::string LoadZipStr(int ident, const std::string& def = "");
  void ShowZipMessage(int ident, const std::string& extra = "");
  void ShowZipException(const EZipSmith& e);

 private:
  friend struct TZipCallbackBridge;
  friend class TSpanWriter;
  void ExecAdd();
  int ConvertSFXCore(bool automatic);
  std::string MakeTempZipName();
  std::string FindStub();
  void EraseFile(const std::string& path) const;
  void BuildAndRun(const std::string& archive);
  int32_t ZipCallback(zipeng::TZipCallbackData& data);
  std::string GetAddPassword();
  std::string GetExtrPassword(int& dialogResult);
  std::string ConvertDllText(const std::string& text) const;
  void ReadDirectory();
  // Finds the end record of path; raises EZipSmith (not a zip archive, a
  // first volume of a set, cannot be opened) when raise is set, else false.
  bool ReadEOC(const std::string& path, TZipEndRecord& end, bool raise);
  static void ProcessMessages();

  int FSuccessCnt = 0;
  bool FZipBusy = false;
  bool FCancel = false;
  std::string FMessage;
  int FErrCode = 0;
  int FDllErrCode = 0;
  int64_t FTotalSizeToProcess = 0;
  std::vector<ZipDirEntry> FZipContents;
  uint32_t FSFXOffset = 0;
  uint32_t FZipSize = 0;
  uint32_t FEOCPosition = 0;
  std::string FZipComment;
  bool FZipStructureError = false;
  void* FEngine = nullptr;  // module handle
  void* FExec = nullptr;
  void* FVersion = nullptr;
  int FEngineVersion = 0;

  TStringList FFSpecArgs;
  TStringList FFSpecArgsExcl;
  std::string FZipFileName;
  std::string FPassword;
  std::string FDLLDirectory;
  std::string FRootDir;
  int FPasswordReqCount = 1;
  std::string FLastVolume;
};

// The password prompt, built at run time: a label, an edit field and buttons.
class TPasswordDlg {
 public:
  // buttons: OK and Cancel, plus "Cancel all" and "Abort" when extended.
  TPasswordDlg(TComponent* owner, bool extended);
  virtual ~TPasswordDlg() = default;
  // Shows the dialog; returns the text typed (empty unless OK was chosen).
  virtual std::string ShowPwdDlg(const std::string& caption, const std::string& prompt);
  int ModalResult = 0;  // mrOk, mrCancel, mrAbort or mrNoToAll ("Cancel all")
  std::string Text;     // the edit field
  // The dialog being shown, for scripted prompts to fill in.
  static TPasswordDlg* Showing();

 private:
  int ShowForReal(const std::string& caption, const std::string& prompt);
  bool FExtended;
};

}  // namespace tq
