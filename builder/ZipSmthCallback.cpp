// What the component does with each callback of the engine: progress and
// messages go to its events, questions are answered from its events or
// prompts.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "Prompts.h"
#include "ZipEngRecords.h"
#include "ZipSmth.h"

namespace tq {
namespace {

void PutText(zipeng::TZipCallbackData& d, const std::string& s, size_t max) {
  size_t n = std::min(s.size(), max);
  std::memcpy(d.Message, s.data(), n);
  d.Message[n] = 0;
}

}  // namespace

std::string TZipSmith::ConvertDllText(const std::string& text) const {
  std::string t = Trim(text);
  if (CodePage != cpOEM || t.empty()) return t;
  std::string out(t.size(), '\0');
  OemToCharBuffA(t.c_str(), out.data(), DWORD(t.size()));
  return out;
}

int32_t TZipSmith::ZipCallback(zipeng::TZipCallbackData& d) {
  using namespace zipeng;
  d.Message[sizeof d.Message - 1] = 0;
  std::string text = ConvertDllText(d.Message);
  int size = int(d.FileSize);
  switch (d.ActionCode) {
    case zaNewFile:
      if (OnProgress) OnProgress(this, NewFile, text, size);
      break;
    case zaProgress:
      if (OnProgress) OnProgress(this, ProgressUpdate, "", size);
      break;
    case zaEndOfBatch:
      if (OnProgress) OnProgress(this, EndOfBatch, "", 0);
      break;
    case zaMessage:
      FMessage = text;
      if (d.ErrorCode != 0) FDllErrCode = d.ErrorCode;
      if (OnMessage) OnMessage(this, d.ErrorCode, text);
      break;
    case zaTotalFiles:
      if (OnProgress) OnProgress(this, TotalFiles2Process, "", size);
      break;
    case zaTotalSize:
      FTotalSizeToProcess = d.FileSize;
      if (OnProgress) OnProgress(this, TotalSize2Process, "", size);
      break;
    case zaNewName: {
      bool changed = false;
      std::string name = text;
      if (OnSetNewName) OnSetNewName(this, name, changed);
      if (changed) PutText(d, name, sizeof d.Message - 1);
      d.ErrorCode = changed ? 1 : 0;
      break;
    }
    case zaPassword: {
      std::string password;
      uint32_t repeat = uint32_t(FPasswordReqCount);
      TPasswordButton button = pwbOk;
      if (OnPasswordError) {
        OnPasswordError(this, d.IsOperationZip != 0, password, text, repeat, button);
      } else if (d.IsOperationZip) {
        password = GetAddPassword();
      } else {
        int result = mrOk;
        password = GetExtrPassword(result);
        if (result == mrNoToAll) button = pwbCancelAll;
        if (result == mrAbort) button = pwbAbort;
      }
      if (!password.empty()) {
        PutText(d, password, 80);
        d.ErrorCode = 1;
      } else {
        d.Message[0] = 0;
        d.ErrorCode = 0;
      }
      d.FileSize = intptr_t(std::min<uint32_t>(repeat, 15));
      if (button == pwbCancelAll) d.ActionCode = 0;
      if (button == pwbAbort) FCancel = true;
      break;
    }
    case zaCRCError: {
      bool extract = false;
      if (OnCRC32Error) {
        OnCRC32Error(this, text, uint32_t(d.FileSize), uint32_t(d.ErrorCode), extract);
        d.ErrorCode = extract ? 1 : 0;
      } else {
        d.ErrorCode = 2;
      }
      break;
    }
    case zaFileComment: {
      std::string comment;
      bool changed = false;
      if (OnFileComment) OnFileComment(this, text, comment, changed);
      if (changed) PutText(d, comment, 511);
      d.ErrorCode = changed ? 1 : 0;
      break;
    }
    default:  // extraction and stream questions: not asked by an add
      break;
  }
  ProcessMessages();
  return FCancel ? -1 : 0;
}

}  // namespace tq
