#pragma once
// The option record the self-extractor finds right after its own program
// image: signature, option flags, record size and four length-prefixed texts.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tq::zipstub {

enum TSfxFlag : uint8_t {
  sfxAskCmdLine = 0x01,
  sfxAskFiles = 0x02,
  sfxHideOverwriteBox = 0x04,
  sfxOverwriteAlways = 0x08,
  sfxOverwriteNever = 0x10,
  sfxNoCheckSize = 0x20,
  sfxAutoRun = 0x40,
  sfxNoSuccessMessage = 0x80
};

struct TSfxOptions {
  uint8_t Flags = 0;
  uint16_t RecordSize = 0;   // bytes from the record's start to the archive
  std::string Caption;
  std::string DefaultDir;
  std::string CommandLine;
  std::string Message;
};

// Decodes the record at p (available bytes). Null when the signature, the
// size or a text length is wrong.
std::optional<TSfxOptions> DecodeSfxOptions(const uint8_t* p, size_t available);

}  // namespace tq::zipstub
