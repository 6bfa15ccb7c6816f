#pragma once
// The product name is part of file and folder names the build writes:
// "Uninstall<product>.exe" in the program folder, "Patches\<product>\" for
// update support, "<product>FloppySetup.zip" in the distribution folder. A name
// taken from a project someone sent must never lead outside those folders or
// name a device, so a build refuses it before anything is written.
#include <string>

namespace tq {

// Why the name cannot be part of a file name; empty when it can. Refused: an
// empty name, path separators and the other characters a file name cannot
// hold (\ / : * ? " < > | and control characters), "..", a trailing blank or
// dot (the file system drops them), and the reserved device names (CON, PRN,
// AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$), also with an extension.
std::string ProductFileNameFault(const std::string& productName);

// The build's message for a refused name: names the Information page's field,
// the name and the fault.
std::string ProductFileNameMessage(const std::string& productName, const std::string& fault);

}  // namespace tq
