#pragma once
// A real FTP server for one test: ftpserver.py (pyftpdlib) on 127.0.0.1 and a
// port the system picks, in a work folder of its own, started by the
// constructor and stopped by the destructor. Its command log and its folder
// tree are what the tests compare; knobs make it refuse chosen commands.
#include <string>
#include <vector>

namespace tq::testing {

class TFtpServer {
 public:
  TFtpServer(const std::string& User, const std::string& Password);
  ~TFtpServer();
  TFtpServer(const TFtpServer&) = delete;
  TFtpServer& operator=(const TFtpServer&) = delete;

  int Port() const { return FPort; }
  // The served folder, as this program sees it.
  const std::string& Root() const { return FRoot; }
  // Commands refused with 550 from now on, one per entry ("STOR #2", "MKD /a").
  void Refuse(const std::vector<std::string>& Knobs);
  // Every command received so far, "PASS ****" for the password and " -> 550"
  // after a refused one.
  std::vector<std::string> Commands() const;
  // Only the commands named (e.g. {"CWD", "MKD"}).
  std::vector<std::string> Commands(const std::vector<std::string>& Names) const;
  // Every file and folder below the root as "/dir/", "/dir/file=content".
  std::vector<std::string> Tree() const;
  // Makes a folder or a file (with content) below the root, path with "/".
  void Put(const std::string& Path, const std::string& Content) const;
  void MakeFolder(const std::string& Path) const;

 private:
  std::string FWork;  // this program's view of the work folder
  std::string FRoot;
  int FPort = 0;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening, for
// the lifetime of the object.
class TRefusedPort {
 public:
  TRefusedPort();
  ~TRefusedPort();
  int Port() const { return FPort; }

 private:
  unsigned long long FSocket;
  int FPort = 0;
};

}  // namespace tq::testing
