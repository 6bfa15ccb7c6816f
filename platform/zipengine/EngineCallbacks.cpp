#include "EngineCallbacks.h"

#include <cstring>

namespace tq::zipeng {

TZipCallbackData TEngineCallbacks::MakeData(int32_t action, int32_t code, intptr_t size,
                                            const std::string& text) const {
  TZipCallbackData d;
  std::memset(&d, 0, sizeof d);
  d.Handle = FParms.Handle;
  d.Caller = FParms.Caller;
  d.Version = kEngineVersion;
  d.IsOperationZip = 1;
  d.ActionCode = action;
  d.ErrorCode = code;
  d.FileSize = size;
  size_t n = text.size() < sizeof d.Message - 1 ? text.size() : sizeof d.Message - 1;
  std::memcpy(d.Message, text.data(), n);
  return d;
}

bool TEngineCallbacks::Call(TZipCallbackData& data) {
  if (FCancelled) return false;
  if (FParms.Callback && FParms.Callback(&data) != 0) FCancelled = true;
  data.Message[sizeof data.Message - 1] = 0;
  return !FCancelled;
}

static intptr_t Clip(uint64_t v) {
  constexpr uint64_t kMax = uint64_t(INTPTR_MAX);
  return intptr_t(v > kMax ? kMax : v);
}

bool TEngineCallbacks::NewFile(const std::string& name, uint64_t size) {
  auto d = MakeData(zaNewFile, 0, Clip(size), name);
  return Call(d);
}
bool TEngineCallbacks::Progress(uint64_t bytes) {
  auto d = MakeData(zaProgress, 0, Clip(bytes), "");
  return Call(d);
}
bool TEngineCallbacks::EndOfBatch() {
  // Sent even after a stop request: the caller's progress display ends with it.
  bool wasCancelled = FCancelled;
  FCancelled = false;
  auto d = MakeData(zaEndOfBatch, 0, 0, "");
  bool go = Call(d);
  FCancelled = FCancelled || wasCancelled;
  return go && !FCancelled;
}
bool TEngineCallbacks::TotalFiles(uint64_t count) {
  auto d = MakeData(zaTotalFiles, 0, Clip(count), "");
  return Call(d);
}
bool TEngineCallbacks::TotalSize(uint64_t bytes) {
  auto d = MakeData(zaTotalSize, 0, Clip(bytes), "");
  return Call(d);
}
bool TEngineCallbacks::Message(int32_t code, const std::string& text) {
  auto d = MakeData(zaMessage, code, 0, text);
  return Call(d);
}

void TEngineCallbacks::Fail(const EEngineFailure& failure) {
  // Reported even after a stop request: the caller learns why nothing was written.
  bool wasCancelled = FCancelled;
  FCancelled = false;
  Message(failure.Code, failure.Text);
  FCancelled = FCancelled || wasCancelled;
  if (FParms.Handle && failure.Code != zeCancelled)
    MessageBoxA(static_cast<HWND>(FParms.Handle), failure.Text.c_str(), "Zip engine",
                MB_OK | MB_ICONERROR);
}

void TEngineCallbacks::CheckCancel() const {
  if (FCancelled) throw EEngineFailure{zeCancelled, "Operation cancelled"};
}

std::optional<std::string> TEngineCallbacks::AskNewName(const std::string& name) {
  auto d = MakeData(zaNewName, 0, 0, name);
  if (!Call(d) || d.ErrorCode != 1) return std::nullopt;
  return std::string(d.Message);
}

std::optional<std::string> TEngineCallbacks::AskFileComment(const std::string& name) {
  auto d = MakeData(zaFileComment, 0, 0, name);
  if (!Call(d) || d.ErrorCode != 1) return std::nullopt;
  return std::string(d.Message);
}

std::optional<std::string> TEngineCallbacks::AskPassword(const std::string& forName) {
  auto d = MakeData(zaPassword, 0, 0, forName);
  if (!Call(d)) return std::nullopt;
  // The caller cancels every further question by clearing the action code.
  if (d.ActionCode == 0) {
    FCancelled = true;
    return std::nullopt;
  }
  if (d.ErrorCode != 1 || d.Message[0] == 0) return std::nullopt;
  return std::string(d.Message);
}

}  // namespace tq::zipeng
