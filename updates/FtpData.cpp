// The project's FTP settings (see FtpData.h).
#include "FtpData.h"

namespace tq {

const TPropertyTable& TFtpData::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TFtpData>("TFtpData", TComponent::ClassProperties())
          .String("HostIp", &TFtpData::HostIp)
          .String("Port", &TFtpData::Port)
          .String("UserId", &TFtpData::UserId)
          .String("Password", &TFtpData::Password)
          .String("Directory", &TFtpData::Directory)
          .String("URL", &TFtpData::URL)
          .Build();
  return table;
}

}  // namespace tq
