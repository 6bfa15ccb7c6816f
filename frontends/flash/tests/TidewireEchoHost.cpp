// Test host: serves NUL-framed messages on 127.0.0.1 with the listener library,
// for a client outside Wine. Prints "port <n>" once listening, then one line per
// event. Each connection is served on a worker of its own, as the setup
// front-end does: every message comes back as "echo:" + message; "Stop::"
// deactivates the listener and ends the program; failures are printed as
// "error: ...".
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TidewireExceptions.h"
#include "TidewireListener.h"

namespace {

std::mutex PrintLock;
void Print(const std::string& line) {
  std::lock_guard<std::mutex> g(PrintLock);
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string Printable(const std::string& s) {
  std::string out;
  for (unsigned char c : s) out += (c >= 32 && c < 127) ? static_cast<char>(c) : '.';
  return out.size() > 60 ? out.substr(0, 60) + "..." : out;
}

}  // namespace

int main() {
  std::mutex stopLock;
  std::condition_variable stopped;
  bool stop = false;
  std::vector<std::thread> workers;
  {
    tq::TTidewireListener listener(nullptr);
    listener.BoundIP = "127.0.0.1";
    listener.OnLog = [](const std::string& text) { Print("error: " + text); };
    listener.OnConnect = [&](tq::TTidewireServerThread* thread) {
      std::shared_ptr<tq::TTidewireServer> connection = thread->Connection();
      Print("connect " + connection->PeerIP);
      std::lock_guard<std::mutex> g(stopLock);
      workers.emplace_back([&, connection] {
        try {
          for (;;) {
            std::string message = connection->ReadMessage();
            if (message.empty()) break;
            if (message == std::string("Stop::") + '\0') {
              std::lock_guard<std::mutex> g(stopLock);
              stop = true;
              stopped.notify_all();
              break;
            }
            std::string why;
            if (!connection->TryWriteAll("echo:" + message, &why)) Print("dropped: " + why);
          }
          Print("closed");
        } catch (const tq::ETidewireException& e) {
          Print("error: " + Printable(e.Message));
          connection->Disconnect();
        }
      });
    };
    try {
      listener.SetActive(true);
    } catch (const tq::ETidewireException& e) {
      Print("error: " + e.Message);
      return 1;
    }
    Print("port " + std::to_string(listener.ListeningPort()));
    std::unique_lock<std::mutex> g(stopLock);
    stopped.wait(g, [&] { return stop; });
    g.unlock();
    listener.SetActive(false);
    Print("inactive");
  }
  for (std::thread& t : workers) t.join();
  Print("end");
  return 0;
}
