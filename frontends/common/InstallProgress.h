#pragma once
// The installer's progress messages and the progress state both front-ends
// keep while an installation runs.
//
// A progress message reads "1: 0 2: 238 3: 0 4: 1": field numbers, ": " and a
// value, fields separated by one blank (Wine adds a trailing blank). Field 1
// says what the message is:
//   0 reset        2: ticks of the run, 3: 0 forward / 1 backward, 4: 1 while
//                  the script runs
//   1 action info  2: ticks per action-data message, 3: 0 none / else use them
//   2 report       2: ticks done since the last report
// The parser reads only as far as the kind of message needs; a field that a
// message lacks keeps its previous value. A field that is empty, cut short (the
// text ends after "n: ") or
// not a 32-bit decimal number makes the whole message no progress report, and
// then nothing of it is kept.
//
// TProgressState::Step applies one message to the state and tells the
// front-end what to show through TProgressOutputs (Vantrel moves its page's
// bar, Sorvex sends a percentage).
#include <cstdint>
#include <string>

namespace tq {

class TProgressState;

class TProgressOutputs {
 public:
  virtual ~TProgressOutputs() = default;
  // A reset; oldScriptInProgress: g_bScriptInProgress before this message.
  virtual void ProgressReset(TProgressState& state, bool oldScriptInProgress) = 0;
  // A report of `ticks` done (iField[1]); only while a run has ticks.
  virtual void ProgressReport(TProgressState& state, int32_t ticks) = 0;
  // An action-data message while action data moves the progress.
  virtual void ProgressActionData(TProgressState& state) = 0;
};

class TProgressState {
 public:
  int32_t iField[4] = {0, 0, 0, 0};
  int32_t g_iProgressTotal = 0;
  bool g_bForwardProgress = false;
  int32_t g_iProgress = 0;
  bool g_bScriptInProgress = false;
  bool g_bActionData = false;
  int32_t g_iActionStep = 0;

  // True when the text is a progress message; the fields it holds are then in
  // iField.
  bool ParseProgressString(const std::string& text);
  // A progress message (type 0x0A).
  void ProgressStep(const std::string& text, TProgressOutputs& out);
  // An action-data message (type 0x09).
  void ActionDataStep(TProgressOutputs& out);

 private:
  // The decimal field at pos, up to the next blank or the end; false when it
  // is no 32-bit decimal number. pos is left at the blank or the end.
  static bool ParseProgressField(const std::string& text, size_t& pos, int32_t& value);
};

}  // namespace tq
