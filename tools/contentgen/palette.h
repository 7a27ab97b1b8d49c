// The colours every picture of the game is drawn from: twilight blues and
// violets, lantern amber, and the menu panel's colours that the text sprites
// are drawn on.
#pragma once

#include "tools/contentgen/canvas.h"

namespace palette {

// The menu panel and the texts on it; the text sprites fill their
// backgrounds with exactly this panel colour, so the panel must match it.
const Rgb kPanel = hex(0xf1ac47);
const Rgb kText = hex(0xe05028);
const Rgb kPanelDeep = hex(0xc97a2e);
const Rgb kPanelLight = hex(0xf8c872);

const Rgb kNight = hex(0x14112a);
const Rgb kIndigo = hex(0x231d48);
const Rgb kViolet = hex(0x3b2d63);
const Rgb kMauve = hex(0x7a4a78);
const Rgb kRose = hex(0xc9776a);
const Rgb kAmber = hex(0xf1ac47);
const Rgb kLantern = hex(0xf6b950);
const Rgb kEmber = hex(0xe05028);
const Rgb kCream = hex(0xfff1d6);
const Rgb kStar = hex(0xfff6e0);
const Rgb kLavender = hex(0xc9b8e8);

}  // namespace palette
