#include "toolkit/foreground.h"

namespace kv {

ForegroundStep NextForegroundStep(ForegroundStep tried, const ForegroundReport& report) {
  if (report.inForeground)
    return ForegroundStep::done;
  switch (tried) {
    case ForegroundStep::none:
      return ForegroundStep::plainRequest;
    case ForegroundStep::plainRequest:
      return report.joinable ? ForegroundStep::joinInput : ForegroundStep::altRelease;
    case ForegroundStep::joinInput:
      return ForegroundStep::altRelease;
    default:
      return ForegroundStep::giveUp;
  }
}

}  // namespace kv
