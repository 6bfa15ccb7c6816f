// Stand-in for the publisher's Flash GUI program that Sorvex starts (the
// project's "movie"). The real one shows the setup's screens and talks to
// Sorvex over 127.0.0.1:8188; this one shows nothing and walks the protocol
// from a script, so that a distribution installs with nobody present.
//
// The script is "FlashGui.txt" beside the program (built-in defaults without
// it), one step a line:
//   send <message>   sends the message and its NUL; ${DefaultDestination} and
//                    ${ProductName} stand for the greeting's values
//   await <text>     reads messages until one holds <text> (fails after 10 min)
//   sleep <ms>       waits
//   close            closes the connection at once
// Lines starting with "#" and empty lines are skipped. Every message sent and
// received goes to "FlashGui.log" beside the program, with the end result
// ("result: ok" or "result: failed ..."). Exit code 0 when every step worked.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "StandInSupport.h"

namespace {

using tq::standin::ProgramFolder;

const char* const kDefaultScript =
    "send Info::Sam Tester::Quill Works::KEY-1\n"
    "send Directory::${DefaultDestination}\n"
    "send GroupScope::Current\n"
    "send Group::${ProductName}\n"
    "send Type::Typical\n"
    "await <Settings>\n"
    "send Install::\n"
    "await <Finished/>\n"
    "send Quit\n";

FILE* gLog = nullptr;

void Log(const std::string& line) {
  if (!gLog) return;
  std::fprintf(gLog, "%s\r\n", line.c_str());
  std::fflush(gLog);
}

std::string ReadFile(const std::string& path, bool& found) {
  found = false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  found = true;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  size_t a = text.find(open);
  if (a == std::string::npos) return {};
  a += open.size();
  size_t b = text.find(close, a);
  return b == std::string::npos ? std::string() : text.substr(a, b - a);
}

class TClient {
 public:
  bool Connect() {
    for (int attempt = 0; attempt < 100; ++attempt) {
      FSocket = socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in a{};
      a.sin_family = AF_INET;
      a.sin_port = htons(8188);
      a.sin_addr.s_addr = inet_addr("127.0.0.1");
      if (connect(FSocket, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return true;
      closesocket(FSocket);
      FSocket = INVALID_SOCKET;
      Sleep(100);
    }
    return false;
  }
  bool Send(const std::string& message) {
    std::string data = message + '\0';
    size_t done = 0;
    while (done < data.size()) {
      int n = send(FSocket, data.data() + done, int(data.size() - done), 0);
      if (n <= 0) return false;
      done += size_t(n);
    }
    Log("sent: " + message);
    return true;
  }
  // The next whole message; false when the connection ended or time ran out.
  bool Receive(std::string& message, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
      size_t nul = FBuffer.find('\0');
      if (nul != std::string::npos) {
        message = FBuffer.substr(0, nul);
        FBuffer.erase(0, nul + 1);
        Log("received: " + message);
        return true;
      }
      DWORD elapsed = GetTickCount() - start;
      if (elapsed >= timeoutMs) return false;
      fd_set set;
      FD_ZERO(&set);
      FD_SET(FSocket, &set);
      timeval tv{long((timeoutMs - elapsed) / 1000), long((timeoutMs - elapsed) % 1000) * 1000};
      if (select(0, &set, nullptr, nullptr, &tv) <= 0) return false;
      char buf[8192];
      int n = recv(FSocket, buf, sizeof buf, 0);
      if (n <= 0) return false;
      FBuffer.append(buf, size_t(n));
    }
  }
  void Close() {
    if (FSocket != INVALID_SOCKET) closesocket(FSocket);
    FSocket = INVALID_SOCKET;
  }

 private:
  SOCKET FSocket = INVALID_SOCKET;
  std::string FBuffer;
};

std::string Substitute(std::string s, const std::string& name, const std::string& value) {
  for (size_t p; (p = s.find(name)) != std::string::npos;) s.replace(p, name.size(), value);
  return s;
}

DWORD WINAPI WaitForMessages(LPVOID) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
  }
  return 0;
}

int Run() {
  bool found = false;
  std::string script = ReadFile(ProgramFolder() + "FlashGui.txt", found);
  if (!found) script = kDefaultScript;
  Log(found ? "script: FlashGui.txt" : "script: built-in");
  TClient client;
  if (!client.Connect()) {
    Log("result: failed, no connection to 127.0.0.1:8188");
    return 1;
  }
  Log("connected");
  std::string greeting;
  if (!client.Receive(greeting, 60000)) {
    Log("result: failed, no greeting");
    return 1;
  }
  const std::string destination = Between(greeting, "<DefaultDestination>", "</DefaultDestination>");
  const std::string product = Between(greeting, "<ProductName>", "</ProductName>");
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    if (end == std::string::npos) end = script.size();
    std::string line = script.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("send ", 0) == 0) {
      std::string m = Substitute(Substitute(line.substr(5), "${DefaultDestination}", destination),
                                 "${ProductName}", product);
      if (!client.Send(m)) {
        Log("result: failed, cannot send " + m);
        return 1;
      }
    } else if (line.rfind("await ", 0) == 0) {
      const std::string text = line.substr(6);
      std::string m;
      do {
        if (!client.Receive(m, 600000)) {
          Log("result: failed, no message holding " + text);
          return 1;
        }
      } while (m.find(text) == std::string::npos);
    } else if (line.rfind("sleep ", 0) == 0) {
      Sleep(DWORD(std::atoi(line.c_str() + 6)));
    } else if (line == "close") {
      client.Close();
    } else {
      Log("result: failed, unknown step " + line);
      return 1;
    }
  }
  // What else arrives until Sorvex closes (or a little while).
  std::string m;
  while (client.Receive(m, 2000)) {
  }
  client.Close();
  Log("result: ok");
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A GUI program waits for messages at once, and the program that started
  // it (WinExec waits until then, up to 30 seconds) goes on: a thread of ours
  // waits on an empty message queue for the program's whole life.
  CloseHandle(CreateThread(nullptr, 0, WaitForMessages, nullptr, 0, nullptr));
  gLog = std::fopen((ProgramFolder() + "FlashGui.log").c_str(), "ab");
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
    Log("result: failed, no Winsock");
    return 1;
  }
  int code = Run();
  WSACleanup();
  if (gLog) std::fclose(gLog);
  return code;
}
