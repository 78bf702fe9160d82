#include "Game.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstdlib>

#include "ColorRamp.h"
#include "Menus.h"
#include "Sound.h"
#include "Sphere.h"
#include "display.h"
#include "draw_support.h"
#include "gl_support.h"
#include "vec_support.h"

namespace {
constexpr int startLives = 3;
constexpr int startBombs = 3;
constexpr int lifeStep = 100000;
constexpr int bombStep = 75000;
constexpr int firstLaserUpgrade = 15000;
#ifndef ZYNTHRA_CLASSIC
constexpr int startDecoyBombs = 2;
constexpr int decoyBombStep = 110000;
#endif
// The super laser comes with a streak above this: 38250 = 255 arena-colour steps of 150 points.
constexpr int superLaserStreak = 38249;
constexpr int pointsPerRampStep = 150;

constexpr float asteroidInterval = 20;
constexpr float gameOverDelay = 5;
constexpr float unpauseDelay = 1;
constexpr float buttonRepeat = 0.2f;
}  // namespace

Game::Game()
{
    player.setParticlePool(&particles);
    enemies.setParticlePool(&particles);
    enemies.setAsteroidPool(&asteroids);
    asteroids.setParticlePool(&particles);
}

void Game::setupControls(Controller* controls)
{
    pndControls = controls;
}

void Game::setMenu(Menu* menuIn)
{
    menu = menuIn;
}

void Game::setMovementOption(int option)
{
    movementOption = option;
}

void Game::setFiringOption(int option)
{
    firingOption = option;
}

void Game::newGame()
{
    asteroidFrequencyScale = 1.0f;
    paused = false;
    gameMode = MODE_PLAYING;
    score = sphereColor = sphereCurrentColor = displayScore = 0;
    lives = startLives;
    bombs = startBombs;
#ifndef ZYNTHRA_CLASSIC
    decoyBombs = startDecoyBombs;
#endif
    asteroidTimer = 0;
    player.initialize();
    enemies.initialize();
    asteroids.initialize();
    playGameMusic();
    nextLife = lifeStep;
    nextBomb = bombStep;
#ifndef ZYNTHRA_CLASSIC
    nextDecoyBomb = decoyBombStep;
#endif
    nextLaserUpgrade = firstLaserUpgrade;
    gameEnding = false;
    gameEndingTimer = 0;
    player.superLaser(false);
}

void Game::pollStart(double dT)
{
    selectionTimer += dT;
    if (pndControls->inputStart && selectionTimer >= buttonRepeat) {
        selectionTimer = 0;
        pauseGame();
    } else if (pndControls->inputSelect && selectionTimer >= buttonRepeat) {
        selectionTimer = 0;
        takeScreenshot();
    }
}

void Game::pauseGame()
{
    if (gameEnding)
        return;
    selectionTimer = 0;
    if (paused) {
        // Start resumes even from the options screen: leaving it saves them, as any way out does.
        if (menu->menuMode == MENU_OPTIONS)
            menu->writeConfig();
        unpausing = true;
        unpauseTimer = 0;
    }
    paused = !paused;
    if (gameMode == MODE_PLAYING) {
        gameMode = MODE_PAUSED;
        menu->changeMenu(MENU_PAUSE);
    } else if (gameMode == MODE_PAUSED) {
        gameMode = MODE_PLAYING;
    }
    pauseRotX = pauseRotY = 0;
}

// One frame of a game in progress (playing or paused), all but its drawing.
// The flags are read after pollStart, so a Start press already shows in the
// same frame. While paused or counting down, the game stands still but the
// pause menu, the countdown and the frozen scene's turn go on.
void Game::updateFrame(double dT)
{
    pollStart(dT);
    if (paused) {
        menu->menuPollInput(dT);
    } else if (!unpausing) {
        // The pause menu is hidden during the countdown: it must not act either.
        pollInput();
        updateGameState(dT);
    }
    stepShownState(dT);
}

// What the frame's drawing shows besides the game itself: the frozen scene
// turns behind the pause menu, whose bar eases; otherwise the "Get ready!" countdown runs and
// the HUD's score rolls up by a tenth of the gap.
void Game::stepShownState(double dT)
{
    if (paused) {
        pauseRotX += 0.1f;
        pauseRotY += 0.05f;
        menu->easeSelectionBar();
        return;
    }
    if (unpausing) {
        unpauseTimer += dT;
        if (unpauseTimer >= unpauseDelay) {
            unpausing = false;
            unpauseTimer = 0;
        }
    }
    if (displayScore < score) {
        int gap = score - displayScore;
        displayScore = gap <= 10 ? score : displayScore + gap / 10;
    }
}

void Game::stepAsteroidTimer(double dT)
{
    asteroidTimer += dT;
    float scale = asteroidFrequencyScale;
    if (asteroidTimer < scale * asteroidInterval)
        return;
    float r = rand_FloatRange(0, 8);
    asteroidTimer = -(r * scale);
    if (asteroidFrequencyScale > 0.6)
        asteroidFrequencyScale -= 0.025;
    asteroids.createIncoming();
}

// A per-frame step: a twentieth of the gap, snapping once within 10, but at least
// one point: with a gap of 11 to 19 a twentieth rounds to nothing and the colour
// would never arrive.
void Game::stepArenaColor()
{
    int gap = std::abs(sphereColor - sphereCurrentColor);
    int step = std::max(1, gap / 20);
    if (gap <= 10)
        sphereCurrentColor = sphereColor;
    else if (sphereCurrentColor < sphereColor)
        sphereCurrentColor += step;
    else
        sphereCurrentColor -= step;
}

void Game::updateGameState(double dT)
{
    stepAsteroidTimer(dT);
    stepArenaColor();
    checkPowerups();
    enemies.addWave(dT, player.getPosition(), player.getyRef());
    enemies.addEnemy(dT, player.getPosition(), player.getOrientation(), player.getyRef());
    updatePhysics(dT);
    collisionDetection();
}

// At most one reward of each kind per frame: a jump past two thresholds pays the second next frame.
void Game::checkPowerups()
{
    if (gameEnding)
        return;
    if (sphereColor > superLaserStreak && player.superLaser(true))
        playSound(SOUND_SUPER_LASER_VOICE);
    if (score >= nextLaserUpgrade) {
        if (player.laserUp())
            playSound(SOUND_LASER_UP_VOICE);
        nextLaserUpgrade *= 3;
    }
    if (score >= nextLife) {
        playSound(SOUND_EXTRA_LIFE_VOICE);
        lives++;
        nextLife += lifeStep;
    }
    if (score >= nextBomb) {
        playSound(SOUND_EXTRA_BOMB_VOICE);
        bombs++;
        nextBomb += bombStep;
    }
#ifndef ZYNTHRA_CLASSIC
    if (score >= nextDecoyBomb) {
        playSound(SOUND_EXTRA_DECOY_BOMB_VOICE);
        decoyBombs++;
        nextDecoyBomb += decoyBombStep;
    }
#endif
}

void Game::updatePhysics(double dT)
{
    if (!player.getIsDead())
        player.updatePhysics(moveX, moveY, dT);
    if (gameEnding) {
        gameEndingTimer += dT;
        if (gameEndingTimer >= gameOverDelay)
            gameOver();
    } else {
        player.REZ(dT);
    }

#ifndef ZYNTHRA_CLASSIC
    if (player.decoyBombOut) {
        // The enemies chase the decoy while it is out.
        enemies.updatePhysics(dT, &player.decoyBombPos);
        if (player.decoyBombEsplode) {
            player.decoyBombOut = false;
            player.decoyBombEsplode = false;
            player.decoyBombBoom(&enemies, &asteroids);
        }
    } else {
        enemies.updatePhysics(dT, player.getPosition());
    }
#else
    enemies.updatePhysics(dT, player.getPosition());
#endif

    asteroids.updatePhysics(dT);
    particles.updatePhysics(dT);
    particles.cleanupParticles();
}

void Game::collisionDetection()
{
    int points = player.laserCollisionDetection(&enemies, &asteroids);
    if (points > 0) {
        score += points;
        sphereColor += points;
    }
    if (!gameEnding && player.collisionDetection(&enemies, &asteroids)) {
        player.superLaser(false);
        if (lives > 0) {
            sphereColor = 0;
            lives--;
        } else {
            playSound(SOUND_GAME_OVER_VOICE);
            gameEnding = true;
        }
    }
    player.cleanup();
    enemies.cleanupEnemies();
    asteroids.cleanupAsteroids();
}

void Game::gameOver()
{
    player.destroyLasers();
    enemies.destroyEverything();
    asteroids.destroyEverything();
    particles.destroyEverything();
    gameMode = MODE_MENUS;
    menu->addHighScore(score);
}

// ---------------------------------------------------------------------------
// Input mapping

// Out-of-range schemes (a hand-edited config) play as the defaults.
int Game::movementScheme()
{
    return isControlScheme(movementOption) ? movementOption : DEFAULT_MOVEMENT_SCHEME;
}

int Game::firingScheme()
{
    return isControlScheme(firingOption) ? firingOption : DEFAULT_FIRING_SCHEME;
}

namespace {
// A control's reading in nub units (x right, y down); present is false when it gives no direction.
struct Direction {
    int x, y;
    bool present;
};

// Buttons are tested in a fixed priority, which settles conflicting presses.
Direction buttonDirection(bool up, bool right, bool down, bool left)
{
    if (up)
        return right ? Direction{181, -181, true} : left ? Direction{-181, -181, true} : Direction{0, -256, true};
    if (right)
        return down ? Direction{181, 181, true} : Direction{256, 0, true};
    if (down)
        return left ? Direction{-181, 181, true} : Direction{0, 256, true};
    if (left)
        return Direction{-256, 0, true};
    return Direction{0, 0, false};
}

Direction nubDirection(int x, int y)
{
    return Direction{x, y, x != 0 || y != 0};
}

Direction controlDirection(const Controller& c, int scheme)
{
    switch (scheme) {
    case SCHEME_LEFT_NUB:
        return nubDirection(c.nub0X, c.nub0Y);
    case SCHEME_RIGHT_NUB:
        return nubDirection(c.nub1X, c.nub1Y);
    case SCHEME_DPAD:
        return buttonDirection(c.inputUp, c.inputRight, c.inputDown, c.inputLeft);
    default:  // SCHEME_FACE_BUTTONS
        return buttonDirection(c.inputY, c.inputB, c.inputX, c.inputA);
    }
}

bool isNub(int scheme)
{
    return scheme == SCHEME_LEFT_NUB || scheme == SCHEME_RIGHT_NUB;
}

// A resting nub hands over to the buttons on its side (left nub: d-pad, right
// nub: face buttons), unless the other option already uses those buttons.
Direction schemeDirection(const Controller& c, int scheme, int otherScheme)
{
    Direction d = controlDirection(c, scheme);
    int buttons = scheme == SCHEME_LEFT_NUB ? SCHEME_DPAD : SCHEME_FACE_BUTTONS;
    if (isNub(scheme) && !d.present && otherScheme != buttons)
        d = controlDirection(c, buttons);
    return d;
}
}  // namespace

void Game::pollInput()
{
    if (!player.getIsDead() && bombs > 0 && pndControls->inputR && player.doBomb(&enemies, &asteroids))
        bombs--;
#ifndef ZYNTHRA_CLASSIC
    if (!player.getIsDead() && decoyBombs > 0 && pndControls->inputL && player.doDecoyBomb())
        decoyBombs--;
#endif
    getMovementInput();
    getFiringInput();
}

void Game::getMovementInput()
{
    Direction d = schemeDirection(*pndControls, movementScheme(), firingScheme());
    moveX = d.present ? d.x : 0;
    moveY = d.present ? d.y : 0;
}

void Game::getFiringInput()
{
    int scheme = firingScheme();
    // The nubs never fire while paused; the button schemes do not ask.
    if (paused && isNub(scheme))
        return;
    Direction d = schemeDirection(*pndControls, scheme, movementScheme());
    if (d.present)
        player.fireLaser(d.x, d.y);
}

// ---------------------------------------------------------------------------
// Drawing

namespace {
// The arena's distinct corners (642 of the table's 3840 edge ends) and the edges as pairs of
// indices into them, so each corner is transformed and lit once per pass.
GLfloat icoSphereVertices[3840 * 3];
GLfloat icoSphereNormals[3840 * 3];
GLushort icoSphereIndices[3840];
int icoSphereCorners = 0;
GLuint sphere_vertexPosition_VBO;
GLuint sphere_vertexNormal_VBO;
GLuint sphere_index_VBO;

const GLfloat icoSphereAmbientAndDiffuse[4] = {0, 0, 0.5f, 1};
const GLfloat icoSphereSpecular[4] = {1, 1, 1, 0.75f};

bool sameCorner(const VertexData3D& a, int corner)
{
    const GLfloat* v = &icoSphereVertices[corner * 3];
    const GLfloat* n = &icoSphereNormals[corner * 3];
    return a.vertex.x == v[0] && a.vertex.y == v[1] && a.vertex.z == v[2] && a.normal.x == n[0] && a.normal.y == n[1] &&
           a.normal.z == n[2];
}

// The corner's index, added in order of first appearance when it is new.
int cornerIndex(const VertexData3D& entry)
{
    for (int corner = 0; corner < icoSphereCorners; corner++)
        if (sameCorner(entry, corner))
            return corner;
    const int corner = icoSphereCorners++;
    const GLfloat position[3] = {entry.vertex.x, entry.vertex.y, entry.vertex.z};
    const GLfloat normal[3] = {entry.normal.x, entry.normal.y, entry.normal.z};
    std::copy(position, position + 3, &icoSphereVertices[corner * 3]);
    std::copy(normal, normal + 3, &icoSphereNormals[corner * 3]);
    return corner;
}
}  // namespace

void setupSphereVBO()
{
    icoSphereCorners = 0;
    for (int i = 0; i < icoSphereNumberOfVertices; i++)
        icoSphereIndices[i] = (GLushort)cornerIndex(icoSphereVertexData[i]);
    const GLsizeiptr cornerBytes = (GLsizeiptr)sizeof(GLfloat) * 3 * icoSphereCorners;
    sphere_vertexPosition_VBO = uploadStatic(GL_ARRAY_BUFFER, icoSphereVertices, cornerBytes);
    sphere_vertexNormal_VBO = uploadStatic(GL_ARRAY_BUFFER, icoSphereNormals, cornerBytes);
    sphere_index_VBO = uploadStatic(GL_ELEMENT_ARRAY_BUFFER, icoSphereIndices, sizeof(icoSphereIndices));
}

namespace {
// The stars' turn: shown is the turn before the latest step's, as the stars
// have always been drawn before they turned.
float starTurn = 0;
float shownStarTurn = 0;
}  // namespace

void stepArenaMotion()
{
    shownStarTurn = starTurn;
    starTurn += 0.02f;
    settleShake();
}

void drawSphere(int color)
{
    int i = color < colorRampCount - 1 ? color : colorRampCount - 1;

    glPushMatrix();
    glEnableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, sphere_vertexPosition_VBO);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, sphere_vertexNormal_VBO);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, sphere_index_VBO);

    glEnable(GL_COLOR_MATERIAL);
    glColor4f(colorRamp[i].x / 255, colorRamp[i].y / 255, colorRamp[i].z / 255, 0.4f);
    glLineWidth(3.0f * pixelScale());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, icoSphereAmbientAndDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, icoSphereSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50.0f);
    glDrawElements(GL_LINES, icoSphereNumberOfVertices, GL_UNSIGNED_SHORT, nullptr);

    // Glow: a thick, dark-blue, half-transparent copy just inside the bright lines.
    glLineWidth(9.0f * pixelScale());
    glColor4f(0, 0, 0.4f, 0.5f);
    glScalef(0.99f, 0.99f, 0.99f);
    glDrawElements(GL_LINES, icoSphereNumberOfVertices, GL_UNSIGNED_SHORT, nullptr);

    glDisable(GL_COLOR_MATERIAL);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_LIGHTING);

    // Two shells of stars from the same corners, turning about different axes. Each corner once:
    // its repeats in the edge table were opaque points that the depth test turned away.
    glPointSize(1.5f * pixelScale());
    glColor4f(1, 1, 1, 1);
    glScalef(5, 5, 5);
    glRotatef(shownStarTurn, 0, 1.2f, -1);
    glDrawArrays(GL_POINTS, 0, icoSphereCorners);
    glScalef(2.5f, 1, 3.75f);
    glRotatef(shownStarTurn, 1.2f, 1, 0);
    glDrawArrays(GL_POINTS, 0, icoSphereCorners);

    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void Game::setupVBOs()
{
    setupSphereVBO();
    player.setupVBO();
    enemies.setupVBOs();
    asteroids.setupVBOs();
}

void Game::drawTheSphere()
{
    drawSphere(0);
}

void Game::draw()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    updateCamera(player.getPosition(), player.getyRef());

    if (paused) {
        // The frozen scene turns slowly behind the pause menu.
        glRotatef(pauseRotX, 1, 0, 0);
        glRotatef(pauseRotY, 0, 1, 0);
    }

    glEnable(GL_LIGHTING);
    drawSphere(sphereCurrentColor / pointsPerRampStep);
    glDisable(GL_LIGHTING);

    // One projection for all the objects, so a run of lines may go on from one pool to the next.
    beginProjectedDrawing();
    if (!player.getIsDead())
        player.draw();
    enemies.draw();
    asteroids.draw();
    particles.draw();
    endProjectedDrawing();

    if (paused)
        menu->drawInGameMenu();
    else
        drawHUD();

    finishFrame();
}

void Game::drawHUD()
{
    set2dMode();
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(1, 1, 1, 1);
    glPrintf(0, 0, "Score:%010d", displayScore);
    glPrintf(650, 0, "Lives:%d", lives);
#ifdef ZYNTHRA_CLASSIC
    glPrintf(0, 445, "Bombs:%d", bombs);
#else
    glPrintf(0, 445, "Decoy Bombs:%d", decoyBombs);
    glPrintf(650, 445, "Bombs:%d", bombs);
#endif
    if (gameEnding)
        glPrintf(320, 220, "Game over!");
    if (unpausing) {
        glPrintf(320, 156, "Get ready!");
        glPrintf(368, 188, "%2.2f", 1 - (double)unpauseTimer);
    }

    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    set3dMode();
}
