// The text sprites: every caption, question, label and list of the menu
// screens rendered once into a sprite (at start-up, after a language change,
// after a display reopen), and the control records beside them.
#pragma once

// Colours (red + green * 256 + blue * 65536 + alpha * 16777216).
constexpr unsigned kPanelColour = 241u + 172u * 256u + 71u * 65536u;
constexpr unsigned kTextColour = 224u + 80u * 256u + 40u * 65536u + 255u * 16777216u;
constexpr unsigned kDimTextColour = 224u + 80u * 256u + 40u * 65536u + 179u * 16777216u;

// The pass: full = 1 makes every text sprite; 0 (after a language change)
// stops after the cancel caption, leaving the list strips 32 to 34.
void RenderTextSprites(int full);
// Shows row `row` of a strip sprite (the 280 x 30 window at y = 30 * row).
void CutStrip(int sprite, int row);
