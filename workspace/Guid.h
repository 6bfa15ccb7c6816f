#pragma once
// New GUIDs in the text form the project and the package use: upper case in
// braces, "{8D1E2F10-...}".
#include <string>

namespace tq {

// Raises Exception when the platform cannot make one.
std::string NewGuidText();

}  // namespace tq
