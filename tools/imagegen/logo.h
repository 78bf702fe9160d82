#pragma once

#include "canvas.h"

// The 512 x 512 title logo: "ZYNTHRA" as glowing wireframe letters over a
// soft dark backing, on transparent. The game shows only its top 380 rows
// (at (288, 100) of an 800 x 480 screen), so all artwork stays well above.
Image renderLogo();
