#pragma once

#include "temp_folder.h"

// Fixed scenes of play for the drawing tests and the drawing benchmark: the same seed gives the
// same scene, so two games filled alike can be drawn two ways and compared.
class Game;

// Every pool full: 125 enemies of all eleven kinds, 25 rocks (one in five still falling), 550
// sparks that never fade, both laser pools' 50 shots.
void fillFullLoad(Game& game, unsigned seed);

// A typical moment: about 20 enemies around the ship, three rocks, a few bursts and shots.
void fillMidGame(Game& game, unsigned seed);

#ifndef ZYNTHRA_CLASSIC
// The ship has left a decoy behind and just set off a bomb: both rings of sparks spreading.
void fillBombAndDecoy(Game& game, unsigned seed);
#endif

// Laser turrets close around the ship, each on its base, and a few other craft among them.
void fillTurrets(Game& game, unsigned seed);

// A fresh working folder under /tmp holding a copy of the menu logo, entered for as long as it
// lives: menus read and write their high-score file there rather than in data/.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();

private:
    TempFolder folder_{"zynthra_draw_"};
};
