#pragma once

#include <string>

#include "canvas.h"

// The game's glyph sheet: 16 x 16 cells of 32 pixels, byte c in column
// c % 16 and row c / 16. Text is drawn one 32 x 32 cell per character with a
// 16-pixel advance, so each glyph sits centred in its cell, about half a cell
// wide. Only printable ASCII is drawn; every other cell stays empty (the
// terminating zero of every string is drawn too, from cell 0).
constexpr int kCellSize = 32;
constexpr int kAdvance = 16;

// Renders the sheet from a TrueType face; false (with a message) on failure.
bool renderFontSheet(const std::string& fontPath, Image& sheet);

// Draws text as the game does: each byte's cell as a 32 x 32 quad at the pen,
// modulated by the colour, the pen moving 16 pixels a character.
void drawText(Image& target, const Image& sheet, int x, int y, const std::string& text, Colour colour);
