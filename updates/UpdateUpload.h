#pragma once
// The upload of one from-version's updates to the publisher's FTP server.
// Local files, in the program directory A (with a trailing backslash):
//   A AllowedUpdates.ini              sent unchanged
//   A Updates.ini                     rebuilt from the Patches tree, then sent
//   A Patches\<product>\Version<from>\Patch0*.upd   the update files
// Server layout below the settings' Directory D (stored back as "/.../"):
//   D AllowedUpdates.ini, D Updates.ini, D Version<from>/<update files>
// Every failure ends the upload with an error dialog and is never reported as
// a success. When an update file cannot be sent, the update files already
// sent in this run are deleted again; the message says so only when every
// delete succeeded and otherwise names the files left on the server. The
// settings' password is handed to the server only, never to a message.
#include <functional>
#include <string>

#include "FtpData.h"

namespace tq {

class TIniFile;
class TComponent;

struct TUpdateUpload {
  TComponent* Owner = nullptr;     // owner of the FTP client
  TFtpData* Settings = nullptr;    // its Directory is normalised in place
  std::string AppDir;              // program directory, with a trailing backslash
  std::string ProductName;         // names the product's folder of the Patches tree
  std::string From;                // the version the updates start from
  bool Silent = false;
  // Interactive uploads: shows the FTP settings dialog unless the user asked
  // not to see it again; false (anything but OK) ends the upload silently.
  std::function<bool()> ConfirmSettings;
};

// Runs the upload; true when every file reached the server. Missing local
// lists raise EFOpenError "Cannot open file %s"; a non-numeric port raises
// EConvertError.
bool UploadUpdates(const TUpdateUpload& Upload);

// Rebuilds Updates.ini: every section is erased, then one section per version
// folder of the product (a folder whose name starts with "version" in any
// case, named as found on disk) with one empty key per "*.upd" file in it.
// The file exists afterwards even when it holds no section.
void WriteUpdatesIni(TIniFile& Ini, const std::string& AppDir, const std::string& ProductName);

}  // namespace tq
