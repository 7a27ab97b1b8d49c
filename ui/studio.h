// Who makes the game, as the player sees it: the window title names the
// studio's web address, and the credits show it.
#pragma once

// The studio's web address.
inline constexpr const char* kStudioWebAddress = "www.owlreach.example";
