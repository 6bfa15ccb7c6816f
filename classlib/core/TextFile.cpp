// TTextFile: line-oriented text files over the platform's file handles.
#include "TextFile.h"

#include "FileUtils.h"

namespace tq {

std::string InOutErrorText(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Path not found";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 103: return "File not open";
    case 104: return "File not open for input";
    case 105: return "File not open for output";
    case 106: return "Invalid numeric input";
    default: return Format("I/O error %d", {code});
  }
}

namespace {
[[noreturn]] void InOutError(int code) { throw EInOutError(code, InOutErrorText(code)); }

// Why an open failed, as a Pascal error number.
int OpenErrorCode(const std::string& fileName) {
  std::string dir = ExtractFilePath(fileName);
  if (!dir.empty() && !DirectoryExists(dir)) return 3;
  if (DirectoryExists(fileName)) return 5;
  if (!FileExists(fileName)) return 2;
  return 5;
}
}  // namespace

TTextFile::~TTextFile() {
  if (FHandle != INVALID_FILE_HANDLE) FileClose(FHandle);
}

void TTextFile::Assign(const std::string& fileName) {
  Close();
  FFileName = fileName;
}

void TTextFile::RaiseOpenError(int code) const { InOutError(code); }

void TTextFile::Reset() {
  Close();
  FHandle = FileOpen(FFileName, fmOpenRead | fmShareDenyNone);
  if (FHandle == INVALID_FILE_HANDLE) RaiseOpenError(OpenErrorCode(FFileName));
  FMode = tmInput;
  FBuffer.clear();
  FBufPos = 0;
  FAtEnd = false;
}

void TTextFile::Rewrite() {
  Close();
  THandle h = FileCreate(FFileName);
  if (h == INVALID_FILE_HANDLE) RaiseOpenError(OpenErrorCode(FFileName) == 3 ? 3 : 5);
  FileClose(h);
  FHandle = FileOpen(FFileName, fmOpenWrite | fmShareDenyNone);
  if (FHandle == INVALID_FILE_HANDLE) RaiseOpenError(5);
  FMode = tmOutput;
}

void TTextFile::Append() {
  Close();
  if (!FileExists(FFileName)) {
    Rewrite();
    return;
  }
  FHandle = FileOpen(FFileName, fmOpenWrite | fmShareDenyNone);
  if (FHandle == INVALID_FILE_HANDLE) RaiseOpenError(OpenErrorCode(FFileName) == 3 ? 3 : 5);
  FileSeek(FHandle, 0, 2);
  FMode = tmOutput;
}

void TTextFile::Close() {
  if (FHandle != INVALID_FILE_HANDLE) FileClose(FHandle);
  FHandle = INVALID_FILE_HANDLE;
  FMode = tmClosed;
  FBuffer.clear();
  FBufPos = 0;
}

void TTextFile::CheckInput() {
  if (FMode == tmClosed) InOutError(103);
  if (FMode != tmInput) InOutError(104);
}

void TTextFile::CheckOutput() {
  if (FMode == tmClosed) InOutError(103);
  if (FMode != tmOutput) InOutError(105);
}

void TTextFile::Write(const std::string& text) {
  CheckOutput();
  if (text.empty()) return;
  int64_t n = FileWrite(FHandle, text.data(), static_cast<int64_t>(text.size()));
  if (n != static_cast<int64_t>(text.size())) InOutError(101);
}

void TTextFile::WriteLn(const std::string& text) { Write(text + "\r\n"); }

void TTextFile::Fill() {
  if (FBufPos < FBuffer.size() || FAtEnd) return;
  FBuffer.resize(4096);
  int64_t n = FileRead(FHandle, FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
  if (n < 0) InOutError(100);
  FBuffer.resize(static_cast<size_t>(n));
  FBufPos = 0;
  if (n == 0) FAtEnd = true;
}

int TTextFile::PeekChar() {
  Fill();
  if (FBufPos >= FBuffer.size()) return -1;
  return static_cast<unsigned char>(FBuffer[FBufPos]);
}

int TTextFile::GetChar() {
  int c = PeekChar();
  if (c >= 0) ++FBufPos;
  return c;
}

void TTextFile::ReadLn(std::string& line) {
  CheckInput();
  line.clear();
  while (true) {
    int c = GetChar();
    if (c < 0 || c == '\n') break;
    if (c == '\r') {
      if (PeekChar() == '\n') GetChar();
      break;
    }
    line += static_cast<char>(c);
  }
}

std::string TTextFile::ReadLn() {
  std::string s;
  ReadLn(s);
  return s;
}

int TTextFile::ReadInt() {
  CheckInput();
  int c = PeekChar();
  while (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
    GetChar();
    c = PeekChar();
  }
  std::string token;
  while (c >= 0 && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
    token += static_cast<char>(GetChar());
    c = PeekChar();
  }
  int value = 0;
  if (!token.empty() && !TryStrToInt(token, value)) InOutError(106);
  std::string rest;
  ReadLn(rest);
  return value;
}

bool TTextFile::Eof() {
  CheckInput();
  return PeekChar() < 0;
}

bool TTextFile::Eoln() {
  CheckInput();
  int c = PeekChar();
  return c < 0 || c == '\r' || c == '\n';
}

}  // namespace tq
