#include "LaserPool.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "draw_support.h"
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

LaserShotPool::LaserShotPool() : shots(), laserVBO(0)
{
    linkAll(shots);
    // The colours are filled here, not with the buffer, so nothing but the
    // drawing itself needs a GL context.
    for (int i = 0; i < 8; i++) {
        laserInnerColors[i] = laserColors[i];
        laserOuterColors[i] = laserColors[i];
    }
}

void LaserShotPool::setupVBO()
{
    laserVBO = uploadModel(laserModelVertexData, std::size(laserModelVertexData));
}

void LaserShotPool::create(Vector3D* positionIn, Vector3D* rotationVector, float travelDist, int type)
{
    if (firstAvailable == nullptr) {
        puts("Laser pool full!");
        return;
    }
    LaserShot* shot = takeSlot();

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
        setMatrixColumns(shot.orientationMatrix, shot.rotationAxis, shot.forward, shot.position);
    }
}

// A pale core of the first colour for every shot; the glow shows the shot's type.
void LaserShotPool::draw()
{
    const LineModel model{laserModelVertexData, (int)std::size(laserModelVertexData), true};
    const Vector3D& inner = laserInnerColors[0];
    GlowStyle style = {innerRadius, {inner.x, inner.y, inner.z, innerAlpha}, outerRadius, {0, 0, 0, outerAlpha}};
    beginProjectedDrawing();
    for (LaserShot& shot : shots) {
        if (!shot.isInUse)
            continue;
        float matrix[16];
        viewMatrix(matrix);
        matrixMultiply(matrix, shot.orientationMatrix);
        matrixTranslate(matrix, 0, 0, 1.01f);
        const Vector3D& outer = laserOuterColors[shot.type];
        style.glow[0] = outer.x;
        style.glow[1] = outer.y;
        style.glow[2] = outer.z;
        drawGlowingModel(model, matrix, style);
    }
    endProjectedDrawing();
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
