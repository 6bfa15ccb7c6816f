// Install.exe: stands in for the bootstrap program that lies outside
// Tarnquill. A distribution's Setup.exe unpacks itself (into the temporary
// folder) and starts it there. It reads setup.ini beside itself and starts the
// front-end that setup.ini switches on, in the folder it lies in:
//   Vantrel.exe "<Msiname>" "<Welcome>" "<Finish>" "<Custom>" "<Progress>"
//   Sorvex.exe  "<Msiname>" "<FlashMovie>"
// (names as setup.ini gives them, relative to that folder; the front-ends put
// their own folder in front). With no front-end, or when the one named is
// missing, it hands the package to Windows Installer: msiexec /i "<package>".
// It waits for what it started and ends with that program's exit code, and
// appends what it did to Install.log beside itself. It shows no window.
//
// Everything is found through the program's own path, never the current
// folder, and paths are quoted: the temporary folder usually holds blanks.
// msiexec.exe is taken from the system folder; the environment variable
// TQ_STANDIN_MSIEXEC replaces it for the tests (StandInSupport.h).
#include <windows.h>

#include <cstdio>
#include <string>

#include "StandInSupport.h"

namespace {

using namespace tq::standin;

// Install.log beside the program: appended to, one line per event.
class TLineLog {
 public:
  explicit TLineLog(const std::string& path)
      : FHandle(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~TLineLog() {
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
  }
  TLineLog(const TLineLog&) = delete;
  TLineLog& operator=(const TLineLog&) = delete;
  void Line(const std::string& text) {
    if (FHandle == INVALID_HANDLE_VALUE) return;
    std::string line = text + "\r\n";
    DWORD written = 0;
    WriteFile(FHandle, line.data(), DWORD(line.size()), &written, nullptr);
  }

 private:
  HANDLE FHandle;
};

std::string ReadSetting(const std::string& ini, const char* section, const char* key) {
  char buf[2048];
  DWORD n = GetPrivateProfileStringA(section, key, "", buf, sizeof buf, ini.c_str());
  return std::string(buf, n);
}

bool Switch(const std::string& ini, const char* key) {
  return GetPrivateProfileIntA("Setup", key, 0, ini.c_str()) != 0;
}

// A package name must name a file in the bootstrap's own folder.
bool IsPlainFileName(const std::string& name) {
  return name.find_first_of("\\/:\"") == std::string::npos && name != "." && name != "..";
}

std::string Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  return buf;
}

int Run() {
  const std::string folder = ProgramFolder();
  TLineLog log(folder + "Install.log");
  log.Line("");
  log.Line("Install started " + Now() + " in " + folder);

  const std::string ini = folder + "setup.ini";
  if (!FileExists(ini)) {
    log.Line("No setup.ini beside Install.exe; nothing to install");
    return ERROR_FILE_NOT_FOUND;
  }
  const std::string msiName = ReadSetting(ini, "Setup", "Msiname");
  if (msiName.empty()) {
    log.Line("setup.ini names no package (Setup, Msiname)");
    return ERROR_FILE_NOT_FOUND;
  }
  if (!IsPlainFileName(msiName)) {
    log.Line("The package name \"" + msiName + "\" is not a file name in this folder");
    return ERROR_INVALID_NAME;
  }
  const std::string package = folder + msiName;
  log.Line("Package: " + package);
  if (!FileExists(package)) {
    log.Line("The package is missing");
    return ERROR_FILE_NOT_FOUND;
  }

  std::string frontEnd, program, arguments;
  if (Switch(ini, "Vantrel")) {
    frontEnd = "Vantrel";
    arguments = Quoted(msiName);
    for (const char* page : {"Welcome", "Finish", "Custom", "Progress"})
      arguments += " " + Quoted(ReadSetting(ini, "Vantrel", page));
  } else if (Switch(ini, "Sorvex")) {
    frontEnd = "Sorvex";
    arguments = Quoted(msiName) + " " + Quoted(ReadSetting(ini, "Sorvex", "FlashMovie"));
  }
  if (!frontEnd.empty()) {
    program = folder + frontEnd + ".exe";
    if (!FileExists(program)) {
      log.Line("Front-end " + frontEnd + ".exe is missing; the package's own dialogs run instead");
      frontEnd.clear();
    }
  }
  if (frontEnd.empty()) {
    log.Line("Front-end: none");
    program = MsiexecPath();
    arguments = "/i " + Quoted(package);
  } else {
    log.Line("Front-end: " + frontEnd);
  }

  log.Line("Starting: " + Quoted(program) + " " + arguments);
  DWORD exitCode = 0, error = 0;
  if (!RunAndWait(program, arguments, folder, exitCode, error)) {
    log.Line("Cannot start " + program + " (error " + std::to_string(error) + ")");
    return int(error ? error : ERROR_FILE_NOT_FOUND);
  }
  log.Line("Exit code: " + std::to_string(exitCode));
  return int(exitCode);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return Run(); }
