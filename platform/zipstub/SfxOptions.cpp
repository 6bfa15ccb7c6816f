#include "SfxOptions.h"

namespace tq::zipstub {

std::optional<TSfxOptions> DecodeSfxOptions(const uint8_t* p, size_t available) {
  if (available < 12 || p[0] != 0x4D || p[1] != 0x50 || p[2] != 0x56 || p[4] != 0 || p[5] != 1)
    return std::nullopt;
  TSfxOptions o;
  o.Flags = p[3];
  o.RecordSize = uint16_t(p[6] | (p[7] << 8));
  if (o.RecordSize < 12 || o.RecordSize % 4 != 0 || o.RecordSize > available) return std::nullopt;
  size_t pos = 8;
  std::string* texts[] = {&o.Caption, &o.DefaultDir, &o.CommandLine, &o.Message};
  for (std::string* t : texts) {
    if (pos >= o.RecordSize) return std::nullopt;
    size_t n = p[pos++];
    if (pos + n > o.RecordSize) return std::nullopt;
    t->assign(reinterpret_cast<const char*>(p + pos), n);
    pos += n;
  }
  return o;
}

}  // namespace tq::zipstub
