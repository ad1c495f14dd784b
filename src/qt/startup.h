// What the Linux program does before it has a window: find out whether a
// display can be opened at all, and end with exit code 255 and a message,
// never an abort, when Qt gives up on its platform.
#pragma once

namespace valdremo::qt {

constexpr int kStartFailedExitCode = 255;  // the -1 of a failed start

// Null when Qt can be expected to reach a display (or was told which
// platform to use); else why not, to show the user.
const char* MissingDisplay(int argc, char** argv);

// Turns Qt's fatal messages (the platform plugin that cannot connect to
// its display is the usual one) into a clear line on stderr and exit code
// 255, without a core dump. Other messages go where they went before.
void InstallFatalMessageGuard();
// Called once the application object exists: a fatal message from then on
// no longer means that no display could be opened.
void MarkPlatformReady();

}  // namespace valdremo::qt
