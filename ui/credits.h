// The credits screen, drawn over the board; its OK returns to the menu.
#pragma once

void DrawCreditsScreen();
void CreditsClick(int x, int y, bool fullScreen);
