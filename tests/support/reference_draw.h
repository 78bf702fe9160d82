#pragma once

// The game's drawing as it was before it was batched: one draw call per object, per particle and
// per glyph, each under its own matrix. Kept in the tests only, as the picture the game's own
// drawing must reproduce pixel for pixel, and as the "before" figures of the drawing benchmark.
class Game;
class Menu;

// Its own copy of the arena's buffers: the 3840 edge ends, positions and normals. Needs a context.
void setupReferenceDrawing();

// One frame of play from the game's state, ending with the swap. The state is only read: the
// countdown, the score roll-up and the pause turn are not stepped (the scenes use none of them).
void referenceDrawGame(Game& game);

// The main menu's frame as the menu would draw it after stepping its turn by dT; the menu is
// only read, so call it before the menu's own drawMenu(dT) and both show the same frame.
void referenceDrawMainMenu(Menu& menu, double dT);
