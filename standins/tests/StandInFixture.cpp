#include "StandInFixture.h"

#include <vector>

namespace tq::testing {

void StandInFolder::SetUp() {
  SetEnvironmentVariableA("TQ_STANDIN_MSIEXEC", nullptr);
  SetEnvironmentVariableA("TQ_RECORDER_EXIT_CODE", nullptr);
}

void StandInFolder::TearDown() {
  SetEnvironmentVariableA("TQ_STANDIN_MSIEXEC", nullptr);
  SetEnvironmentVariableA("TQ_RECORDER_EXIT_CODE", nullptr);
}

void StandInFolder::CopyProgram(const std::string& programDirName, const std::string& name) {
  std::string from = std::string(TQ_PROGRAM_DIR) + "\\" + programDirName;
  ASSERT_TRUE(CopyFileA(from.c_str(), (Dir + name).c_str(), FALSE)) << from;
}

std::string StandInFolder::CopyRecorder(const std::string& relativePath) {
  std::string to = Dir + relativePath;
  size_t slash = to.find_last_of('\\');
  CreateDirectoryA(to.substr(0, slash).c_str(), nullptr);
  EXPECT_TRUE(CopyFileA(TQ_RECORDER, to.c_str(), FALSE)) << to;
  return to;
}

void StandInFolder::Write(const std::string& relativePath, const std::string& text) {
  HANDLE h = CreateFileA((Dir + relativePath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << relativePath;
  DWORD written = 0;
  WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(h);
}

std::string StandInFolder::Read(const std::string& relativePath) const {
  HANDLE h = CreateFileA((Dir + relativePath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "";
  std::string text;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) text.append(buf, n);
  CloseHandle(h);
  return text;
}

bool StandInFolder::Exists(const std::string& relativePath) const {
  return GetFileAttributesA((Dir + relativePath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

long StandInFolder::Run(const std::string& program, const std::string& arguments) {
  std::string path = Dir + program;
  std::string line = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back(0);
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);  // not the program's folder
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(path.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, tmp, &si, &pi)) return -1;
  CloseHandle(pi.hThread);
  DWORD code = DWORD(-1);
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi.hProcess, &code);
  else
    TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  return long(code);
}

std::string Line(const std::string& text, int index) {
  size_t start = 0;
  for (int i = 0; i < index; ++i) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) return "";
    start = nl + 1;
  }
  size_t end = text.find('\n', start);
  std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace tq::testing
