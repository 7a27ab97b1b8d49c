// Private to engine/screen: finding out, once per start of the video
// system, whether the accelerated renderer runs on a graphics processor.
// Kept apart from the SDL state so that the X11 back end can include it.
#pragma once

// Starts finding out, before the video system starts, whether the system's
// accelerated renderer runs on a graphics processor; may work on in the
// background. Called by sprite_system_start.
void renderer_probe_start();

// Whether the accelerated renderer runs on a graphics processor (waits for
// the answer if need be). False where it is a software rasteriser or there
// is none.
bool renderer_probe_accelerated();

// Forgets the answer (sprite_system_stop).
void renderer_probe_stop();
