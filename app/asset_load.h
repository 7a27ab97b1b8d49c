// The data pack's pictures and music loaded for the program: a log line for
// every entry, and the fatal end for one that cannot be had.
#pragma once

// Loads every picture from GameDir + "DuskmatchData.pack", logging each; a
// missing or damaged one ends the program through AssetFailure. Runs after
// every opening of the display.
void LoadGameAssets();
// Loads "music.ogg" as sound 0 (start-up, before the display opens), logging
// it; when it cannot be had the program ends through AssetFailure.
void LoadMusic();
