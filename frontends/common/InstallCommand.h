#pragma once
// The installation call of both front-ends: the property string that carries
// the user's choices to Windows Installer, and the call itself.
//
//   Vantrel: MSIRUN=0 TARGETDIR="<dest>"[ GROUP="<group path>"] <FeatureList>
//            FeatureList: empty, or ADDDEFAULT="BRINDLEREGDATA,<key>,<key>..."
//   Sorvex:  TARGETDIR="<dest>" ADDDEFAULT=[<key>,<key>...,]BRINDLEREGDATA MSIRUN=0[ GROUP="<group path>"]
//
// A value can never add properties of its own: a destination, group or feature
// key holding a double quote, and a blank or control character in Sorvex's
// unquoted feature list, is refused with EInstallValueRefused (the caller logs
// it and installs nothing).
#include <string>
#include <vector>

#include "Installer.h"
#include "SysUtils.h"

namespace tq {

TQ_EXCEPTION_CLASS(EInstallValueRefused, Exception);

// Vantrel's FeatureList from the chosen keys: empty for none.
std::string VantrelFeatureList(const std::vector<std::string>& keys);
std::string VantrelPropertyString(const std::string& destination, const std::string& groupPath,
                                  const std::string& featureList);
// featureList: keys separated by commas (may be empty).
std::string SorvexPropertyString(const std::string& destination, const std::string& featureList,
                                 const std::string& groupPath);

// EnableLog("v", programFolder + "msi.log"), then InstallProduct of the
// package (programFolder + packageName) with the properties. Raises on a
// failed or cancelled installation.
void InstallPackage(TInstaller& installer, const std::string& programFolder, const std::string& packageName,
                    const std::string& properties);

// The text of the box for a failed or cancelled installation.
std::string InstallFailureText(const std::string& message);
inline const char* const kNoLocationText = "Unable to install: no install location set";

// The Programs folder of the current user (CSIDL 2) or of all users (CSIDL 23)
// with a trailing backslash; empty when it does not resolve.
std::string ProgramsFolder(bool currentUser);
// A shell special folder, without a trailing backslash added; empty when it
// does not resolve.
std::string SpecialFolder(int csidl);

}  // namespace tq
