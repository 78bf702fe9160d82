#pragma once

#include "AsteroidPool.h"
#include "EnemyPool.h"
#include "GameStates.h"
#include "ParticlePool.h"
#include "Player.h"
#include "controller_support.h"

class Menu;

// One game in progress: score, stocks and their reward thresholds, the asteroid
// timer, the arena colour, pausing and the end of a game. Drives the ship and
// the pools once per frame in a fixed order.
class Game {
public:
    bool quit = false;  // never set by the game itself
    bool paused = false;
    bool unpausing = false;  // the "Get ready!" countdown is running
    Controller* pndControls = nullptr;
    int gameMode = MODE_MENUS;  // a GameMode
    int score = 0;
    int sphereColor = 0;         // points since the ship was last lost
    int sphereCurrentColor = 0;  // the arena colour shown, following sphereColor
    int displayScore = 0;        // the HUD's score, counting up towards score
    int lives = 0;
    int nextLife = 0;
    int bombs = 0;
#ifndef ZYNTHRA_CLASSIC
    int decoyBombs = 0;
#endif
    int nextBomb = 0;
#ifndef ZYNTHRA_CLASSIC
    int nextDecoyBomb = 0;
#endif
    int moveX = 0;
    int moveY = 0;
    int nextLaserUpgrade = 0;
    float asteroidTimer = 0;
    float selectionTimer = 0;  // Start/Select repeat guard
    float pauseRotX = 0;
    float pauseRotY = 0;
    float asteroidFrequencyScale = 0;
    Player player;
    EnemyPool enemies;
    ParticlePool particles;
    AsteroidPool asteroids;
    Menu* menu = nullptr;
    bool gameEnding = false;  // the last ship is lost
    float gameEndingTimer = 0;
    float unpauseTimer = 0;
    int movementOption = DEFAULT_MOVEMENT_SCHEME;  // a ControlScheme, or anything a config file held
    int firingOption = DEFAULT_FIRING_SCHEME;

    Game();
    void setupControls(Controller* controls);
    void setMenu(Menu* menuIn);
    void setMovementOption(int option);
    void setFiringOption(int option);
    void newGame();
    void pollStart(double dT);
    void pauseGame();
    void updateFrame(double dT);
    void updateGameState(double dT);
    void checkPowerups();
    void updatePhysics(double dT);
    void collisionDetection();
    void gameOver();

    void pollInput();
    void getMovementInput();
    void getFiringInput();

    // Draws the state the steps left; changes nothing the game plays by.
    void draw();
    void drawHUD();
    void setupVBOs();
    void drawTheSphere();

private:
    int movementScheme();
    int firingScheme();
    void stepAsteroidTimer(double dT);
    void stepArenaColor();
    void stepShownState(double dT);
};

// The arena sphere's geometry, uploaded once; drawn with ramp entry color.
void setupSphereVBO();
void drawSphere(int color);
// The motion every screen shows, one step of the rules' worth: the stars
// turn and the camera's shake settles.
void stepArenaMotion();
