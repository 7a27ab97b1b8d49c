// The two ways the program ends: the common engine shutdown with exit code
// 0, and the single fatal path (a "FAILED" log line, a message box titled
// "Duskmatch::" + the language's error word, no settings saved).
#pragma once
#include <string>

// Stops every engine service in order: sound, packs, (with withFiles) the
// open files and the run's temporary folder, screen, sprites, input,
// windows, images, fonts. Once the display is lost the screen, the windows
// and the pointer are left alone.
void StopEngine(bool withFiles);

// Stops the engine with its files and ends the process with exit code 0.
// Never returns.
[[noreturn]] void ShutdownAndExit();

// Shows the fatal message box (and writes it to standard error): title
// "Duskmatch::" + Text("tErrorERROR"), the given text, OK only.
void ShowFatalMessage(const std::string& text);

// A resource that cannot be loaded: logs "Load asset (" + name + "):" with
// FAILED, closes the display, shows Text("tErrorASSET"), ends. Never returns.
[[noreturn]] void AssetFailure(const std::string& name);

// The display could not be opened: shows Text("tErrorSCREEN"), ends.
[[noreturn]] void ScreenFailure();

// An engine part that cannot start: shows Text("tErrorSUBSYSTEM") + "  : "
// + part ("Sprite", "Keyboard", "Mouse", "Sound"), ends.
[[noreturn]] void SubsystemFailure(const std::string& part);

// The display went away under the game (its connection was lost): from now
// on the engine shutdown leaves the screen, the windows and the pointer
// alone, since every call on them would wait for a server that is gone.
void MarkDisplayLost();

// Whether the fatal path has begun (its message is out): an end that comes
// on top of it saves no settings either.
bool EndingFatally();
