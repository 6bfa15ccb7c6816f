#pragma once
// Component ids of the package: a new one for each of the product's own
// components, and a fixed one for a file that several products install into
// the same place, so that removing one product keeps the file the others use.
#include <string>

namespace tq {

// A new GUID, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string NewComponentId();

// The same GUID for the same key in every product and build: a name-based
// (SHA-1) GUID of the key, letter case ignored, in the form above.
std::string SharedComponentId(const std::string& key);

}  // namespace tq
