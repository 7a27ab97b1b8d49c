// Start-up in its fixed order, the orderly end after the main loop, and the
// reset of every part of the program that the tests start from.
#include "app/startup.h"

#include <cstdio>

#include "app/asset_load.h"
#include "app/display.h"
#include "app/fatal.h"
#include "app/folders.h"
#include "app/log.h"
#include "app/main_loop.h"
#include "app/navigation.h"
#include "app/settings_file.h"
#include "engine/image/image.h"
#include "engine/input/input.h"
#include "engine/pack/pack.h"
#include "engine/screen/screen.h"
#include "engine/sound/sound.h"
#include "engine/system/file.h"
#include "engine/system/system.h"
#include "engine/text/text.h"
#include "game/assets.h"
#include "game/board.h"
#include "game/geometry.h"
#include "game/screen_state.h"
#include "ui/controls.h"
#include "ui/focus.h"
#include "ui/languages.h"
#include "ui/menu.h"
#include "ui/screen_modes.h"
#include "ui/settings.h"
#include "ui/text_keys.h"
#include "ui/text_sprites.h"

int ScreenReopened = 0;

namespace {

constexpr SubsystemStarts kDefaultSubsystems = {sprite_system_start, keyboard_start, mouse_start,
                                                sound_system_start};

constexpr const char* kFontFace = "Arial Black";

// Every variable of the game at its start value, set once the engine
// services are up and again by ResetProgram.
void ResetGameState() {
  QuitRequested = 0;
  ScreenReopened = 0;
  ResetScreenState();
  ResetSettings();
  ResetFolders();
  ResetBoard();
  ResetBoardGeometry();
  ResetDisplay();
  ResetControls();
  ResetFocus();
  ResetNavigation();
}

// The fonts of the text sprites, in the order 0, 1, 3, 2. A font that
// cannot be made leaves its texts empty; it does not stop the game.
void LoadFonts() {
  for (int number : {0, 1, 3, 2}) {
    const TextFontSpec& spec = kTextFonts[static_cast<size_t>(number)];
    int flags = kFontHighQuality | (spec.bold ? kFontBold : 0);
    (void)font_load(number, kFontFace, spec.points, flags);
  }
}

// Lists the languages beside the program, logs them, and loads the current
// one (falling back to the default when it has no file).
void StartLanguage() {
  const std::string pack = GameDir + kLanguagePackName;
  EnumerateLanguages(pack);
  std::vector<std::string> names;
  bool known = false;
  for (const LanguageEntry* entry : CatalogueEntries()) {
    names.push_back(entry->name);
    if (entry->code == Language) known = true;
  }
  WriteAvailableLanguages(names);
  WriteLogSection("[STARTING GAME]");
  if (!known) Language = kDefaultLanguage;
  LogLoadLanguage(Language, LoadLanguage(pack, Language) != 0);
  LanguageIndex = LanguageIndexOf(Language);
}

// The four engine parts the game cannot do without; the first one missing
// ends the program.
void StartSubsystems() {
  const struct {
    int (*start)();
    const char* label;
    const char* part;
  } steps[] = {
      {Subsystems.sprite, "InitSprite:", "Sprite"},
      {Subsystems.keyboard, "InitKeyboard:", "Keyboard"},
      {Subsystems.mouse, "InitMouse:", "Mouse"},
      {Subsystems.sound, "InitSound:", "Sound"},
  };
  for (const auto& step : steps) {
    bool ok = step.start != nullptr && step.start() != 0;
    WriteLogResult(step.label, ok);
    if (!ok) SubsystemFailure(step.part);
  }
}

}  // namespace

SubsystemStarts Subsystems = kDefaultSubsystems;
int (*PadStart)() = gamepad_start;

void DisplayLost() {
  // Standard error is all that is left to tell the player by.
  std::fputs("Duskmatch: the connection to the display was lost", stderr);
  MarkDisplayLost();
  if (EndingFatally()) {
    std::fputs(".\n", stderr);
    ShutdownAndExit();
  }
  std::fputs("; the settings are saved and the game ends.\n", stderr);
  std::fflush(stderr);
  OrderlyEnd();
}

void StartUp(const std::vector<std::string>& params, const std::string& programFolder) {
  // The ends nobody chose in the game still end it in order, and what
  // earlier runs ended otherwise (killed, crashed) left behind goes.
  screen_hangup_ends_in_order();
  screen_on_display_lost(DisplayLost);
  file_remove_stale_temp_folders();
  // Engine services. The video system is started here already (its start
  // is repeated, and judged, with the other subsystems below) so that the
  // log can count the monitors.
  pack_register_formats();
  image_codecs_start();
  (void)sprite_system_start();

  ResetGameState();
  LoadFonts();

  // Folders and settings: beside the program, else in the user folder, where
  // a first run guesses the player's language.
  if (!LocateSettings(programFolder)) {
    if (Language.empty()) Language = DetectSystemLanguage();
    if (Language.empty()) Language = kDefaultLanguage;
  }

  StartLog(params, monitor_count(), LanguageModuleVersion(), kCursorModuleVersion);
  WriteInitialSettings();
  StartLanguage();
  StartSubsystems();

  BuildScreenModeList();
  desktops_examine();
  LogDesktopSize(desktop_width(0), desktop_height(0));
  ChooseScreenSize();
  ComputeBoardGeometry(ScreenWidth, ScreenHeight);
  PrepareStartBoard();

  LoadMusic();
  OpenGameDisplay();
  if (Music != 0) sound_play(kMusicSound, kSoundLoop);
}

void OpenGameDisplay() {
  OpenDisplay();
  if (Screen == 0) ScreenFailure();
  LoadGameAssets();
  RenderTextSprites(1);
  FinishDisplay();
}

void OrderlyEnd() {
  (void)SaveSettings(SaveTo);
  // The music fades out over about a third of a second instead of breaking
  // off: the engine's own fade sets the volumes without waiting between them.
  if (sound_status(kMusicSound) == kSoundPlaying) {
    for (int volume = 100; volume >= 10; volume -= 10) {
      sound_volume(kMusicSound, volume);
      system_sleep(30);
    }
    sound_stop(kMusicSound);
  }
  ShutdownAndExit();
}

void RunProgram(const std::vector<std::string>& params, const std::string& programFolder) {
  StartUp(params, programFolder);
  RunMainLoop();
  OrderlyEnd();
}

void ResetProgram() {
  // The game's own state first: the language catalogue frees its flag
  // pictures and the log closes its file while the engine still knows them.
  ResetLanguages();
  ResetLog();
  ResetGameState();
  Subsystems = kDefaultSubsystems;
  PadStart = gamepad_start;
  StopEngine(false);
}
