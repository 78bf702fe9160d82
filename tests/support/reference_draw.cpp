#include "reference_draw.h"

#include <GLES/gl.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <iterator>

#include "AsteroidPool.h"
#include "ColorRamp.h"
#include "EnemyPool.h"
#include "Game.h"
#include "Menus.h"
#include "Sphere.h"
#include "draw_support.h"
#include "enemyInfo.h"
#include "gl_support.h"

namespace {

GLfloat sphereVertices[3840 * 3];
GLfloat sphereNormals[3840 * 3];
GLuint spherePositionBuffer;
GLuint sphereNormalBuffer;
float starRotate = 0;

const GLfloat sphereAmbientAndDiffuse[4] = {0, 0, 0.5f, 1};
const GLfloat sphereSpecular[4] = {1, 1, 1, 0.75f};

void drawArena(int color)
{
    int i = color < colorRampCount - 1 ? color : colorRampCount - 1;
    glPushMatrix();
    glEnableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, spherePositionBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, sphereNormalBuffer);
    glNormalPointer(GL_FLOAT, 0, nullptr);

    glEnable(GL_COLOR_MATERIAL);
    glColor4f(colorRamp[i].x / 255, colorRamp[i].y / 255, colorRamp[i].z / 255, 0.4f);
    glLineWidth(3.0f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, sphereAmbientAndDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, sphereSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50.0f);
    glDrawArrays(GL_LINES, 0, icoSphereNumberOfVertices);

    glEnable(GL_COLOR_MATERIAL);
    glLineWidth(9.0f);
    glColor4f(0, 0, 0.4f, 0.5f);
    glScalef(0.99f, 0.99f, 0.99f);
    glDrawArrays(GL_LINES, 0, icoSphereNumberOfVertices);

    glDisable(GL_COLOR_MATERIAL);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisable(GL_LIGHTING);

    glPointSize(1.5f);
    glColor4f(1, 1, 1, 1);
    glScalef(5, 5, 5);
    glRotatef(starRotate, 0, 1.2f, -1);
    glDrawArrays(GL_POINTS, 0, icoSphereNumberOfVertices);
    glScalef(2.5f, 1, 3.75f);
    glRotatef(starRotate, 1.2f, 1, 0);
    glDrawArrays(GL_POINTS, 0, icoSphereNumberOfVertices);

    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glPopMatrix();
    starRotate += 0.02f;
    glEnable(GL_LIGHTING);
}

void drawGlowingLines(GLenum mode, GLuint vbo, int numVertices, const Vector3D& core, const Vector3D& glow)
{
    glLineWidth(2.0f);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glColor4f(core.x, core.y, core.z, 0.94f);
    glDrawArrays(mode, 0, numVertices);
    glLineWidth(6.0f);
    glColor4f(glow.x, glow.y, glow.z, 0.5f);
    glDrawArrays(mode, 0, numVertices);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void drawLasers(LaserShotPool& pool)
{
    glBindBuffer(GL_ARRAY_BUFFER, pool.laserVBO);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    for (LaserShot& shot : pool.shots) {
        if (!shot.isInUse)
            continue;
        glPushMatrix();
        glMultMatrixf(shot.orientationMatrix);
        glTranslatef(0, 0, 1.01f);
        glLineWidth(1);
        const Vector3D& inner = pool.laserInnerColors[0];
        glColor4f(inner.x, inner.y, inner.z, 0.9f);
        glDrawArrays(GL_LINE_LOOP, 0, 9);
        glLineWidth(6);
        const Vector3D& outer = pool.laserOuterColors[shot.type];
        glColor4f(outer.x, outer.y, outer.z, 0.65f);
        glDrawArrays(GL_LINE_LOOP, 0, 9);
        glPopMatrix();
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void drawShipOutline(const float* matrix, float heading, float alpha)
{
    glPushMatrix();
    glMultMatrixf(matrix);
    glRotatef(heading, 0, 0, 1);
    glTranslatef(0, 0, 1.01f);
    glScalef(0.065f, 0.065f, 0);
    glLineWidth(2);
    glColor4f(1, 1, 1, alpha);
    glDrawArrays(GL_LINE_LOOP, 0, 8);
    glLineWidth(8);
    glColor4f(0.8f, 0.8f, 0.8f, alpha / 2);
    glDrawArrays(GL_LINE_LOOP, 0, 8);
    glPopMatrix();
}

void drawPlayer(Player& player)
{
    glEnable(GL_COLOR_MATERIAL);
    glBindBuffer(GL_ARRAY_BUFFER, player.playerVBO);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    float alpha = player.isRezing ? (float)std::fabs(std::sin(player.deathTimer * 31.415928)) : 1.0f;
    drawShipOutline(player.orientationMatrix, player.orientation, alpha);
#ifndef ZYNTHRA_CLASSIC
    if (player.decoyBombOut)
        drawShipOutline(player.decoyBombOrientationMatrix, player.decoyBombOrientation, 1.0f);
#endif
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    drawLasers(player.myLaserPool);
    glDisable(GL_COLOR_MATERIAL);
}

void drawEnemies(EnemyPool& pool)
{
    glEnable(GL_COLOR_MATERIAL);
    drawLasers(pool.myLaserPool);
    const Vector3D& baseColor = pool.enemyColors[LASER_TURRET];
    for (Enemy& enemy : pool.enemies) {
        if (!enemy.isInUse)
            continue;
        Enemy::Live& s = enemy.live;
        if (s.type == LASER_TURRET) {
#ifdef ZYNTHRA_CLASSIC
            const float* frame = s.orientationMatrix;
#else
            float frame[16] = {s.firstRotationAxis.x,
                               s.firstRotationAxis.y,
                               s.firstRotationAxis.z,
                               0,
                               s.firstForward.x,
                               s.firstForward.y,
                               s.firstForward.z,
                               0,
                               s.position.x,
                               s.position.y,
                               s.position.z,
                               0,
                               0,
                               0,
                               0,
                               1};
#endif
            glPushMatrix();
            glMultMatrixf(frame);
            glTranslatef(0, 0, 1.01f);
            drawGlowingLines(GL_LINE_LOOP, pool.turretBaseVBO, std::size(turretBaseModelVertexData), baseColor,
                             baseColor);
            glPopMatrix();
        }
        glPushMatrix();
        glMultMatrixf(s.orientationMatrix);
        glRotatef(s.orientation, 0, 0, 1);
        glTranslatef(0, 0, 1.01f);
        const Vector3D& color = pool.enemyColors[s.type];
        drawGlowingLines(GL_LINE_LOOP, pool.enemyVBOs[s.type], pool.enemyVBOsNumVertices[s.type], color, color);
        glPopMatrix();
    }
    glDisable(GL_COLOR_MATERIAL);
}

void drawAsteroids(AsteroidPool& pool)
{
    glEnable(GL_COLOR_MATERIAL);
    for (Asteroid& asteroid : pool.asteroids) {
        if (!asteroid.isInUse)
            continue;
        Asteroid::Live& s = asteroid.live;
        glPushMatrix();
        float lift = 1 + s.radius * 0.333333343f;
        glTranslatef(lift * s.position.x, lift * s.position.y, lift * s.position.z);
        glRotatef(s.rotateX, 1, 0, 0);
        glRotatef(s.rotateY, 0, 1, 0);
        glScalef(s.radius, s.radius, s.radius);
        drawGlowingLines(GL_LINES, pool.asteroidVBOs[s.type], pool.asteroidVBOsNumVertices[s.type], pool.asteroidColor1,
                         pool.asteroidColor2);
        glPopMatrix();
    }
    glDisable(GL_COLOR_MATERIAL);
}

void drawParticles(ParticlePool& pool)
{
    static const Vertex3D particleModel[1] = {{0, 0, 0}};
    glVertexPointer(3, GL_FLOAT, 0, particleModel);
    glEnable(GL_COLOR_MATERIAL);
    glPointSize(1.5f);
    for (Particle& particle : pool.particles) {
        if (!particle.isInUse)
            continue;
        const Vector3D& position = particle.state.live.position;
        const Vector3D& color = particle.state.live.color;
        glPushMatrix();
        glTranslatef(position.x, position.y, position.z);
        float bright = particle.distLeft / particle.totalDist;
        glColor4f(color.x + (1 - color.x) * bright, color.y + (1 - color.y) * bright, color.z + (1 - color.z) * bright,
                  bright + 0.7f);
        glDrawArrays(GL_POINTS, 0, 1);
        glPopMatrix();
    }
    glDisable(GL_COLOR_MATERIAL);
}

void printText(float x, float y, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
void printText(float x, float y, const char* fmt, ...)
{
    static char text[256];
    static const GLfloat quadVertices[] = {32, 0, 0, 0, 0, 0, 32, 32, 0, 0, 32, 0};
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);

    glLoadIdentity();
    glTranslatef(x, y, -1);
    glBindTexture(GL_TEXTURE_2D, fonttex);
    const float cell = 0.0625f;
    for (const unsigned char* p = (const unsigned char*)text; *p != 0; p++) {
        const float u = (*p % 16) * cell;
        const float v = (*p / 16) * cell;
        const GLfloat txtCoord[8] = {u + cell, v, u, v, u + cell, v + cell, u, v + cell};
        glTexCoordPointer(2, GL_FLOAT, 0, txtCoord);
        glVertexPointer(3, GL_FLOAT, 0, quadVertices);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glTranslatef(16, 0, 0);
    }
}

void drawHud(Game& game)
{
    set2dMode();
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(1, 1, 1, 1);
    printText(0, 0, "Score:%010d", game.displayScore);
    printText(650, 0, "Lives:%d", game.lives);
#ifdef ZYNTHRA_CLASSIC
    printText(0, 445, "Bombs:%d", game.bombs);
#else
    printText(0, 445, "Decoy Bombs:%d", game.decoyBombs);
    printText(650, 445, "Bombs:%d", game.bombs);
#endif
    if (game.gameEnding)
        printText(320, 220, "Game over!");
    if (game.unpausing) {
        printText(320, 156, "Get ready!");
        printText(368, 188, "%2.2f", 1 - (double)game.unpauseTimer);
    }
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    set3dMode();
}

}  // namespace

void setupReferenceDrawing()
{
    for (int i = 0; i < icoSphereNumberOfVertices; i++) {
        const VertexData3D& entry = icoSphereVertexData[i];
        const float position[3] = {entry.vertex.x, entry.vertex.y, entry.vertex.z};
        const float normal[3] = {entry.normal.x, entry.normal.y, entry.normal.z};
        std::copy(position, position + 3, sphereVertices + i * 3);
        std::copy(normal, normal + 3, sphereNormals + i * 3);
    }
    spherePositionBuffer = uploadStatic(GL_ARRAY_BUFFER, sphereVertices, sizeof(sphereVertices));
    sphereNormalBuffer = uploadStatic(GL_ARRAY_BUFFER, sphereNormals, sizeof(sphereNormals));
}

void referenceDrawGame(Game& game)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    updateCamera(game.player.getPosition(), game.player.getyRef());

    glEnable(GL_LIGHTING);
    drawArena(game.sphereCurrentColor / 150);
    glDisable(GL_LIGHTING);

    if (!game.player.getIsDead())
        drawPlayer(game.player);
    drawEnemies(game.enemies);
    drawAsteroids(game.asteroids);
    drawParticles(game.particles);
    drawHud(game);
    finishFrame();
}

void referenceDrawMainMenu(Menu& menu, double dT)
{
    static Vector3D pos(0, 0, 1);
    static Vector3D up(0, 1, 0);
    const float rotation = (float)(menu.menuRotation + dT);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    updateCamera(&pos, &up);
    glEnable(GL_LIGHTING);
    glRotatef(rotation, 0, 1, 0);
    glRotatef(rotation, 0.25f, 0, 0);
    drawArena(0);
    glDisable(GL_LIGHTING);

    // The selection bar at rest: the menu's eased place and width are where they are heading.
    GLfloat bar[] = {0, 32, 0, menu.selectCurrentWidth, 32, 0, 0, 0, 0, menu.selectCurrentWidth, 0, 0};
    set2dMode();
    glLoadIdentity();
    glTranslatef(0, menu.selectPos, -1.1f);
    glColor4f(0, 1, 0, 0.3f);
    glVertexPointer(3, GL_FLOAT, 0, bar);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4f(1, 1, 1, 1);
    printText(0, 0, "New Game");
    printText(0, 32, "Options");
    printText(0, 64, "High Scores");
    printText(0, 96, "Credits");
    printText(0, 128, "Quit");
    static const GLfloat logoVertices[] = {0, 512, 0, 0, 0, 0, 512, 0, 0, 0, 512, 0, 512, 0, 0, 512, 512, 0};
    static const GLfloat logoCoords[] = {0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 1, 1};
    glBindTexture(GL_TEXTURE_2D, (GLuint)menu.zynText);
    glLoadIdentity();
    glTranslatef(288, 100, -1);
    glTexCoordPointer(2, GL_FLOAT, 0, logoCoords);
    glVertexPointer(3, GL_FLOAT, 0, logoVertices);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    set3dMode();
    finishFrame();
}
