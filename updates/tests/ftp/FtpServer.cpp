#include "FtpServer.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tq::testing {

namespace {

// Wine's own name of a Windows path on the host.
std::string HostPath(const std::string& WindowsPath) {
  using TUnixName = char*(CDECL*)(const WCHAR*);
  static auto unixName =
      reinterpret_cast<TUnixName>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (!unixName) throw std::runtime_error("the FTP server needs Wine");
  std::wstring wide(WindowsPath.begin(), WindowsPath.end());
  char* name = unixName(wide.c_str());
  if (!name) throw std::runtime_error("no host path for " + WindowsPath);
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string ReadAll(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace

TFtpServer::TFtpServer(const std::string& User, const std::string& Password) {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH + 1] = "";
  GetTempPathA(sizeof temp, temp);
  FWork = std::string(temp) + "ftp-server-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
  fs::remove_all(FWork);
  fs::create_directories(FWork + "\\root");
  FRoot = FWork + "\\root";
  std::string line = Quoted(TQ_PYTHON) + " " + Quoted(TQ_FTP_SERVER) + " " + Quoted(HostPath(FWork)) + " " +
                     Quoted(User) + " " + Quoted(Password);
  // The server writes to no pipe of ours: its output goes nowhere.
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = nul;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessA(TQ_PYTHON, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(nul);
  if (!started) throw std::runtime_error("cannot start the FTP server");
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  const fs::path portFile = FWork + "\\port";
  for (int i = 0; i < 400 && !fs::exists(portFile); ++i) Sleep(50);
  if (!fs::exists(portFile)) throw std::runtime_error("the FTP server did not start");
  FPort = std::stoi(ReadAll(portFile));
}

TFtpServer::~TFtpServer() {
  std::ofstream(FWork + "\\stop") << "stop";
  // Wait for the end: a server outliving the test would keep the test's
  // output open (and its work folder is removed with the test's folder).
  const fs::path portFile = FWork + "\\port";
  for (int i = 0; i < 200 && fs::exists(portFile); ++i) Sleep(50);
}

void TFtpServer::Refuse(const std::vector<std::string>& Knobs) {
  std::ofstream f(FWork + "\\knobs", std::ios::binary);
  for (const std::string& k : Knobs) f << k << "\n";
}

std::vector<std::string> TFtpServer::Commands() const {
  std::vector<std::string> lines;
  std::ifstream f(FWork + "\\commands.log");
  for (std::string l; std::getline(f, l);) lines.push_back(l);
  return lines;
}

std::vector<std::string> TFtpServer::Commands(const std::vector<std::string>& Names) const {
  std::vector<std::string> picked;
  for (const std::string& l : Commands()) {
    const std::string name = l.substr(0, l.find(' '));
    if (std::find(Names.begin(), Names.end(), name) != Names.end()) picked.push_back(l);
  }
  return picked;
}

std::vector<std::string> TFtpServer::Tree() const {
  std::vector<std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(FRoot)) {
    std::string rel = e.path().lexically_relative(FRoot).generic_string();
    if (e.is_directory())
      entries.push_back("/" + rel + "/");
    else
      entries.push_back("/" + rel + "=" + ReadAll(e.path()));
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

void TFtpServer::Put(const std::string& Path, const std::string& Content) const {
  fs::path p = fs::path(FRoot) / fs::path(Path.substr(1));
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << Content;
}

void TFtpServer::MakeFolder(const std::string& Path) const {
  fs::create_directories(fs::path(FRoot) / fs::path(Path.substr(1)));
}

TRefusedPort::TRefusedPort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  int length = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &length);
  FSocket = s;
  FPort = ntohs(a.sin_port);
}

TRefusedPort::~TRefusedPort() { closesocket(static_cast<SOCKET>(FSocket)); }

}  // namespace tq::testing
