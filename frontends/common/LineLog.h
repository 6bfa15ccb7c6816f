#pragma once
// The front-end's line log ("Vantrel.log" or "Sorvex.log" in the program
// folder). Opening appends to an existing file or creates it, and writes the
// header: an empty line, 40 "-", the date and time (short date, long time) and
// an empty line. Each line goes out with CR LF straight to the file, so the log
// survives a crash. Lines from several threads never mix.
#include <mutex>
#include <string>

namespace tq {

class TLineLog {
 public:
  TLineLog() = default;
  ~TLineLog();
  TLineLog(const TLineLog&) = delete;
  TLineLog& operator=(const TLineLog&) = delete;
  // Raises EInOutError when the file cannot be opened.
  void Open(const std::string& path);
  bool IsOpen() const { return FHandle != nullptr; }
  void Close();
  // Raises EInOutError when the line cannot be written.
  void WriteLog(const std::string& line);

 private:
  std::mutex FLock;
  void* FHandle = nullptr;
};

// The program's one log.
TLineLog& ProgramLog();
// ProgramLog().WriteLog(line) when the log is open.
void WriteLog(const std::string& line);

}  // namespace tq
