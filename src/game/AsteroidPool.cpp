#include "AsteroidPool.h"

#include <cstdlib>

#include "HitProtocol.h"
#include "ParticlePool.h"
#include "Sound.h"
#include "asteroidInfo.h"
#include "draw_support.h"
#include "vec_support.h"

namespace {

constexpr int NUM_FRAGMENT_MODELS = 3;
constexpr float SMALLEST_BREAKING_RADIUS = 0.05f;
constexpr int POINTS_PER_RADIUS = 5000;
constexpr int POINTS_PER_HIT = 10;
constexpr int HIT_PARTICLES = 10;
constexpr int CLEAR_PARTICLES = 15;

struct AsteroidModel {
    const Vertex3D* vertices;
    int numVertices;
    GLuint AsteroidPool::*vbo;
};

template <size_t N>
constexpr AsteroidModel model(const Vertex3D (&vertices)[N], GLuint AsteroidPool::*vbo)
{
    return {vertices, (int)N, vbo};
}

// Indexed by an asteroid's type: three fragment shapes, then three large rocks.
constexpr AsteroidModel MODELS[AsteroidPool::NUM_MODELS] = {model(sAsteroid1VertexData, &AsteroidPool::sAsteroid1VBO),
                                                            model(sAsteroid2VertexData, &AsteroidPool::sAsteroid2VBO),
                                                            model(sAsteroid3VertexData, &AsteroidPool::sAsteroid3VBO),
                                                            model(lAsteroid1VertexData, &AsteroidPool::lAsteroid1VBO),
                                                            model(lAsteroid2VertexData, &AsteroidPool::lAsteroid2VBO),
                                                            model(lAsteroid3VertexData, &AsteroidPool::lAsteroid3VBO)};

}  // namespace

AsteroidPool::AsteroidPool()
    : upVec(0, 1, 0), asteroidColor1(1, 0.7294118f, 0.05882353f), asteroidColor2(0.54509807f, 0.4117647f, 0.078431375f)
{
    for (int i = 0; i < NUM_MODELS; i++)
        asteroidVBOsNumVertices[i] = MODELS[i].numVertices;
    initialize();
}

void AsteroidPool::initialize()
{
    linkAll(asteroids);
}

void AsteroidPool::setupVBOs()
{
    for (int i = 0; i < NUM_MODELS; i++) {
        GLuint vbo = uploadModel(MODELS[i].vertices, MODELS[i].numVertices);
        this->*MODELS[i].vbo = vbo;
        asteroidVBOs[i] = vbo;
        asteroidVBOsNumVertices[i] = MODELS[i].numVertices;
    }
}

void AsteroidPool::createIncoming()
{
    Asteroid* slot = takeSlot();
    if (!slot)
        return;
    Vector3D landing;
    vec_getRandomVec(&landing);
    vec_normalize(&landing);
    Vector3D axis;
    vec_cross(&landing, &upVec, &axis);
    int shape = rand();
    float radius = rand_FloatRange(0.2f, 0.3f);
    slot->Init(shape % NUM_FRAGMENT_MODELS + NUM_FRAGMENT_MODELS, &axis, &landing, radius, true);
    playSound(SOUND_ASTEROID_INCOMING);
}

void AsteroidPool::createFragment(float parentRadius, Vector3D* parentPos, Vector3D* parentRotationAxis)
{
    if (!firstAvailable)
        return;
    float half = parentRadius * 0.5f;
    Asteroid* slot = takeSlot();
    Vector3D axis = *parentRotationAxis;
    vec_rotate(&axis, parentPos, rand_FloatRange(0, 360));
    int shape = rand();
    float radius = rand_FloatRange(half * 0.9f, half * 1.1f);
    slot->Init(shape % NUM_FRAGMENT_MODELS, &axis, parentPos, radius, false);
}

void AsteroidPool::updatePhysics(double dT)
{
    for (Asteroid& asteroid : asteroids)
        asteroid.updatePhysics(dT);
}

void AsteroidPool::draw()
{
    const GlowStyle style = {2,
                             {asteroidColor1.x, asteroidColor1.y, asteroidColor1.z, 0.94f},
                             6,
                             {asteroidColor2.x, asteroidColor2.y, asteroidColor2.z, 0.5f}};
    beginProjectedDrawing();
    for (Asteroid& asteroid : asteroids) {
        if (!asteroid.isInUse)
            continue;
        const Asteroid::Live& s = asteroid.live;
        float matrix[16];
        viewMatrix(matrix);
        // The rock floats a third of its radius above its point.
        float lift = 1 + s.radius * 0.333333343f;
        matrixTranslate(matrix, lift * s.position.x, lift * s.position.y, lift * s.position.z);
        matrixRotate(matrix, s.rotateX, 1, 0, 0);
        matrixRotate(matrix, s.rotateY, 0, 1, 0);
        matrixScale(matrix, s.radius, s.radius, s.radius);
        const AsteroidModel& model = MODELS[s.type];
        drawGlowingModel(LineModel{model.vertices, model.numVertices, false}, matrix, style);
    }
    endProjectedDrawing();
}

// Only landed asteroids can be touched, and only the first one in slot order is.
Asteroid* AsteroidPool::findTouched(Vector3D* pos, float radius)
{
    for (Asteroid& asteroid : asteroids) {
        if (asteroid.isInUse && !asteroid.incoming &&
            vec_closerThan(*pos, asteroid.live.position, radius + asteroid.live.radius))
            return &asteroid;
    }
    return nullptr;
}

void AsteroidPool::breakUp(Asteroid* asteroid)
{
    asteroid->remove = true;
    Asteroid::Live& s = asteroid->live;
    if (s.radius < SMALLEST_BREAKING_RADIUS)
        return;
    int count = (s.type < NUM_FRAGMENT_MODELS ? 2 : 3) + rand() % 2;
    for (int i = 0; i < count; i++)
        createFragment(s.radius, &s.position, &s.rotationAxis);
}

int AsteroidPool::collisionDetection(Vector3D* pos, float radius, int weapon, int hits)
{
    Asteroid* asteroid = findTouched(pos, radius);
    if (!asteroid)
        return 0;
    int result;
    int hitsLeft = asteroid->live.numHits - hits;
    if (hitsLeft > 0) {
        asteroid->live.numHits = hitsLeft;
        if (weapon != WEAPON_SHIP)
            playSound(SOUND_HIT_SOFT);
        result = POINTS_PER_HIT;
    } else {
        result = (int)(asteroid->live.radius * POINTS_PER_RADIUS);
        playSound(SOUND_ASTEROID_BREAKS);
        breakUp(asteroid);
    }
    emitBurst(myParticlePool, &asteroid->live.position, &asteroidColor1, HIT_PARTICLES);
    return result;
}

int AsteroidPool::collisionDetection(Vector3D* pos)
{
    return touchingSlotType(asteroids, pos);
}

void AsteroidPool::cleanupAsteroids()
{
    for (Asteroid& asteroid : asteroids) {
        if (asteroid.isInUse && asteroid.remove)
            release(&asteroid);
    }
}

void AsteroidPool::destroyEverything()
{
    for (Asteroid& asteroid : asteroids) {
        if (!asteroid.isInUse)
            continue;
        asteroid.remove = true;
        emitBurst(myParticlePool, &asteroid.live.position, &asteroidColor1, CLEAR_PARTICLES);
    }
}
