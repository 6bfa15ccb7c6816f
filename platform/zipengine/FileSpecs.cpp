#include "FileSpecs.h"

#include <cctype>
#include <set>

namespace tq::zipeng {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string FullPath(const std::string& path) {
  char buf[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
  if (n == 0 || n >= sizeof buf) return path;
  return std::string(buf, n);
}

bool IsAbsolute(const std::string& p) {
  return (p.size() >= 2 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

std::string WithBackslash(std::string s) {
  if (!s.empty() && s.back() != '\\' && s.back() != '/') s += '\\';
  return s;
}

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

struct TExpandContext {
  const TZipParms& Parms;
  TEngineCallbacks& Callbacks;
  std::string RootDir;
  std::string Password;
  std::string ArchiveUpper;
  std::vector<std::string> Excludes;
  std::vector<TSourceFile>& Out;
  std::set<std::string>& FoldersAdded;
};

bool Excluded(const TExpandContext& c, const std::string& fullPath, const std::string& name) {
  for (const std::string& ex : c.Excludes) {
    bool withFolder = ex.find_first_of("\\/") != std::string::npos;
    if (WildcardMatch(ex.c_str(), withFolder ? fullPath.c_str() : name.c_str())) return true;
  }
  return false;
}

void AddFolderEntries(TExpandContext& c, const std::string& storedFileName, const std::string& fullPath) {
  // Every folder above the file, outermost first, once per operation.
  std::string folderPath = fullPath.substr(0, fullPath.find_last_of('\\'));
  std::vector<std::pair<std::string, std::string>> chain;
  std::string stored = storedFileName;
  while (true) {
    size_t slash = stored.find_last_of('/');
    if (slash == std::string::npos) break;
    stored.resize(slash);
    chain.push_back({stored + "/", folderPath});
    folderPath = folderPath.substr(0, folderPath.find_last_of('\\'));
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!c.FoldersAdded.insert(Upper(it->first)).second) continue;
    TSourceFile f;
    f.Path = it->second;
    f.StoredName = it->first;
    f.IsFolder = true;
    f.Attributes = FILE_ATTRIBUTE_DIRECTORY;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(f.Path.c_str(), GetFileExInfoStandard, &data)) {
      f.Attributes = data.dwFileAttributes;
      DosDateTime(data.ftLastWriteTime, f.DosTime, f.DosDate);
    }
    c.Out.push_back(f);
  }
}

// Adds the files of folder matching pattern; returns how many matched.
size_t AddMatches(TExpandContext& c, const std::string& folder, const std::string& pattern,
                  bool recurse, const std::string& specPassword) {
  size_t matched = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + pattern).c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (!c.Parms.SystemFiles && (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        continue;
      if (c.Parms.ArchiveOnly && !(fd.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE)) continue;
      std::string full = folder + fd.cFileName;
      if (Upper(full) == c.ArchiveUpper) continue;
      if (Excluded(c, full, fd.cFileName)) continue;
      ++matched;
      TSourceFile f;
      f.Path = full;
      f.StoredName = StoredNameFor(full, c.RootDir, c.Parms.JunkDir != 0);
      f.Attributes = fd.dwFileAttributes;
      f.Size = (uint64_t(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
      DosDateTime(fd.ftLastWriteTime, f.DosTime, f.DosDate);
      f.Password = specPassword;
      if (!c.Parms.NoDirEntries && !c.Parms.JunkDir) AddFolderEntries(c, f.StoredName, full);
      c.Out.push_back(f);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  if (!recurse) return matched;
  h = FindFirstFileA((folder + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return matched;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    std::string n = fd.cFileName;
    if (n == "." || n == "..") continue;
    if (!c.Parms.SystemFiles && (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
      continue;
    matched += AddMatches(c, folder + n + "\\", pattern, true, specPassword);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return matched;
}

}  // namespace

bool WildcardMatch(const char* p, const char* t) {
  // Iterative match with one backtrack point for the last "*".
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*t) {
    if (*p == '*') {
      star = p++;
      resume = t;
    } else if (*p == '?' ||
               (*p && std::toupper(static_cast<unsigned char>(*p)) == std::toupper(static_cast<unsigned char>(*t)))) {
      ++p;
      ++t;
    } else if (star) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == 0;
}

void DosDateTime(const FILETIME& ft, uint16_t& dosTime, uint16_t& dosDate) {
  FILETIME local;
  WORD d = 0, t = 0;
  if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToDosDateTime(&local, &d, &t)) {
    d = (1 << 5) | 1;  // 1980-01-01
    t = 0;
  }
  dosTime = t;
  dosDate = d;
}

std::string StoredNameFor(const std::string& fullPath, const std::string& rootDir, bool junkDir) {
  std::string name;
  if (junkDir) {
    size_t slash = fullPath.find_last_of("\\/");
    name = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
  } else if (!rootDir.empty() && fullPath.size() > rootDir.size() &&
             Upper(fullPath.substr(0, rootDir.size())) == Upper(rootDir)) {
    name = fullPath.substr(rootDir.size());
  } else {
    name = fullPath;
    if (name.size() >= 2 && name[1] == ':') {
      name.erase(0, 2);
    } else if (name.rfind("\\\\", 0) == 0) {
      // \\server\share\rest: keep rest
      size_t server = name.find('\\', 2);
      size_t share = server == std::string::npos ? server : name.find('\\', server + 1);
      name = share == std::string::npos ? std::string() : name.substr(share + 1);
    }
  }
  while (!name.empty() && (name[0] == '\\' || name[0] == '/')) name.erase(0, 1);
  for (char& ch : name)
    if (ch == '\\') ch = '/';
  return name;
}

std::vector<TSourceFile> ExpandSpecs(const TZipParms& parms, const std::string& password,
                                     TEngineCallbacks& callbacks) {
  std::vector<TSourceFile> out;
  std::set<std::string> folders;
  TExpandContext c{parms, callbacks, "", password, Upper(FullPath(parms.ArchiveName)), {}, out, folders};
  for (int32_t i = 0; i < parms.ExcludeCount && parms.ExcludeSpecs; ++i)
    if (parms.ExcludeSpecs[i] && *parms.ExcludeSpecs[i]) c.Excludes.push_back(parms.ExcludeSpecs[i]);

  for (int32_t i = 0; i < parms.SpecCount && parms.FileData; ++i) {
    const TZipFileData& fd = parms.FileData[i];
    if (!fd.FileSpec || !*fd.FileSpec) continue;
    std::string spec = fd.FileSpec;
    c.RootDir = fd.RootDir && *fd.RootDir ? WithBackslash(FullPath(fd.RootDir)) : std::string();
    std::string path = IsAbsolute(spec) || c.RootDir.empty() ? spec : c.RootDir + spec;
    path = FullPath(path);
    bool recurse = fd.Recurse != 0 || parms.Recurse != 0;
    std::string specPassword;
    if (fd.Encrypt != 0 || parms.Encrypt != 0)
      specPassword = fd.Password && *fd.Password ? std::string(fd.Password) : password;

    std::string folder, pattern;
    DWORD attr = HasWildcard(path) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) {
      folder = WithBackslash(path);
      pattern = "*";
    } else {
      size_t slash = path.find_last_of("\\/");
      folder = path.substr(0, slash + 1);
      pattern = path.substr(slash + 1);
    }
    if (AddMatches(c, folder, pattern, recurse, specPassword) == 0)
      callbacks.Message(zeNoMatch, "Warning: file not found: " + spec);
    callbacks.CheckCancel();
  }
  return out;
}

}  // namespace tq::zipeng
