// The self-extractor: finds its option record after its own program image,
// unpacks the archive that follows into the target folder ("><" stands for a
// folder of this run's own, made fresh under the temporary folder, so that
// files other programs left in the temporary folder are never overwritten,
// run or loaded as libraries) and starts the command.
//
// Command line: "/quiet" shows no message boxes (errors then only set the
// exit code, see StubResults.h).
#include <windows.h>

#include <string>
#include <vector>

#include "SfxArchive.h"
#include "StubResults.h"

using namespace tq::zipstub;

namespace {

bool gQuiet = false;

std::wstring Number(size_t n) {
  std::wstring s;
  do {
    s.insert(s.begin(), wchar_t(L'0' + n % 10));
    n /= 10;
  } while (n);
  return s;
}
std::wstring gCaption = L"Self-extracting Archive";

std::wstring Wide(const std::string& ansi) {
  if (ansi.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), w.data(), n);
  return w;
}

int Box(const std::wstring& text, UINT type) {
  if (gQuiet) return 0;
  return MessageBoxW(nullptr, text.c_str(), gCaption.c_str(), type | MB_SETFOREGROUND);
}

TStubResult Fail(TStubResult r, const std::wstring& text) {
  Box(text, MB_OK | MB_ICONERROR);
  return r;
}

// System DLLs come from the system folder only, never from beside the program.
void RestrictDllSearch() {
  using TSetDefault = BOOL(WINAPI*)(DWORD);
  HMODULE k = GetModuleHandleW(L"kernel32.dll");
  auto setDefault = k ? reinterpret_cast<TSetDefault>(
                            reinterpret_cast<void*>(GetProcAddress(k, "SetDefaultDllDirectories")))
                      : nullptr;
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
}

bool HasQuietSwitch() {
  // Skip the program name (quoted or not), then look at each argument.
  const wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p) {
    while (*p == L' ' || *p == L'\t') ++p;
    const wchar_t* start = p;
    while (*p && *p != L' ' && *p != L'\t') ++p;
    if (CompareStringOrdinal(start, int(p - start), L"/quiet", 6, TRUE) == CSTR_EQUAL) return true;
  }
  return false;
}

std::wstring WithBackslash(std::wstring s) {
  if (!s.empty() && s.back() != L'\\' && s.back() != L'/') s += L'\\';
  return s;
}

std::wstring TempFolder() {
  wchar_t buf[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  return n ? WithBackslash(std::wstring(buf, n)) : std::wstring();
}

std::wstring Hex(uint32_t n) {
  std::wstring s;
  for (int shift = 28; shift >= 0; shift -= 4) s += L"0123456789ABCDEF"[(n >> shift) & 15];
  return s;
}

// The run's own folder under the temporary folder (with its trailing
// backslash), made on first use under a name no folder had: empty when none
// could be made.
std::wstring gRunFolder;
bool gRunFolderFailed = false;
const std::wstring& RunFolder() {
  if (!gRunFolder.empty() || gRunFolderFailed) return gRunFolder;
  const std::wstring temp = TempFolder();
  const uint32_t seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  for (uint32_t i = 0; !temp.empty() && i < 1000; ++i) {
    std::wstring candidate = temp + L"Setup-" + Hex(seed + i * 7919u);
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      gRunFolder = candidate + L"\\";
      return gRunFolder;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  gRunFolderFailed = true;
  return gRunFolder;
}

// Every "><" becomes the run's own folder (with its trailing backslash).
std::wstring ExpandToken(const std::wstring& s) {
  std::wstring out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'>' && i + 1 < s.size() && s[i + 1] == L'<') {
      out += RunFolder();
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::wstring FullPath(const std::wstring& p) {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetFullPathNameW(p.c_str(), MAX_PATH * 4, buf, nullptr);
  return n && n < MAX_PATH * 4 ? std::wstring(buf, n) : p;
}

bool IsAbsolute(const std::wstring& p) {
  return (p.size() >= 2 && p[1] == L':') || (!p.empty() && (p[0] == L'\\' || p[0] == L'/'));
}

bool MakeFolders(const std::wstring& folder) {
  // folder ends with a backslash; create each level in turn.
  for (size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] != L'\\' || i == 0 || folder[i - 1] == L':') continue;
    std::wstring part = folder.substr(0, i);
    if (part.size() <= 2 || part.rfind(L"\\\\", 0) == 0) continue;
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      DWORD a = GetFileAttributesW(part.c_str());
      if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;
    }
  }
  return true;
}

bool Inside(const std::wstring& full, const std::wstring& root) {
  return full.size() > root.size() && CompareStringOrdinal(full.c_str(), int(root.size()), root.c_str(),
                                                           int(root.size()), TRUE) == CSTR_EQUAL;
}

bool ShouldWrite(const std::wstring& path, uint8_t flags) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  if (flags & sfxOverwriteAlways) return true;
  if (flags & sfxOverwriteNever) return false;
  if (flags & sfxHideOverwriteBox) return true;
  if (gQuiet) return false;
  return Box(L"Replace the existing file\n" + path + L" ?", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Runs the command: the program part quoted, relative to the target folder
// unless absolute; waits for it and returns its exit code.
int RunCommand(const std::wstring& command, const std::wstring& target, uint8_t flags) {
  std::wstring program, args;
  size_t i = 0;
  if (!command.empty() && command[0] == L'"') {
    size_t close = command.find(L'"', 1);
    program = command.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    i = close == std::wstring::npos ? command.size() : close + 1;
  } else {
    i = command.find_first_of(L" \t");
    program = command.substr(0, i);
    if (i == std::wstring::npos) i = command.size();
  }
  while (i < command.size() && (command[i] == L' ' || command[i] == L'\t')) ++i;
  args = ExpandToken(command.substr(i));
  program = ExpandToken(program);
  if (!IsAbsolute(program)) program = target + program;
  program = FullPath(program);
  if ((flags & sfxAskCmdLine) && !gQuiet &&
      Box(L"Run\n" + program + (args.empty() ? L"" : L" " + args) + L" ?", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return srOk;
  std::wstring line = L"\"" + program + L"\"";
  if (!args.empty()) line += L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<wchar_t> buf(line.begin(), line.end());
  buf.push_back(0);
  std::wstring dir = target.size() > 3 ? target.substr(0, target.size() - 1) : target;
  if (!CreateProcessW(program.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
    return Fail(srCommandFailed, L"Cannot start\n" + program);
  CloseHandle(pi.hThread);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  return int(code);
}

int Run() {
  RestrictDllSearch();
  gQuiet = HasQuietSwitch();

  wchar_t self[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  if (n == 0 || n >= MAX_PATH * 4) return Fail(srNoArchive, L"Cannot find this program's own file.");
  TSfxFile file;
  uint64_t imageEnd = 0;
  TSfxOptions options;
  if (!file.Open(std::wstring(self, n)) || !file.ImageEnd(imageEnd) || !file.ReadOptions(imageEnd, options))
    return Fail(srNoArchive, L"This self-extracting archive carries no archive.");
  if (!options.Caption.empty()) gCaption = Wide(options.Caption);

  std::vector<TSfxMember> members;
  if (file.ReadDirectory(imageEnd + options.RecordSize, !(options.Flags & sfxNoCheckSize), members) != srOk)
    return Fail(srNoArchive, L"The archive in this program is damaged or incomplete.");
  for (const TSfxMember& m : members)
    if (m.Path.empty())
      return Fail(srUnsafeName, L"The archive holds a file name that would be written outside its folder:\n" +
                                     m.Name + L"\nNothing was extracted.");

  if (!options.Message.empty() && Box(Wide(options.Message), MB_OKCANCEL | MB_ICONINFORMATION) == IDCANCEL)
    return srCancelled;
  std::wstring target = ExpandToken(Wide(options.DefaultDir));
  if (gRunFolderFailed) return Fail(srExtractFailed, L"Cannot create a folder in the temporary folder\n" + TempFolder());
  if (target.empty()) {
    std::wstring me(self, n);
    target = me.substr(0, me.find_last_of(L'\\') + 1);
  }
  target = WithBackslash(FullPath(target));
  if (!(options.Flags & sfxAutoRun) &&
      Box(L"Extract the files into\n" + target + L" ?", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return srCancelled;
  // Every member's place is checked before the first byte is written.
  std::vector<std::wstring> paths;
  for (const TSfxMember& m : members) {
    std::wstring path = FullPath(target + m.Path);
    if (m.Folder) path = WithBackslash(path);
    if (!Inside(path, target))
      return Fail(srUnsafeName, L"The archive holds a file name that would be written outside its folder:\n" + m.Name +
                                    L"\nNothing was extracted.");
    paths.push_back(path);
  }
  if (!MakeFolders(target)) return Fail(srExtractFailed, L"Cannot create the folder\n" + target);

  size_t written = 0;
  for (size_t i = 0; i < members.size(); ++i) {
    const TSfxMember& m = members[i];
    const std::wstring& path = paths[i];
    size_t slash = path.find_last_of(L'\\', path.size() - 2);
    if (!MakeFolders(m.Folder ? path : path.substr(0, slash + 1)))
      return Fail(srExtractFailed, L"Cannot create the folder for\n" + path);
    if (m.Folder) continue;
    if (!ShouldWrite(path, options.Flags)) continue;
    TStubResult r = file.Extract(m, path);
    if (r != srOk) return Fail(r, L"Cannot extract\n" + path);
    ++written;
  }
  if (!(options.Flags & sfxNoSuccessMessage))
    Box(Number(written) + L" file(s) extracted into\n" + target, MB_OK | MB_ICONINFORMATION);
  std::wstring command = Wide(options.CommandLine);
  if (command.empty()) return srOk;
  return RunCommand(command, target, options.Flags);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Run(); }
