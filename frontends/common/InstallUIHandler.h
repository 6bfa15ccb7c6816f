#pragma once
// The external user-interface handler both front-ends give Windows Installer:
// registered once for every message type, called on the thread that runs the
// installation. Each message's text goes to the line log; errors and warnings
// are shown in message boxes; progress and action-data messages move the
// program's progress state, whose outputs go to the front-end's sink.
//
// Message types 0x0C and 0x0D (and any type above the common-data one) carry
// no usable text: only their type is logged. Nothing thrown while handling a
// message leaves the handler (it would cross the installer's call): it is
// logged and the message counts as not handled.
//
// The end of the installation is not taken from the message texts: the
// installer writes "Logging stopped" after a failure too. The front-end runs
// its end actions once the installation call has returned successfully.
#include <windows.h>

#include "InstallProgress.h"

namespace tq {

// Where the progress outputs go; nullptr: nowhere.
void SetProgressOutputs(TProgressOutputs* outputs);
// The program's progress state (one set, never reset between installations).
TProgressState& ProgramProgress();

// The handler's work for one message; returns the handler's result.
int HandleInstallMessage(UINT messageWord, const char* text);
int WINAPI InstallUIHandler(LPVOID context, UINT messageWord, LPCSTR text);
// MsiSetExternalUIA(InstallUIHandler, 0xFFFFFFFF, no context).
void RegisterInstallUIHandler();

}  // namespace tq
