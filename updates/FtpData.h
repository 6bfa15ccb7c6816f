#pragma once
// The project's FTP settings for update publishing, and the writer of the
// settings file "Updates2.dat" that the package carries for the updater on the
// end user's machine.
#include <string>

#include "Component.h"
#include "SysUtils.h"

namespace tq {

// FTP settings of one project: the server, the account, the updates directory on
// the server (a "/" path) and the http address of that same directory. Published,
// in stream order after Tag: HostIp, Port, UserId, Password, Directory, URL (the
// component's own name is not stored).
class TFtpData : public TComponent {
 public:
  explicit TFtpData(TComponent* owner = nullptr) : TComponent(owner) {}
  TQ_PUBLISHED(TFtpData)
  std::string HostIp;
  std::string Port = "21";
  std::string UserId;
  std::string Password;
  std::string Directory;
  std::string URL;
};

// A setting too long for the settings file.
TQ_EXCEPTION_CLASS(EFtpDataError, Exception);

// The settings file "Updates2.dat": a 5,000-byte block in which each setting
// (HostIp, Port, UserId, Password, Directory, URL) is a length byte followed by
// its characters, every byte at its own pseudo-random position among filler
// bytes; then the product name's length (4 bytes, little-endian) and characters.
// A setting holds at most 255 characters; a longer one raises EFtpDataError.
constexpr int FtpDataBlockSize = 5000;
constexpr int FtpDataMaxFieldLength = 255;
std::string FtpDataFileBytes(const TFtpData& Data, const std::string& ProductName);

// Writes "Updates2.dat" into the folder of the project file (created or
// overwritten) and answers true; answers false, writing nothing, when HostIp is
// empty. "Cannot create file %s" when the file cannot be created.
bool WriteFtpDataFile(const TFtpData& Data, const std::string& ProjectFile,
                      const std::string& ProductName);

}  // namespace tq
