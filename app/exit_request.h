// `karvoss.exe /exit`: a script or a package manager asks the Karvoss of this session to end the
// way the end of a session ends it, before it replaces or removes the program. The decisions of
// that request, without the system: what the command line asks for, which processes are
// Karvoss, and what to do while the asked copies are ending.
#pragma once

#include <string_view>

namespace kv {

// The switch's exit codes: no Karvoss runs any more (or none ran), or one still runs.
inline constexpr int kExitEnded = 0;
inline constexpr int kExitStillRunning = 1;

// Whether the arguments (the command line after the program's name, UTF-8) are the one switch
// "/exit" (or "-exit", any case, quoted or not). Anything else starts Karvoss as before.
bool IsExitRequest(std::string_view arguments);

// Whether a process image (a full path, '\' or '/' separated) is a karvoss.exe, in any folder:
// other programs may have windows of the bar's class.
bool IsKarvossImage(std::string_view imagePath);

// The schedule of ending: the copies get a few seconds to end as asked; one that has not ended
// by then is hung and is ended as the system ends a hung program at the end of a session;
// if even that has not worked by the deadline, the request fails.
inline constexpr int kAskedEndMs = 5000;
inline constexpr int kEndDeadlineMs = 10000;

enum class EndingStep {
  done,       // none runs any more
  wait,       // look again shortly
  terminate,  // end the ones still running now
  giveUp,     // the deadline has passed with one still running
};

// The next step, `elapsedMs` after the copies were asked to end, from whether any still runs
// and whether the ones still running were already terminated.
EndingStep NextEndingStep(int elapsedMs, bool anyRunning, bool terminated);

}  // namespace kv
