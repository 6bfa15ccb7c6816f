#pragma once
// Which member names the self-extractor writes: relative paths that stay
// inside the target folder, turned into Windows form.
#include <optional>
#include <string>

namespace tq::zipstub {

// The member name as a relative Windows path ("\" between folders; a folder
// member keeps a trailing "\"), or null for a name that is absolute, names a
// drive or stream, climbs out with "..", holds characters Windows forbids,
// or names a device.
std::optional<std::wstring> SafeMemberPath(const std::wstring& name);

}  // namespace tq::zipstub
