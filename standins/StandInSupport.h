#pragma once
// Small helpers shared by the stand-in programs: where a program lies, its
// argument text, and starting another program and waiting for it. Plain
// Win32, ANSI text.
#include <windows.h>

#include <string>

namespace tq::standin {

// Full path of the running program.
inline std::string ProgramPath() {
  char buf[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

// Folder of the running program, with a trailing backslash.
inline std::string ProgramFolder() {
  std::string p = ProgramPath();
  return p.substr(0, p.find_last_of("\\/") + 1);
}

// The running program's file name without folder and extension ("Updates").
inline std::string ProgramBaseName() {
  std::string p = ProgramPath();
  std::string name = p.substr(p.find_last_of("\\/") + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// The text after the program token of a command line, as its caller wrote it
// (the blanks that separate it from the program token are dropped).
inline std::string ArgumentText(const char* commandLine) {
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// Replaces a file's contents; false when it cannot be written.
inline bool WriteTextFile(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == text.size();
}

// Writes the running program's argument text (ArgumentText) to fileName
// beside the program, replacing an earlier record.
inline bool RecordArguments(const std::string& fileName) {
  return WriteTextFile(ProgramFolder() + fileName, ArgumentText(GetCommandLineA()));
}

inline bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows Installer's msiexec.exe in the system folder, never one found on the
// search path (whose first place is the folder of the starting program: a
// download or temporary folder). The environment variable TQ_STANDIN_MSIEXEC,
// when set, names the program to run instead; the tests put a recording
// program there.
inline std::string MsiexecPath() {
  char buf[MAX_PATH * 4];
  DWORD n = GetEnvironmentVariableA("TQ_STANDIN_MSIEXEC", buf, sizeof buf);
  if (n && n < sizeof buf) return std::string(buf, n);
  n = GetSystemDirectoryA(buf, MAX_PATH);
  std::string dir = n && n < MAX_PATH ? std::string(buf, n) : std::string("C:\\Windows\\System32");
  if (dir.back() != '\\') dir += '\\';
  return dir + "msiexec.exe";
}

inline std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Starts program with the command line "program" + blank + arguments in the
// folder dir, waits for it to end and answers its exit code. Answers false
// (with error the platform's error code) when it cannot be started.
inline bool RunAndWait(const std::string& program, const std::string& arguments, const std::string& dir,
                       DWORD& exitCode, DWORD& error) {
  std::string line = Quoted(program);
  if (!arguments.empty()) line += " " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string work = dir;
  if (work.size() > 3 && work.back() == '\\') work.pop_back();  // "C:\" keeps its backslash
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      work.empty() ? nullptr : work.c_str(), &si, &pi)) {
    error = GetLastError();
    return false;
  }
  CloseHandle(pi.hThread);
  WaitForSingleObject(pi.hProcess, INFINITE);
  exitCode = 0;
  GetExitCodeProcess(pi.hProcess, &exitCode);
  CloseHandle(pi.hProcess);
  error = 0;
  return true;
}

}  // namespace tq::standin
