// The numbers of the game's fixed sprites and images, all in one table: the
// pictures of the data pack, the text sprites of the menus and the scratch
// images of the screen fitting.
#pragma once

// The pictures of the data pack and the screenshot.
constexpr int kPointerSprite = 0;
constexpr int kShadowSprite = 1;
constexpr int kScreenshotSprite = 3;
// The black screen-sized sprite that dims the board under the menus.
constexpr int kDimSprite = 4;
constexpr int kPanelSprite = 5;
constexpr int kPanelShadowSprite = 6;
constexpr int kWellDoneSprite = 7;
constexpr int kWellDoneShadowSprite = 8;
constexpr int kGradientSprite = 9;
constexpr int kTitleSprite = 10;
constexpr int kLogoSprite = 11;

// The texts of the menus, rendered by the text-sprite pass.
constexpr int kStartText = 12;
constexpr int kContinueText = 13;
constexpr int kContinueDimText = 14;
constexpr int kSettingsText = 15;
constexpr int kCreditsText = 16;
constexpr int kQuitText = 17;
constexpr int kCreditsBlock = 18;
constexpr int kSettingsBlock = 19;
constexpr int kOkText = 20;
constexpr int kCancelText = 21;
constexpr int kYesText = 22;
constexpr int kNoText = 23;
constexpr int kQuitQuestionText = 24;
constexpr int kStartQuestionText = 25;

// The settings screen's arrows and box. The active arrows are images, drawn
// into the settings labels block; the others are sprites.
constexpr int kLeftArrowImage = 26;
constexpr int kLeftArrowOffSprite = 27;
constexpr int kRightArrowImage = 28;
constexpr int kRightArrowOffSprite = 29;
constexpr int kBoxSprite = 30;
constexpr int kTickedBoxSprite = 31;

// The list strips of the settings screen, one row per entry.
constexpr int kLanguageStrip = 32;
constexpr int kScreenModeStrip = 33;
constexpr int kScreenModeDimStrip = 34;
constexpr int kGameScreenStrip = 35;

// Image numbers that stay free: a picture fitted to the screen is decoded
// straight into its sprite, with no scratch image left behind.
constexpr int kFitSourceImage = 0;
constexpr int kFitResultImage = 1;
