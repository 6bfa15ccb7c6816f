// What the cabinet writer and reader share: the file handler and the checking
// of the library's results.
#include "Cabinet.h"

namespace tq {

namespace {
constexpr int kErrorInvalidHandle = 6;  // the platform's ERROR_INVALID_HANDLE
}

const TPropertyTable& TCabinetInterface::ClassProperties() {
  static const TPropertyTable table =
      TPropertyBuilder<TCabinetInterface>("TCabinetInterface", TComponent::ClassProperties()).Build();
  return table;
}

TCabinetInterface::TCabinetInterface(TComponent* AOwner)
    : TComponent(AOwner) {}

void TCabinetInterface::SetFileHandler(TCabinetFileHandler* Value) {
  FFileHandler = Value;
  if (Value) Value->FreeNotification(this);
}

void TCabinetInterface::Notification(TComponent* AComponent,
                                     TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFileHandler) FFileHandler = nullptr;
}

TCabinetFileHandler& TCabinetInterface::Handler() {
  if (!FFileHandler) RaiseApiError(kErrorInvalidHandle);
  return *FFileHandler;
}

void TCabinetInterface::CheckCabinetResult(bool Ok) {
  if (FPending) {
    std::exception_ptr pending = FPending;
    FPending = nullptr;
    std::rethrow_exception(pending);
  }
  // A failure is raised even when the library left its error flag clear: the
  // caller must not go on as if the call had worked.
  if (!Ok) throw ECabinetError(FErrorInfo.erfOper, FErrorInfo.erfType);
}

}  // namespace tq
