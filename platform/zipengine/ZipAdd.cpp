#include "ZipAdd.h"

#include <windows.h>
#include <shellapi.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "ArchiveIO.h"
#include "EngineCallbacks.h"
#include "ExistingArchive.h"
#include "FileSpecs.h"
#include "MemberWriter.h"

namespace tq::zipeng {
namespace {

std::string Text(const char* p) { return p ? std::string(p) : std::string(); }

// ANSI text in the OEM code page, as archive names and comments are stored.
std::string ToOem(const std::string& ansi) {
  if (ansi.empty()) return ansi;
  int wn = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
  std::wstring w(size_t(wn), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), w.data(), wn);
  int n = WideCharToMultiByte(CP_OEMCP, 0, w.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_OEMCP, 0, w.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

// Stored names compare without regard to letter case, as on the file systems
// the archive comes from.
std::string NameKey(std::string s) {
  for (char& c : s) {
    c = char(std::toupper(static_cast<unsigned char>(c)));
    if (c == '\\') c = '/';
  }
  return s;
}

std::vector<std::string> Suffixes(const char* list) {
  std::vector<std::string> out;
  std::string all = NameKey(Text(list)), cur;
  for (char c : all + ":") {
    if (c == ':') {
      if (!cur.empty()) out.push_back(cur[0] == '.' ? cur : "." + cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  return out;
}

bool HasStoredSuffix(const std::string& path, const std::vector<std::string>& suffixes) {
  std::string key = NameKey(path);
  size_t dot = key.find_last_of('.');
  size_t slash = key.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string ext = key.substr(dot);
  for (const std::string& s : suffixes)
    if (s == ext) return true;
  return false;
}

uint32_t DosStamp(uint16_t date, uint16_t time) { return (uint32_t(date) << 16) | time; }

std::string TempFolder(const TZipParms& parms, const std::string& archive) {
  std::string dir = Text(parms.TempDir);
  if (dir.empty()) {
    // Beside the archive: the finished file then replaces it by a rename.
    size_t slash = archive.find_last_of("\\/");
    dir = slash == std::string::npos ? std::string(".") : archive.substr(0, slash + 1);
  }
  return dir;
}

// One member of the new archive: copied from the old one or written anew.
struct TPlanned {
  const TExistingEntry* Old = nullptr;
  const TSourceFile* Source = nullptr;
  std::string OemName;
};

class TAddRun {
 public:
  explicit TAddRun(const TZipParms& parms) : P(parms), Cb(parms) {}
  int32_t Run();

 private:
  void Plan();
  void Write();
  void Finish();

  const TZipParms& P;
  TEngineCallbacks Cb;
  std::string Archive;
  std::string Password;
  std::vector<TSourceFile> Sources;
  TExistingArchive Old;
  bool HasOld = false;
  std::vector<TPlanned> Members;
  std::vector<const TSourceFile*> Added;
  std::string TempName;
  uint16_t NewestDate = 0, NewestTime = 0;
};

void TAddRun::Plan() {
  std::map<std::string, size_t> byName;  // name key -> index in Members
  if (HasOld) {
    for (const TExistingEntry& e : Old.Entries()) {
      byName[NameKey(e.Central.Name)] = Members.size();
      Members.push_back({&e, nullptr, e.Central.Name});
    }
  }
  std::map<std::string, bool> seen;
  for (const TSourceFile& f : Sources) {
    std::string name = f.StoredName;
    if (!f.IsFolder) {
      if (auto changed = Cb.AskNewName(name); changed && !changed->empty()) name = *changed;
      Cb.CheckCancel();
    }
    std::string oem = ToOem(name);
    std::string key = NameKey(oem);
    if (seen[key]) {
      if (!f.IsFolder) Cb.Message(zeDuplicate, "Warning: " + f.Path + " would replace another file of this add as " + name);
      continue;
    }
    seen[key] = true;
    auto it = byName.find(key);
    if (it != byName.end()) {
      TPlanned& m = Members[it->second];
      if (f.IsFolder) continue;  // the folder entry is there already
      if ((P.Update || P.Freshen) &&
          DosStamp(f.DosDate, f.DosTime) <= DosStamp(m.Old->Central.Date, m.Old->Central.Time))
        continue;
      m.Source = &f;
      m.OemName = oem;
    } else {
      if (P.Freshen && !P.Update) continue;
      if (f.IsFolder && P.Freshen) continue;
      byName[key] = Members.size();
      Members.push_back({nullptr, &f, oem});
    }
  }
}

void TAddRun::Write() {
  uint64_t files = 0, bytes = 0;
  for (const TPlanned& m : Members)
    if (m.Source && !m.Source->IsFolder) {
      ++files;
      bytes += m.Source->Size;
    }
  if (!Cb.TotalFiles(files) || !Cb.TotalSize(bytes)) Cb.CheckCancel();

  char temp[MAX_PATH];
  if (!GetTempFileNameA(TempFolder(P, Archive).c_str(), "zip", 0, temp))
    throw EEngineFailure{zeCreate, "Cannot create a temporary archive in " + TempFolder(P, Archive)};
  TempName = temp;
  if (Cb.Trace()) Cb.Message(0, "Temporary archive: " + TempName);

  TOutFile out;
  out.Create(TempName);
  if (HasOld) Old.CopyPrefix(out);
  std::vector<TCentralHeader> dir;
  std::vector<std::string> suffixes = Suffixes(P.StoreSuffixes);
  int level = P.Level < 0 ? 0 : (P.Level > 9 ? 9 : P.Level);
  for (const TPlanned& m : Members) {
    Cb.CheckCancel();
    if (!m.Source) {
      if (Cb.Verbose()) Cb.Message(0, "  copying: " + m.OemName);
      dir.push_back(Old.CopyMember(*m.Old, out));
      continue;
    }
    const TSourceFile& f = *m.Source;
    TMemberOptions o;
    o.Level = level;
    o.Store = HasStoredSuffix(f.Path, suffixes);
    o.OemName = m.OemName;
    if (!f.IsFolder) {
      if (auto comment = Cb.AskFileComment(f.StoredName)) o.OemComment = ToOem(comment->substr(0, 511));
      else if (m.Old) o.OemComment = m.Old->Central.Comment;
      if (!Cb.NewFile(f.StoredName, f.Size)) Cb.CheckCancel();
    }
    TCentralHeader c = WriteMember(f, o, out, Cb);
    if (Cb.Verbose()) {
      std::string how = c.Method == kMethodDeflated && c.Size > 0
                            ? "deflated " + std::to_string(100 - int(uint64_t(c.CompressedSize) * 100 / c.Size)) + "%"
                            : "stored 0%";
      Cb.Message(0, std::string(m.Old ? "updating: " : "  adding: ") + f.StoredName + " (" + how + ")");
    }
    dir.push_back(c);
    if (!f.IsFolder) Added.push_back(&f);
  }
  for (const TCentralHeader& c : dir)
    if (DosStamp(c.Date, c.Time) > DosStamp(NewestDate, NewestTime)) {
      NewestDate = c.Date;
      NewestTime = c.Time;
    }

  TEndRecord end;
  uint64_t centralAt = out.Position();
  for (const TCentralHeader& c : dir) out.Write(EncodeCentralHeader(c));
  uint64_t centralSize = out.Position() - centralAt;
  if (dir.size() > 0xFFFE || out.Position() > 0xFFFFFFF0ull)
    throw EEngineFailure{zeTooLarge, "Archive too large: " + Archive};
  end.Entries = end.EntriesOnDisk = uint16_t(dir.size());
  end.CentralOffset = uint32_t(centralAt);
  end.CentralSize = uint32_t(centralSize);
  std::string comment = P.Comment && *P.Comment ? ToOem(P.Comment) : (HasOld ? Old.Comment() : "");
  end.Comment = comment.substr(0, kMaxCommentLength);
  out.Write(EncodeEndRecord(end));
  if (P.LatestTime && !dir.empty()) {
    FILETIME local, utc;
    if (DosDateTimeToFileTime(NewestDate, NewestTime, &local) && LocalFileTimeToFileTime(&local, &utc))
      out.SetTime(utc);
  }
  out.Close();
}

void TAddRun::Finish() {
  Old.Close();  // release the old archive before it is replaced
  if (!MoveFileExA(TempName.c_str(), Archive.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
    throw EEngineFailure{zeReplace, "Cannot replace " + Archive};
  TempName.clear();

  for (const TSourceFile* f : Added) {
    if (P.ResetArchive) {
      DWORD a = GetFileAttributesA(f->Path.c_str());
      if (a != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(f->Path.c_str(), a & ~FILE_ATTRIBUTE_ARCHIVE);
    }
    if (P.Move) {
      bool ok;
      if (P.AllowUndo) {
        std::string from = f->Path + std::string(1, '\0');
        SHFILEOPSTRUCTA op{};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        ok = SHFileOperationA(&op) == 0;
      } else {
        ok = DeleteFileA(f->Path.c_str()) != 0;
      }
      if (!ok) Cb.Message(zeDelete, "Warning: cannot delete " + f->Path);
    }
  }
}

int32_t TAddRun::Run() {
  int32_t added = 0;
  try {
    if (P.Version < 151 || P.EndMarker != kEndMarker)
      throw EEngineFailure{zeBadRecord, "Command record version " + std::to_string(P.Version) + " not supported"};
    Archive = Text(P.ArchiveName);
    if (Archive.empty()) throw EEngineFailure{zeBadRecord, "No archive name given"};
    Password = Text(P.Password).substr(0, 80);
    if (P.Encrypt && Password.empty()) {
      auto asked = Cb.AskPassword(Archive);
      Cb.CheckCancel();
      if (!asked) throw EEngineFailure{zePassword, "No password given: nothing added"};
      Password = asked->substr(0, 80);
    }
    Sources = ExpandSpecs(P, Password, Cb);
    DWORD attr = GetFileAttributesA(Archive.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES) {
      if (attr & FILE_ATTRIBUTE_DIRECTORY) throw EEngineFailure{zeBadArchive, Archive + " is a folder"};
      WIN32_FILE_ATTRIBUTE_DATA data;
      bool empty = GetFileAttributesExA(Archive.c_str(), GetFileExInfoStandard, &data) &&
                   data.nFileSizeHigh == 0 && data.nFileSizeLow == 0;
      if (!empty) {
        Old.Read(Archive);
        HasOld = true;
      }
    }
    Plan();
    for (const TPlanned& m : Members)
      if (m.Source && !m.Source->IsFolder) ++added;
    if (added == 0) {
      Cb.Message(zeNothingToDo, "Nothing to do for " + Archive);
    } else {
      Write();
      Finish();
    }
  } catch (const EEngineFailure& f) {
    Cb.Fail(f);
    added = 0;
  } catch (const std::bad_alloc&) {
    Cb.Fail({zeWrite, "Out of memory"});
    added = 0;
  } catch (...) {
    Cb.Fail({zeWrite, "Unexpected failure"});
    added = 0;
  }
  if (!TempName.empty()) DeleteFileA(TempName.c_str());
  Cb.EndOfBatch();
  return added;
}

}  // namespace

int32_t RunAdd(const TZipParms& parms) {
  TAddRun run(parms);
  return run.Run();
}

}  // namespace tq::zipeng
