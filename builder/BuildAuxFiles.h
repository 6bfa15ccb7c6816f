#pragma once
// The auxiliary files every package carries after the choices' files, in the
// order in which the Component and File steps number them (the cabinet adds
// them in the same order).
//
//   the helper programs            always
//   Uninstall<product>.exe         when a required or typical choice exists
//   the update-support files       with update support
//   Updates2.dat                   with update support, when it was written
#include <string>

namespace tq {

// Where an auxiliary file comes from.
enum TAuxSource { asProgramDir, asSystemDir, asProjectDir };

struct TAuxiliaryFile {
  const char* Name;
  const char* DirectoryKey;  // never suffixed
  int Attributes;            // the Component row's
  TAuxSource Source;
};

// Installed with every package; the three programs go into the system folder.
inline constexpr TAuxiliaryFile HelperFiles[] = {
    {"Installation.txt", "TARGETDIR", 0, asProgramDir},
    {"TQSetGroup.exe", "SystemFolder", 0, asProgramDir},
    {"TQSetDestinationPath.exe", "SystemFolder", 0, asProgramDir},
    {"TQSetSub.exe", "SystemFolder", 0, asProgramDir},
};

// Installed with update support; BrindleProj.ocx also registers itself.
inline constexpr TAuxiliaryFile UpdateSupportFiles[] = {
    {"Patchnum.ini", "TARGETDIR", 0, asProgramDir},
    {"AllowedUpdates.ini", "TARGETDIR", 0, asProgramDir},
    {"BrindleProj.ocx", "SystemFolder", 16, asSystemDir},
    {"Updates.exe", "TARGETDIR", 0, asProgramDir},
    {"UndoUpdates.exe", "TARGETDIR", 0, asProgramDir},
    {"Updates.dat", "TARGETDIR", 0, asProgramDir},
};
inline constexpr const char* SelfRegisteringUpdateFile = "BrindleProj.ocx";

// The FTP settings file, written into the project folder for this build.
inline constexpr TAuxiliaryFile FtpDataFile = {"Updates2.dat", "TARGETDIR", 0, asProjectDir};

// The product's copy of the program folder's "Uninstall.exe".
inline std::string UninstallerFileName(const std::string& productName) {
  return "Uninstall" + productName + ".exe";
}

}  // namespace tq
