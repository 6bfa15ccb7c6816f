#pragma once
// The update-file builder: a list of file records, each comparing an old and a
// new copy of one file by CRC-32 and size, and the writer of the update file
// (.upd) that carries the records with binary deltas or whole new files.
//
// Update file, little-endian:
//   0   15  signature "Update-32  1.02" (characters only)
//   15  32  old version: length byte, up to 31 characters, zero-filled
//   47  32  new version: the same form
//   79   1  1 when all or nothing, else 0
//   80   4  CRC-32 of every byte from offset 84 to the end
//   84      the body compressed by Lh5Compress (4-byte length, then lh5 bits)
// Body: for each record whose action is not identical, in list order, the
// 285-byte record, then for an update a 4-byte length (the delta's length plus
// 4), the delta and its CRC-32; for an added file the whole new file; for a
// deleted file nothing more.
//
// The builder was a window of the authoring program that is never shown; its
// controls are plain fields here. The progress window attaches through
// TUpdateProgressView (UpdateProgress.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "UpdateProgress.h"

namespace tq {

extern const char UpdateFileSignature[16];  // "Update-32  1.02", 15 characters
constexpr int UpdateVersionTextMax = 31;
constexpr int UpdateDeltaCandidateLimit = 1000;

enum TUpdateAction : uint8_t {
  uaIdentical = 0,  // nothing to do
  uaUpdate = 1,     // update the old file to match the new file
  uaAdd = 2,        // add the new file
  uaDelete = 3,     // delete the old file
};

#pragma pack(push, 1)
struct UpdateFileRecord {
  uint8_t Name[256] = {};  // length byte and up to 255 characters, the rest zero
  uint32_t OldCRC = 0;
  uint32_t OldSizeHigh = 0;
  uint32_t OldSizeLow = 0;
  uint32_t NewCRC = 0;
  uint32_t NewSizeHigh = 0;
  uint32_t NewSizeLow = 0;
  uint32_t NewDate = 0;  // packed date (high word) and time of the new file
  uint8_t Action = uaIdentical;

  std::string FileName() const;
  // Raises Exception for a name longer than 255 characters.
  void SetFileName(const std::string& Value);
  uint64_t NewSize() const { return (uint64_t(NewSizeHigh) << 32) | NewSizeLow; }
  // The record as stored in the body.
  void WriteTo(TStream& Stream) const;
};
#pragma pack(pop)
static_assert(sizeof(UpdateFileRecord) == 285, "the record's stored layout");

// What the update-file dialog (TTabbedNotebookDlg) does: its fields stand for
// the window's controls, so the comparison and writing run without a window.
class TUpdateFileMaker {
 public:
  explicit TUpdateFileMaker(TUpdateProgressView* ProgressView = nullptr);
  ~TUpdateFileMaker();

  // The window's controls.
  struct TDirectoryListBox {
    std::string Directory;
  } OldDirectoryListBox, NewDirectoryListBox;
  struct TEdit {
    std::string Text;
  } OldVersion{"1.0"}, NewVersion{"2.0"}, FileName;
  struct TRadioGroup {
    int ItemIndex;  // 0 "Allow &partial updates", 1 "&Update all or nothing"
  } FailureMode{1};
  struct TSaveDialog {
    std::string FileName;  // the output path
  } SaveDialog;
  // The file list: one record per file, owned by the list.
  std::vector<std::unique_ptr<UpdateFileRecord>> FileListBox;

  // Setting a folder compares the whole list again, as the list boxes do.
  void SetOldDirectory(const std::string& Dir);
  void SetNewDirectory(const std::string& Dir);

  void ClearFileList();
  // True when FileName is not empty and no record has that name (letter case ignored).
  bool FileNameIsNew() const;
  // Fills Record from the two folders; false (action identical) when a file
  // could not be read.
  bool CompareFile(UpdateFileRecord& Record);
  // Adds a compared record for FileName when the name is new and the
  // comparison worked. Raises Exception for a name longer than 255 characters.
  void AddBtnClick();
  void RefreshAll();
  // Writes the update file to SaveDialog.FileName; writes nothing when every
  // record is identical. A file that could not be written completely is removed
  // before the error propagates.
  void MakeBtnClick();

  // The delta's progress: the current total and position within the chunk.
  void UpdateProgressCallback(int Position, int Total);
  TUpdateProgress* Progress() { return FProgress.get(); }

 private:
  std::string OldPath(const UpdateFileRecord& Record) const;
  std::string NewPath(const UpdateFileRecord& Record) const;
  void WriteUpdateFile(TStream& Output);

  TUpdateProgressView* FProgressView;
  std::unique_ptr<TUpdateProgress> FProgress;
};

}  // namespace tq
