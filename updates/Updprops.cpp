#include "Updprops.h"

#include <cstring>

#include "FileUtils.h"
#include "LittleEndian.h"
#include "Lh5Unit.h"
#include "SysUtils.h"
#include "aCRC32.h"
#include "aDiff.h"

namespace tq {

const char UpdateFileSignature[16] = "Update-32  1.02";

namespace {

constexpr int64_t CrcOffset = 80;

std::string JoinPath(const std::string& Folder, const std::string& Name) {
  if (!Folder.empty() && Folder.back() == '\\') return Folder + Name;
  return Folder + "\\" + Name;
}

// A version text as a length byte and 31 characters, zero-filled.
void WriteVersionText(TStream& s, const std::string& Text) {
  uint8_t b[32] = {};
  size_t n = std::min(Text.size(), size_t(UpdateVersionTextMax));
  b[0] = uint8_t(n);
  std::memcpy(b + 1, Text.data(), n);
  s.WriteBuffer(b, 32);
}

}  // namespace

// ---- records ------------------------------------------------------------------

std::string UpdateFileRecord::FileName() const {
  return std::string(reinterpret_cast<const char*>(Name + 1), Name[0]);
}

void UpdateFileRecord::SetFileName(const std::string& Value) {
  // A cut name would make the updater act on another file.
  if (Value.size() > 255) throw Exception(Format("File name too long for an update: %s", {Value}));
  std::memset(Name, 0, sizeof Name);
  Name[0] = uint8_t(Value.size());
  std::memcpy(Name + 1, Value.data(), Value.size());
}

void UpdateFileRecord::WriteTo(TStream& Stream) const {
  uint8_t b[285];
  std::memcpy(b, Name, 256);
  const uint32_t words[7] = {OldCRC, OldSizeHigh, OldSizeLow, NewCRC, NewSizeHigh, NewSizeLow, NewDate};
  for (int i = 0; i < 7; ++i) PutLE32(b + 256 + 4 * i, words[i]);
  b[284] = Action;
  Stream.WriteBuffer(b, sizeof b);
}

// ---- the builder --------------------------------------------------------------

TUpdateFileMaker::TUpdateFileMaker(TUpdateProgressView* ProgressView) : FProgressView(ProgressView) {}

TUpdateFileMaker::~TUpdateFileMaker() = default;

void TUpdateFileMaker::SetOldDirectory(const std::string& Dir) {
  OldDirectoryListBox.Directory = Dir;
  RefreshAll();
}

void TUpdateFileMaker::SetNewDirectory(const std::string& Dir) {
  NewDirectoryListBox.Directory = Dir;
  RefreshAll();
}

void TUpdateFileMaker::ClearFileList() { FileListBox.clear(); }

bool TUpdateFileMaker::FileNameIsNew() const {
  if (FileName.Text.empty()) return false;
  for (const auto& r : FileListBox)
    if (AnsiSameText(r->FileName(), FileName.Text)) return false;
  return true;
}

std::string TUpdateFileMaker::OldPath(const UpdateFileRecord& Record) const {
  return JoinPath(OldDirectoryListBox.Directory, Record.FileName());
}

std::string TUpdateFileMaker::NewPath(const UpdateFileRecord& Record) const {
  return JoinPath(NewDirectoryListBox.Directory, Record.FileName());
}

bool TUpdateFileMaker::CompareFile(UpdateFileRecord& Record) {
  Record.Action = uaIdentical;
  try {
    TFileSideInfo oldSide, newSide;
    std::string oldPath = OldPath(Record), newPath = NewPath(Record);
    bool oldExists = FileExists(oldPath);
    if (oldExists) GetFileInfo(oldPath, oldSide);
    Record.OldCRC = oldSide.CRC;
    Record.OldSizeHigh = oldSide.SizeHigh;
    Record.OldSizeLow = oldSide.SizeLow;
    bool newExists = FileExists(newPath);
    uint32_t date = 0;
    if (newExists) GetFileInfo(newPath, newSide, &date);
    Record.NewCRC = newSide.CRC;
    Record.NewSizeHigh = newSide.SizeHigh;
    Record.NewSizeLow = newSide.SizeLow;
    Record.NewDate = newExists ? date : 0;
    if (oldExists && newExists) {
      bool same = oldSide.CRC == newSide.CRC && oldSide.SizeHigh == newSide.SizeHigh &&
                  oldSide.SizeLow == newSide.SizeLow;
      Record.Action = same ? uaIdentical : uaUpdate;
    } else if (newExists) {
      Record.Action = uaAdd;
    } else {
      Record.Action = uaDelete;
    }
    return true;
  } catch (const std::exception&) {
    Record.Action = uaIdentical;
    return false;
  }
}

void TUpdateFileMaker::AddBtnClick() {
  if (!FileNameIsNew()) return;
  auto record = std::make_unique<UpdateFileRecord>();
  record->SetFileName(FileName.Text);
  if (CompareFile(*record)) FileListBox.push_back(std::move(record));
}

void TUpdateFileMaker::RefreshAll() {
  if (FProgressView) FProgressView->SetBusy(true);
  for (auto& r : FileListBox) CompareFile(*r);
  if (FProgressView) FProgressView->SetBusy(false);
}

void TUpdateFileMaker::UpdateProgressCallback(int Position, int Total) {
  if (!FProgress) return;
  FProgress->SetCurrentTotal(Total);
  FProgress->SetCurrentCompleted(Position);
}

void TUpdateFileMaker::MakeBtnClick() {
  bool any = false;
  for (const auto& r : FileListBox)
    if (r->Action != uaIdentical) any = true;
  if (!any) return;

  const std::string path = SaveDialog.FileName;
  auto output = std::make_unique<TFileStream>(path, fmCreate);
  try {
    WriteUpdateFile(*output);
  } catch (...) {
    if (FProgress) {
      FProgress->SetBusy(false);
      FProgress->Hide();
    }
    // Never leave a partial update file behind to be uploaded.
    output.reset();
    DeleteFile(path);
    throw;
  }
  if (FProgress) FProgress->Hide();
}

void TUpdateFileMaker::WriteUpdateFile(TStream& Output) {
  Output.WriteBuffer(UpdateFileSignature, 15);
  WriteVersionText(Output, OldVersion.Text);
  WriteVersionText(Output, NewVersion.Text);
  WriteByteValue(Output, FailureMode.ItemIndex == 1 ? 1 : 0);

  TMemoryStream body, delta;
  RefreshAll();

  if (!FProgress) FProgress = std::make_unique<TUpdateProgress>(FProgressView);
  TUpdateProgress& progress = *FProgress;
  int64_t total = 0;
  for (const auto& r : FileListBox)
    if (r->Action != uaIdentical) total += int64_t(r->NewSize());
  progress.SetTotal(total);
  progress.SetCompleted(0);
  progress.Show();

  for (const auto& r : FileListBox) {
    if (r->Action == uaIdentical) continue;
    const std::string newPath = NewPath(*r);
    progress.SetFileNameLabel(newPath);
    progress.SetCurrentCompleted(0);
    r->WriteTo(body);
    if (r->Action == uaUpdate) {
      TFileStream oldFile(OldPath(*r), fmOpenRead | fmShareDenyNone);
      TFileStream newFile(newPath, fmOpenRead | fmShareDenyNone);
      delta.Clear();
      progress.SetBusy(true);
      MakeDelta(newFile, oldFile, delta, UpdateDeltaCandidateLimit,
                [this](int Position, int Total) { UpdateProgressCallback(Position, Total); });
      WriteLE32(body, uint32_t(delta.Size() + 4));
      body.WriteBuffer(delta.Memory(), delta.Size());
      WriteLE32(body, CRC32Buffer(delta.Memory(), size_t(delta.Size())));
    } else if (r->Action == uaAdd) {
      TFileStream newFile(newPath, fmOpenRead | fmShareDenyNone);
      body.CopyFrom(newFile, 0);
    }
    progress.SetBusy(false);
    progress.SetCompleted(progress.Completed() + int64_t(r->NewSize()));
  }

  Output.SetPosition(CrcOffset);
  WriteLE32(Output, 0);
  body.SetPosition(0);
  Lh5Compress(body, Output);

  Output.SetPosition(CrcOffset + 4);
  uint32_t crc = StreamCRC32(Output);
  Output.SetPosition(CrcOffset);
  WriteLE32(Output, crc);
}

}  // namespace tq
