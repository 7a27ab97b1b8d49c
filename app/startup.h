// The program from its first step to the main loop, and the orderly end.
#pragma once
#include <string>
#include <vector>

extern int ScreenReopened;  // 1 right after the settings reopened the display

// The four engine parts the game cannot run without, started in this order
// at start-up. Each returns non-zero when the part is there. Tests replace
// them to follow the fatal path.
struct SubsystemStarts {
  int (*sprite)();
  int (*keyboard)();
  int (*mouse)();
  int (*sound)();
};
extern SubsystemStarts Subsystems;
// The pad service, started by the main loop once the first frame is shown.
// The game can do without it: when it fails, play goes on without pads and
// nothing is logged. Tests replace it.
extern int (*PadStart)();

// Start-up up to the main loop (every step but running the loop). params
// are the command-line parameters after the program name; programFolder the
// folder of the program file, ending in "/". Fatal failures end the process.
void StartUp(const std::vector<std::string>& params, const std::string& programFolder);
// Opens the display for the current GameScreen at ScreenWidth x ScreenHeight
// with everything it shows: the pictures, the text sprites, then the dimming
// sprite, the frame rate and, for a window, the pointer. A display that does
// not open ends the program (ScreenFailure). Start-up and the settings
// screen's reopen both go through it.
void OpenGameDisplay();
// After the main loop: settings saved, music faded and stopped, engine shut
// down, exit code 0. Never returns.
[[noreturn]] void OrderlyEnd();
// The display went away under the game: says so on standard error, then
// ends in order without the screen (settings saved, exit code 0), or, on
// the fatal path, without saving. Never returns.
[[noreturn]] void DisplayLost();
// Everything: start-up, main loop, orderly end.
[[noreturn]] void RunProgram(const std::vector<std::string>& params,
                             const std::string& programFolder);

// Every variable of the program back to its start-up value (tests).
void ResetProgram();
