// `karvoss.exe /exit` on Windows: ends the Karvoss of this session the way the end of a session
// ends it.
#pragma once

namespace kv {

// Sends every running Karvoss of this session (a top-level bar window whose process image is a
// karvoss.exe) WM_QUERYENDSESSION and WM_ENDSESSION, waits for it to end, ends a hung one, and
// gives the exit code (kExitEnded, kExitStillRunning). Makes no window and touches no file.
int EndRunningKarvoss();

}  // namespace kv
