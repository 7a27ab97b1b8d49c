// Opening the display: the screen size from the settings and the desktop,
// the three window modes (full screen, windowed, borderless), the custom
// pointer of the windowed modes, the windows' icon and the dimming sprite.
// The screen size and the board geometry are kept in game/geometry.h.
#pragma once
#include <string>

// Window 0 carries the screen in the windowed and borderless modes.
constexpr int kGameWindow = 0;
// The pointer file of the windowed modes, beside the program.
constexpr const char* kCursorPackName = "DuskmatchCursor.pack";
// The version of the pointer module, shown in the log's list of modules.
constexpr const char* kCursorModuleVersion = "0.1";
// "Duskmatch 1.0 - Vornhollow Interactive (" + web address + ")".
std::string WindowTitle();

extern int Screen;        // 1 while a screen is open, 0 otherwise
extern int CursorHandle;  // the custom pointer of the windowed modes, 0 if none

// The two numbers of a "WIDTHxHEIGHT" text, each read as a decimal integer
// (blanks skipped, stops at the first non-digit, 0 when none).
void SplitScreenMode(const std::string& mode, int* width, int* height);

// ScreenWidth and ScreenHeight: desktop 0, or ScreenMode when windowed.
void ChooseScreenSize();

// The window sizes a windowed screen may have. A window narrower or lower
// than a pixel has nothing to draw on; one wider or taller than the
// renderer's largest texture (largestSide, 0 when unknown; never above
// kMaxWindowSide) cannot hold its screen-sized pictures; one of more than
// kMaxWindowPixels, or whose screen-sized pictures (kScreenBytesPerPixel in
// all) would take more than a quarter of the memory (memoryBytes, 0 when
// unknown), is larger than any display shows. Such a window is not opened.
constexpr int kMaxWindowSide = 16384;
constexpr long long kMaxWindowPixels = 7680LL * 4320;  // 8K UHD
constexpr long long kScreenBytesPerPixel = 64;
bool WindowSizeFits(int width, int height, int largestSide, long long memoryBytes);
// Opens the screen for the current GameScreen with its log lines; Screen
// stays 0 when it fails or GameScreen is unknown. A windowed size that
// WindowSizeFits refuses fails without opening anything.
void OpenDisplay();
// Closes the screen, and window 0 when gameScreen is windowed or borderless.
void CloseDisplay(int gameScreen);
// Sprite 4: black, screen-sized, kept opaque (its transparent colour white).
void MakeDimSprite();
// After the pictures and texts: dimming sprite, 60 frames per second,
// bilinear filtering, and for a window: shown, activated, custom pointer.
void FinishDisplay();

// The game's icon for its windows: the data pack's "icon.png", read at the
// first display open; an image handle, 0 until then or when it cannot be read.
extern int WindowIcon;
// After each display open: gives the open windows the icon (read first if
// need be). Without it they keep the system's icon; that is no failure and
// has no log line. Non-zero when the windows carry it.
int GiveWindowsTheIcon();

// Back to the start-up state (tests).
void ResetDisplay();
