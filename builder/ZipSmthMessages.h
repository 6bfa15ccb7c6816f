#pragma once
// Identifiers of the zip component's messages in the program's string table.
namespace tq::zipmsg {

constexpr int NoZipSpecified = 10102;
constexpr int NoMemory = 10103;
constexpr int PasswordsDiffer = 10104;
constexpr int NoAddPassword = 10150;
constexpr int NoExtractPassword = 10151;
constexpr int BtnOk = 10152;
constexpr int BtnCancel = 10153;
constexpr int PasswordCaption = 10154;
constexpr int EnterPassword = 10155;
constexpr int ConfirmPassword = 10156;
constexpr int BtnCancelAll = 10157;
constexpr int BtnAbort = 10158;
constexpr int SeekError = 10201;
constexpr int ListUnknownError = 10202;
constexpr int StructureError = 10203;
constexpr int GarbageAtEnd = 10204;
constexpr int NothingToZip = 10301;
constexpr int UnattendedNoPassword = 10302;
constexpr int SpanNoFreshen = 10303;
constexpr int AutoSfxError = 10304;
constexpr int NoStreamSupport = 10305;
constexpr int DllLoaded = 10601;
constexpr int NoExecEntry = 10602;
constexpr int NoVersionEntry = 10603;
constexpr int DllNotFound = 10604;
constexpr int ZipOpenError = 11002;
constexpr int DriveNotDefined = 11004;
constexpr int CentralHeaderRead = 11013;
constexpr int CentralSignature = 11015;
constexpr int CentralNameRead = 11017;
constexpr int CommentRead = 11022;
constexpr int NotAZip = 11036;
constexpr int FirstDiskOfSet = 11037;
constexpr int NthDiskOfSet = 11038;
constexpr int SfxNoSpan = 11041;
constexpr int FirstFileOfSet = 11045;

}  // namespace tq::zipmsg
