#pragma once
// Exceptions, Format and the string and path helpers every module uses.
// Positions count from 1 wherever the Pascal-style API counts from 1.
#include <concepts>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace tq {

// One argument of Format: an integer, a float, a string or a pointer.
struct TVarRec {
  enum TKind { vkInteger, vkFloat, vkString, vkPointer };
  TKind Kind = vkInteger;
  int64_t VInteger = 0;
  double VFloat = 0;
  std::string VString;
  const void* VPointer = nullptr;

  template <std::integral T>
    requires(!std::same_as<T, char>)
  TVarRec(T v) : Kind(vkInteger), VInteger(static_cast<int64_t>(v)) {}
  TVarRec(char c) : Kind(vkString), VString(1, c) {}
  template <std::floating_point T>
  TVarRec(T v) : Kind(vkFloat), VFloat(static_cast<double>(v)) {}
  TVarRec(const std::string& s) : Kind(vkString), VString(s) {}
  TVarRec(std::string_view s) : Kind(vkString), VString(s) {}
  TVarRec(const char* s) : Kind(vkString), VString(s ? s : "") {}
  TVarRec(const void* p) : Kind(vkPointer), VPointer(p) {}
  template <class T>
    requires std::is_enum_v<T>
  TVarRec(T v) : Kind(vkInteger), VInteger(static_cast<int64_t>(v)) {}
  // Anything else that converts to a string (the string lists' property proxies).
  template <class T>
    requires(std::is_class_v<T> && std::is_convertible_v<const T&, std::string> &&
             !std::is_same_v<T, std::string> && !std::is_same_v<T, std::string_view>)
  TVarRec(const T& v) : Kind(vkString), VString(static_cast<std::string>(v)) {}
  TVarRec(std::nullptr_t) : Kind(vkPointer), VPointer(nullptr) {}
};

using TVarArgs = std::initializer_list<TVarRec>;

// Format(fmt, args): "%" ["index:"] ["-"] [width] ["." precision] type, with
// width and precision also as "*"; types d u x X e f g n m s p and "%%".
// A missing or mistyped argument raises EConvertError.
std::string Format(const std::string& fmt, TVarArgs args);

// Base of every failure the programs raise; carries a user-readable message.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  explicit Exception(const char* message) : Message(message ? message : "") {}
  Exception(const std::string& fmt, TVarArgs args);
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

#define TQ_EXCEPTION_CLASS(Name, Base) \
  class Name : public Base {           \
   public:                             \
    using Base::Base;                  \
  }

TQ_EXCEPTION_CLASS(EAbort, Exception);           // silent: handlers show nothing
TQ_EXCEPTION_CLASS(EConvertError, Exception);
TQ_EXCEPTION_CLASS(EStreamError, Exception);
TQ_EXCEPTION_CLASS(EFOpenError, EStreamError);   // "Cannot open file %s"
TQ_EXCEPTION_CLASS(EFCreateError, EStreamError); // "Cannot create file %s"
TQ_EXCEPTION_CLASS(EReadError, EStreamError);    // "Stream read error"
TQ_EXCEPTION_CLASS(EWriteError, EStreamError);   // "Stream write error"
TQ_EXCEPTION_CLASS(EStringListError, Exception);
TQ_EXCEPTION_CLASS(EListError, Exception);
TQ_EXCEPTION_CLASS(EIniFileException, Exception);
TQ_EXCEPTION_CLASS(ERegistryException, Exception);
TQ_EXCEPTION_CLASS(EInvalidOperation, Exception);

// A failure with an error number: text files' I/O errors (Pascal's IOResult codes).
class EInOutError : public Exception {
 public:
  explicit EInOutError(const std::string& message) : Exception(message) {}
  EInOutError(const std::string& fmt, TVarArgs args) : Exception(fmt, args) {}
  EInOutError(int errorCode, const std::string& message)
      : Exception(message), ErrorCode(errorCode) {}
  int ErrorCode = 0;
};

// A failed operating-system call; ErrorCode is the system's error number.
class EOSError : public Exception {
 public:
  explicit EOSError(const std::string& message) : Exception(message) {}
  EOSError(const std::string& fmt, TVarArgs args) : Exception(fmt, args) {}
  EOSError(int errorCode, const std::string& message)
      : Exception(message), ErrorCode(errorCode) {}
  int ErrorCode = 0;
};

// Raises EAbort.
[[noreturn]] void Abort();

// The text an application shows for an escaped exception: the message with "."
// appended when its last character sorts after ".".
std::string ExceptionDisplayText(const std::string& msg);

// ---- Strings -------------------------------------------------------------

int Pos(const std::string& sub, const std::string& s);                 // 1-based, 0 = none
int PosEx(const std::string& sub, const std::string& s, int offset);   // search from offset (1-based)
std::string Copy(const std::string& s, int index1, int count);          // tolerant of any range
std::string Copy(const std::string& s, int index1);                     // to the end
void Delete(std::string& s, int index1, int count);
void Insert(const std::string& source, std::string& s, int index1);
std::string StringOfChar(char c, int count);

std::string Trim(const std::string& s);       // strips characters <= ' '
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
std::string UpperCase(const std::string& s);  // ASCII letters only
std::string LowerCase(const std::string& s);
std::string AnsiUpperCase(const std::string& s);  // Windows-1252 letters too
std::string AnsiLowerCase(const std::string& s);

int CompareStr(const std::string& a, const std::string& b);   // ordinal, case-sensitive
int CompareText(const std::string& a, const std::string& b);  // ASCII case-insensitive
bool SameText(const std::string& a, const std::string& b);
int AnsiCompareStr(const std::string& a, const std::string& b);
int AnsiCompareText(const std::string& a, const std::string& b);
bool AnsiSameText(const std::string& a, const std::string& b);
bool AnsiSameStr(const std::string& a, const std::string& b);
int AnsiPos(const std::string& sub, const std::string& s);
bool StartsText(const std::string& prefix, const std::string& s);  // case-insensitive
bool EndsText(const std::string& suffix, const std::string& s);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;
std::string StringReplace(const std::string& s, const std::string& oldPattern,
                          const std::string& newPattern, TReplaceFlags flags = 0);

std::string IntToStr(int64_t value);
std::string IntToHex(int64_t value, int digits);  // upper case, at least `digits` digits
// "'%s' is not a valid integer value" on failure; accepts "$" hex and a sign.
int StrToInt(const std::string& s);
int64_t StrToInt64(const std::string& s);
int StrToIntDef(const std::string& s, int def);
bool TryStrToInt(const std::string& s, int& value);
bool TryStrToInt64(const std::string& s, int64_t& value);
std::string FloatToStr(double value);  // 15 significant digits, general format
double StrToFloat(const std::string& s);  // "'%s' is not a valid floating point value"
bool TryStrToFloat(const std::string& s, double& value);
std::string BoolToStr(bool b, bool useBoolStrs = false);  // "-1"/"0" or "True"/"False"

std::string QuotedStr(const std::string& s);                   // 'it''s'
std::string AnsiQuotedStr(const std::string& s, char quote);
std::string AnsiDequotedStr(const std::string& s, char quote);
int LastDelimiter(const std::string& delimiters, const std::string& s);  // 1-based, 0 = none
bool IsDelimiter(const std::string& delimiters, const std::string& s, int index1);

// ---- Paths (backslash-separated, as on Windows) ----------------------------

constexpr char PathDelim = '\\';
constexpr char DriveDelim = ':';
std::string IncludeTrailingPathDelimiter(const std::string& s);
std::string ExcludeTrailingPathDelimiter(const std::string& s);
inline std::string IncludeTrailingBackslash(const std::string& s) { return IncludeTrailingPathDelimiter(s); }
inline std::string ExcludeTrailingBackslash(const std::string& s) { return ExcludeTrailingPathDelimiter(s); }
std::string ExtractFilePath(const std::string& fileName);  // up to and with the last "\" or ":"
std::string ExtractFileDir(const std::string& fileName);   // the same without a trailing "\"
std::string ExtractFileName(const std::string& fileName);
std::string ExtractFileExt(const std::string& fileName);   // with the "."
std::string ChangeFileExt(const std::string& fileName, const std::string& extension);
std::string ExtractFileDrive(const std::string& fileName); // "C:" or "\\server\share"
// An absolute, normalized path (".", ".." resolved) against the current directory.
std::string ExpandFileName(const std::string& fileName);

}  // namespace tq
