#pragma once
// Exit codes of the self-extractor. After a successful extraction that ran a
// command, the self-extractor ends with the command's own exit code instead.
namespace tq::zipstub {

enum TStubResult : int {
  srOk = 0,
  srCancelled = 90,     // the user declined
  srNoArchive = 91,     // no option record, or the appended archive is damaged
  srUnsafeName = 92,    // a member name is absolute or leaves the target folder
  srExtractFailed = 93, // a member could not be written, or its CRC is wrong
  srCommandFailed = 94  // the command could not be started
};

}  // namespace tq::zipstub
