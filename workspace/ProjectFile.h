#pragma once
// The project file (.ipr): a fixed sequence of sections — counts, flags, short
// strings and component records. The first thirteen sections are always
// present; each later field is read only while bytes remain, so files written
// before those sections existed still load.
//
// Reading fills a TProjectFileContent completely before the caller touches the
// open project: a damaged file raises and changes nothing.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes.h"
#include "FtpData.h"
#include "Graphics.h"
#include "MergeItem.h"
#include "ProjectData.h"
#include "StoredTree.h"
#include "associations.h"
#include "choices.h"
#include "evar.h"
#include "regentry.h"
#include "shortcut.h"

namespace tq {

constexpr int32_t ProjectFileFormat = 11;
constexpr size_t LooseStringMax = 255;

struct TProjectFileContent {
  TProjectFileContent();
  TProjectFileContent(const TProjectFileContent&) = delete;
  TProjectFileContent& operator=(const TProjectFileContent&) = delete;

  // Owns the items that reading creates; a caller that keeps them moves them to
  // its own owner. Items given for writing stay with their owner.
  std::unique_ptr<TComponent> Holder;

  uint8_t ProjectType = 0;  // 0 install package, 1 merge module
  TStoredTree TargetDir;    // "TNoToolTipsTreeView" "trTargetDir"
  // Each choice's Files entries carry their self-register flags as integer objects.
  std::vector<TChoice*> Choices;
  TStoredTree ChoicesTree;  // "TTreeView" "trChoices"
  std::vector<TRegEntry*> Registry;
  std::vector<TRwiShortcut*> Shortcuts;
  std::vector<TEVar*> EVars;
  std::vector<TMerge*> Merges;
  TCompilerSettings Compiler;
  TGeneralInfo Info;
  THtmlPagesNames PagesNames;
  THtmlSupportPages SupportPages;
  TFlashSupport FlashSupport;
  TIncludePages IncludePages;
  TFont BackNextCancelFont;
  TFont OtherTextFont;
  std::string LicenseFile;
  std::string ReadmeFile;
  TColor ProgressBackColor = 0;
  TColor ProgressForeColor = 0;

  // Optional sections: empty when the file ended before them.
  std::optional<bool> DisableComplete;
  std::optional<bool> IncludePatching;
  std::optional<std::string> WelcomeBitmap;
  std::optional<std::string> BannerBitmap;
  bool HasAssociations = false;
  std::vector<TAssociation*> Associations;
  // Set when the association records were damaged: the associations read so
  // far are kept and every later optional section counts as absent.
  std::string AssociationsError;
  std::optional<bool> IncludeMsi;
  std::optional<std::string> SupportUrl;
  std::optional<std::string> HomepageUrl;
  std::optional<std::string> UpdateFrom;
  std::optional<bool> AllowAutoUpdate;
  std::optional<bool> UpdatePending;
  bool HasFtpData = false;
  TFtpData FtpData;
  std::optional<bool> UpdateCreated;
  std::optional<std::string> VersionComparison;
};

// Writes every section. A loose text longer than 255 characters cannot be
// stored: EWriteError names the field, and nothing is written.
void WriteProjectFile(TStream& stream, const TProjectFileContent& content);

// The deepest level a directory or choices tree of a project may reach (its
// nodes at level 0 to this): far beyond any folder path Windows can hold.
inline constexpr int MaxProjectTreeDepth = 1000;

// Reads a whole file into content (which must be freshly constructed). Errors:
// "Stream read error", "Invalid stream format", "Property does not exist",
// "Invalid property value", "The directory tree is nested deeper than 1000
// levels" (EReadError) and the filer's other errors.
void ReadProjectFile(TStream& stream, TProjectFileContent& content);

// Writes the file so that a failure never destroys the previous one: the bytes
// go to a temporary file in the same folder, which replaces the file only when
// complete. Raises "Cannot create file %s" or the write error.
void SaveProjectFile(const std::string& fileName, const TProjectFileContent& content);

// Reads fileName ("Cannot open file %s" when it cannot be opened).
void LoadProjectFile(const std::string& fileName, TProjectFileContent& content);

}  // namespace tq
