#include "LaserPool.h"

#include <cstdio>

#include "laserModel.h"
#include "vec_support.h"

namespace {
constexpr double shipShotSpeed = 150;  // degrees of arc per second
constexpr double enemyShotSpeed = 45;
constexpr int enemyShotType = 7;

constexpr GLfloat innerRadius = 1;
constexpr GLfloat outerRadius = 6;
constexpr GLfloat innerAlpha = 0.9f;
constexpr GLfloat outerAlpha = 0.65f;

// One colour per shot type: the ship's six laser levels, then the enemies'.
const Vector3D laserColors[8] = {
    {1, 1, 0.31f},    {1, 0.86f, 0.1f},  {0.89f, 0.58f, 0.16f}, {1, 0.51f, 0},
    {1, 0.4f, 0.22f}, {1, 0.27f, 0.06f}, {1, 0.27f, 0.06f},     {1, 0.27f, 0.06f},
};
}  // namespace

LaserShotPool::LaserShotPool() : shots(), laserVBO(0), firstAvailable(&shots[0])
{
    for (int i = 0; i < POOL_SIZE - 1; i++)
        shots[i].next = &shots[i + 1];
    shots[POOL_SIZE - 1].next = nullptr;
    // The colours are filled here, not with the buffer, so nothing but the
    // drawing itself needs a GL context.
    for (int i = 0; i < 8; i++) {
        laserInnerColors[i] = laserColors[i];
        laserOuterColors[i] = laserColors[i];
    }
}

void LaserShotPool::setupVBO()
{
    glGenBuffers(1, &laserVBO);
    glBindBuffer(GL_ARRAY_BUFFER, laserVBO);
    glBufferData(GL_ARRAY_BUFFER, sizeof(laserModelVertexData), laserModelVertexData, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void LaserShotPool::create(Vector3D* positionIn, Vector3D* rotationVector, float travelDist, int type)
{
    if (firstAvailable == nullptr) {
        puts("Laser pool full!");
        return;
    }
    LaserShot* shot = firstAvailable;
    firstAvailable = shot->next;

    shot->position = *positionIn;
    shot->rotationAxis = *rotationVector;
    shot->distLeft = travelDist;
    shot->isInUse = true;
    shot->type = type;
    // Columns 0-2 come with the first update; until then the shot collapses to the centre, unseen.
    for (float& element : shot->orientationMatrix)
        element = 0;
    shot->orientationMatrix[15] = 1;
}

void LaserShotPool::updatePhysics(double dT)
{
    for (LaserShot& shot : shots) {
        if (!shot.isInUse)
            continue;
        double angle = dT * (shot.type == enemyShotType ? enemyShotSpeed : shipShotSpeed);
        vec_rotate(&shot.position, &shot.rotationAxis, (float)angle);
        shot.distLeft -= angle;
        vec_cross(&shot.rotationAxis, &shot.position, &shot.forward);

        const Vector3D* columns[3] = {&shot.rotationAxis, &shot.forward, &shot.position};
        for (int c = 0; c < 3; c++) {
            shot.orientationMatrix[c * 4] = columns[c]->x;
            shot.orientationMatrix[c * 4 + 1] = columns[c]->y;
            shot.orientationMatrix[c * 4 + 2] = columns[c]->z;
        }
    }
}

void LaserShotPool::draw()
{
    glBindBuffer(GL_ARRAY_BUFFER, laserVBO);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    for (LaserShot& shot : shots) {
        if (!shot.isInUse)
            continue;
        glPushMatrix();
        glMultMatrixf(shot.orientationMatrix);
        glTranslatef(0, 0, 1.01f);

        glLineWidth(innerRadius);
        const Vector3D& inner = laserInnerColors[0];
        glColor4f(inner.x, inner.y, inner.z, innerAlpha);
        glDrawArrays(GL_LINE_LOOP, 0, 9);

        glLineWidth(outerRadius);
        const Vector3D& outer = laserOuterColors[shot.type];
        glColor4f(outer.x, outer.y, outer.z, outerAlpha);
        glDrawArrays(GL_LINE_LOOP, 0, 9);
        glPopMatrix();
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

bool LaserShotPool::collisionDetection(Vector3D* pos, float radius)
{
    float reach = radius + 0.03f;
    for (LaserShot& shot : shots) {
        if (shot.isInUse && vec_dist(pos, &shot.position) <= reach) {
            // One touch clears every shot of the pool, not just the one that hit.
            removeAll();
            return true;
        }
    }
    return false;
}

void LaserShotPool::cleanupLasers()
{
    for (LaserShot& shot : shots) {
        if (shot.isInUse && shot.distLeft <= 0)
            release(&shot);
    }
}

void LaserShotPool::removeLaserAt(int i)
{
    release(&shots[i]);
}

void LaserShotPool::removeAll()
{
    for (LaserShot& shot : shots) {
        if (shot.isInUse)
            release(&shot);
    }
}

void LaserShotPool::release(LaserShot* shot)
{
    shot->isInUse = false;
    shot->next = firstAvailable;
    firstAvailable = shot;
}
