#pragma once

#include "canvas.h"

// Two 800 x 480 screens stacked: the main menu with the logo, and a screen of
// HUD and option lines, both drawn the way the game draws text and the logo.
Image renderPreview(const Image& fontSheet, const Image& logo);
