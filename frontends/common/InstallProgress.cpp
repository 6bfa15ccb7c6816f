#include "InstallProgress.h"

#include <charconv>
#include <cstdint>

namespace tq {

bool TProgressState::ParseProgressField(const std::string& text, size_t& pos, int32_t& value) {
  size_t end = text.find(' ', pos);
  if (end == std::string::npos) end = text.size();
  const char* first = text.data() + pos;
  const char* last = text.data() + end;
  pos = end;
  if (first == last) return false;
  auto [ptr, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && ptr == last;
}

bool TProgressState::ParseProgressString(const std::string& text) {
  if (text.empty()) return false;
  int32_t field[4] = {iField[0], iField[1], iField[2], iField[3]};
  auto commit = [&] {
    for (int i = 0; i < 4; ++i) iField[i] = field[i];
    return true;
  };
  const size_t size = text.size();
  size_t pos = 0;
  for (;;) {
    if (pos >= size) return commit();
    const char c = text[pos];
    pos += 3;  // over "c: "
    if (pos >= size) return false;  // the field itself is missing
    switch (c) {
      case '1':
        if (text[pos] < '0' || text[pos] > '9') return false;
        field[0] = text[pos] - '0';
        pos += 2;
        break;
      case '2':
        if (!ParseProgressField(text, pos, field[1])) return false;
        if (field[0] == 2 || field[0] == 3) return commit();
        pos += 1;
        break;
      case '3':
        if (!ParseProgressField(text, pos, field[2])) return false;
        if (field[0] == 1) return commit();
        pos += 1;
        break;
      case '4':
        if (!ParseProgressField(text, pos, field[3])) return false;
        return commit();
      case '5':
        pos += 1;
        break;
      default:
        return false;
    }
  }
}

void TProgressState::ProgressStep(const std::string& text, TProgressOutputs& out) {
  if (!ParseProgressString(text)) return;
  switch (iField[0]) {
    case 0: {
      g_iProgressTotal = iField[1];
      g_bForwardProgress = iField[2] == 0;
      g_iProgress = g_bForwardProgress ? 0 : g_iProgressTotal;
      const bool oldScript = g_bScriptInProgress;
      out.ProgressReset(*this, oldScript);
      g_bScriptInProgress = iField[3] == 1;
      break;
    }
    case 1:
      if (iField[2] != 0) {
        g_iActionStep = g_bForwardProgress ? iField[1] : iField[1] == INT32_MIN ? INT32_MAX : -iField[1];
        g_bActionData = true;
      } else {
        g_bActionData = false;
      }
      break;
    case 2:
      if (g_iProgressTotal != 0) out.ProgressReport(*this, iField[1]);
      break;
    default:
      break;
  }
}

void TProgressState::ActionDataStep(TProgressOutputs& out) {
  if (g_iProgressTotal != 0 && g_bActionData) out.ProgressActionData(*this);
}

}  // namespace tq
