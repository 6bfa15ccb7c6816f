#include "InstallUIHandler.h"

#include <msi.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "LineLog.h"
#include "Prompts.h"

namespace tq {

namespace {

std::atomic<TProgressOutputs*> gOutputs{nullptr};

// Progress outputs that show nothing.
class TNoOutputs : public TProgressOutputs {
 public:
  void ProgressReset(TProgressState&, bool) override {}
  void ProgressReport(TProgressState&, int32_t) override {}
  void ProgressActionData(TProgressState&) override {}
};

TProgressOutputs& Outputs() {
  static TNoOutputs none;
  TProgressOutputs* o = gOutputs.load();
  return o ? *o : none;
}

std::string TypeText(unsigned type) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "[installer message type 0x%02X]", type);
  return buf;
}

int HandleTyped(unsigned type, unsigned flags, const std::string& text) {
  switch (type) {
    case 0x00: return 0;  // fatal exit
    case 0x01:            // error
      MessageBeep(flags & 0xF0);
      return MessageBox(text, "Error", int(flags));
    case 0x02:  // warning
      MessageBox(text, "Warning", int(flags));
      return 1;
    case 0x03: case 0x04: return 1;  // user, info
    case 0x05: case 0x06: return 0;  // files in use, resolve source
    case 0x07: case 0x08: return 1;  // out of disk space, action start
    case 0x09:                       // action data
      ProgramProgress().ActionDataStep(Outputs());
      return 1;
    case 0x0A:  // progress
      ProgramProgress().ProgressStep(text, Outputs());
      return 1;
    case 0x0B: return 1;  // common data
    default: return 0;
  }
}

}  // namespace

void SetProgressOutputs(TProgressOutputs* outputs) { gOutputs.store(outputs); }

TProgressState& ProgramProgress() {
  static TProgressState state;
  return state;
}

int HandleInstallMessage(UINT messageWord, const char* text) {
  const unsigned type = (messageWord & 0xFF000000u) >> 24;
  const unsigned flags = messageWord & 0x00FFFFFFu;
  try {
    if (type > 0x0B) {
      WriteLog(TypeText(type));
      return 0;
    }
    const std::string message = text ? text : "";
    WriteLog(message);
    return HandleTyped(type, flags, message);
  } catch (const std::exception& e) {
    try {
      WriteLog("Installer message handler: " + std::string(e.what()));
    } catch (...) {
    }
  } catch (...) {
    try {
      WriteLog("Installer message handler: unknown failure");
    } catch (...) {
    }
  }
  return 0;
}

int WINAPI InstallUIHandler(LPVOID, UINT messageWord, LPCSTR text) { return HandleInstallMessage(messageWord, text); }

void RegisterInstallUIHandler() { MsiSetExternalUIA(InstallUIHandler, 0xFFFFFFFF, nullptr); }

}  // namespace tq
