// The writer of the FTP settings file "Updates2.dat".
#include <cstdint>
#include <vector>

#include "Classes.h"
#include "FtpData.h"

namespace tq {

namespace {

// The run-time library's generator, which the updater repeats to find the bytes.
class TRandom {
 public:
  explicit TRandom(uint32_t seed) : FSeed(seed) {}
  uint32_t Next(uint32_t range) {
    FSeed = FSeed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(FSeed) * range) >> 32);
  }

 private:
  uint32_t FSeed;
};

constexpr uint32_t kFillerSeed = 6047;
constexpr uint32_t kPositionSeed = 6048;

void CheckLength(const char* name, const std::string& value) {
  if (value.size() > static_cast<size_t>(FtpDataMaxFieldLength))
    throw EFtpDataError(Format("The FTP setting %s is too long: %d characters, at most %d fit "
                               "into Updates2.dat",
                               {name, static_cast<int64_t>(value.size()), FtpDataMaxFieldLength}));
}

}  // namespace

std::string FtpDataFileBytes(const TFtpData& Data, const std::string& ProductName) {
  const std::pair<const char*, const std::string*> fields[] = {
      {"HostIp", &Data.HostIp},       {"Port", &Data.Port},
      {"UserId", &Data.UserId},       {"Password", &Data.Password},
      {"Directory", &Data.Directory}, {"URL", &Data.URL}};
  // With every setting at most 255 characters, at most 6 * 256 of the block's
  // positions are taken, so a free position is always found.
  for (const auto& [name, value] : fields) CheckLength(name, *value);

  std::string block(FtpDataBlockSize, '\0');
  TRandom filler(kFillerSeed);
  for (char& c : block) c = static_cast<char>(filler.Next(256));

  TRandom positions(kPositionSeed);
  std::vector<bool> used(FtpDataBlockSize, false);
  auto place = [&](char byte) {
    uint32_t at;
    do at = positions.Next(FtpDataBlockSize);
    while (used[at]);
    used[at] = true;
    block[at] = byte;
  };
  for (const auto& [name, value] : fields) {
    place(static_cast<char>(value->size() % 256));
    for (char c : *value) place(c);
  }

  std::string bytes = block;
  const uint32_t n = static_cast<uint32_t>(ProductName.size());
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((n >> (8 * i)) & 0xFF);
  bytes += ProductName;
  return bytes;
}

bool WriteFtpDataFile(const TFtpData& Data, const std::string& ProjectFile,
                      const std::string& ProductName) {
  if (Data.HostIp.empty()) return false;
  const std::string bytes = FtpDataFileBytes(Data, ProductName);
  TFileStream file(ExtractFilePath(ProjectFile) + "Updates2.dat", fmCreate);
  file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return true;
}

}  // namespace tq
