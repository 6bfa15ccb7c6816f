#pragma once
// The engine's side of the callback contract: progress, messages and the
// questions it asks its caller, each through one callback record.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ZipEngRecords.h"

namespace tq::zipeng {

// A failure that ends the operation: reported once, the old archive kept.
struct EEngineFailure {
  int32_t Code;
  std::string Text;
};

class TEngineCallbacks {
 public:
  explicit TEngineCallbacks(const TZipParms& parms) : FParms(parms) {}

  // Each returns false once the caller has asked the engine to stop.
  bool NewFile(const std::string& name, uint64_t size);
  bool Progress(uint64_t bytes);
  bool EndOfBatch();
  bool TotalFiles(uint64_t count);
  bool TotalSize(uint64_t bytes);
  // A message; a non-zero code marks an error or warning.
  bool Message(int32_t code, const std::string& text);
  // Reports a fatal failure; the engine's own box when there is an owner window.
  void Fail(const EEngineFailure& failure);
  bool Verbose() const { return FParms.Verbose != 0 || FParms.Trace != 0; }
  bool Trace() const { return FParms.Trace != 0; }

  // Questions: the answer text when the caller answered (answer flag 1).
  std::optional<std::string> AskNewName(const std::string& name);
  std::optional<std::string> AskFileComment(const std::string& name);
  std::optional<std::string> AskPassword(const std::string& forName);

  bool Cancelled() const { return FCancelled; }
  // Raises zeCancelled when the caller has asked the engine to stop.
  void CheckCancel() const;

 private:
  bool Call(TZipCallbackData& data);
  TZipCallbackData MakeData(int32_t action, int32_t code, intptr_t size, const std::string& text) const;

  const TZipParms& FParms;
  bool FCancelled = false;
};

}  // namespace tq::zipeng
