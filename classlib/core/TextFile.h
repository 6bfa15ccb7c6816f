#pragma once
// Pascal-style text files: Assign, then Reset (read), Rewrite (create) or
// Append (append, or create when missing); lines end with CR LF on writing,
// CR LF, LF or CR on reading. Every WriteLn reaches the file at once.
// Failures raise EInOutError with Pascal's error numbers (2 "File not found",
// 3 "Path not found", 5 "File access denied", 103 "File not open",
// 104 "File not open for input", 105 "File not open for output",
// 106 "Invalid numeric input").
#include <string>
#include <vector>

#include "Classes.h"

namespace tq {

class TTextFile {
 public:
  TTextFile() = default;
  explicit TTextFile(const std::string& fileName) : FFileName(fileName) {}
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;
  ~TTextFile();

  void Assign(const std::string& fileName);
  void Reset();
  void Rewrite();
  void Append();
  void Close();
  bool IsOpen() const { return FHandle != INVALID_FILE_HANDLE; }
  const std::string& FileName() const { return FFileName; }

  void Write(const std::string& text);
  void WriteLn(const std::string& text = {});

  // The rest of the current line, without its line end; "" at the end of file.
  void ReadLn(std::string& line);
  std::string ReadLn();
  // Readln(f, n): skips blanks and line ends, reads one number ("$" hex
  // accepted; 0 at the end of file), then skips the rest of its line.
  int ReadInt();
  void ReadLn(int& value) { value = ReadInt(); }
  bool Eof();
  bool Eoln();

 private:
  enum TMode { tmClosed, tmInput, tmOutput };
  void CheckInput();
  void CheckOutput();
  int PeekChar();   // -1 at end
  int GetChar();
  void Fill();
  [[noreturn]] void RaiseOpenError(int code) const;

  std::string FFileName;
  THandle FHandle = INVALID_FILE_HANDLE;
  TMode FMode = tmClosed;
  std::vector<char> FBuffer;
  size_t FBufPos = 0;
  bool FAtEnd = false;
};

// The text of a Pascal I/O error number.
std::string InOutErrorText(int code);

}  // namespace tq
