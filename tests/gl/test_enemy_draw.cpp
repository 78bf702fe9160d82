#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "Game.h"
#include "gl_fixture.h"

namespace {
// The camera of a new game: above the ship at (0, 0, 1), four radii from the
// centre, +y up, a view 25 degrees tall on an 800 x 480 screen.
constexpr float kEyeDistance = 4;
const float kTanHalfHeight = std::tan(12.5f * 3.14159265f / 180);
const float kTanHalfWidth = kTanHalfHeight * 800 / 480;

struct ScreenPoint {
    int x, y;
};

// The point at distance radius from the centre that shows at screen (x, y):
// on the side facing the camera, or on the far side of the arena.
Vector3D pointSeenAt(float x, float y, float radius, bool farSide = false)
{
    // Along the view ray, x and y are u and v times the depth 4 - z.
    float u = (x - 400) / 400 * kTanHalfWidth;
    float v = (240 - y) / 240 * kTanHalfHeight;
    float s = u * u + v * v;
    float a = 1 + s, b = -2 * kEyeDistance * s, c = kEyeDistance * kEyeDistance * s - radius * radius;
    float root = std::sqrt(b * b - 4 * a * c);
    float z = (-b + (farSide ? -root : root)) / (2 * a);
    return Vector3D(u * (kEyeDistance - z), v * (kEyeDistance - z), z);
}

// Ink of one colour: the pixel's channels keep the colour's proportions.
bool sameHue(const GlTest::Rgba& p, const Vector3D& color)
{
    float top = std::max({p.r, p.g, p.b});
    if (top < 90)
        return false;
    float scale = top / std::max({color.x, color.y, color.z});
    float tolerance = 0.2f * top;
    return std::fabs(p.r - color.x * scale) <= tolerance && std::fabs(p.g - color.y * scale) <= tolerance &&
           std::fabs(p.b - color.z * scale) <= tolerance;
}

bool isBright(const GlTest::Rgba& p)
{
    return std::max({p.r, p.g, p.b}) >= 200;
}

// Pixels of a colour in the box of half-size `half` around a point, split into
// the bright core lines and the dimmer glow around them.
struct Ink {
    int core = 0, glow = 0;
};

Ink inkAround(const std::vector<GlTest::Rgba>& frame, ScreenPoint at, int half, const Vector3D& color)
{
    Ink ink;
    for (int y = std::max(0, at.y - half); y <= std::min(479, at.y + half); y++)
        for (int x = std::max(0, at.x - half); x <= std::min(799, at.x + half); x++) {
            const GlTest::Rgba p = GlTest::pixel(frame, x, y);
            if (!sameHue(p, color))
                continue;
            (isBright(p) ? ink.core : ink.glow)++;
        }
    return ink;
}

struct Placed {
    int type;
    ScreenPoint at;
    Vector3D color;
};

// The eleven kinds in their colours on a grid around the ship in the middle of
// the screen, far enough apart that the boxes below never see a neighbour.
const Vector3D kAmber(1, 0.7294118f, 0.05882353f);
const Vector3D kLime(0.6705883f, 1, 0);
const Placed kEnemyGrid[] = {
    {OCTO_ENEMY, {230, 110}, {0, 1, 0}},    {DIAMOND_ENEMY, {340, 110}, {1, 0, 0.75f}},
    {SPINNER_ENEMY, {460, 110}, {1, 0, 0}}, {FISH_ENEMY, {570, 110}, {1, 0.5f, 0}},
    {STAR_ENEMY, {200, 240}, {1, 1, 0}},    {SPAWNER_ENEMY, {300, 240}, {0, 0.2f, 1}},
    {LASER_TURRET, {500, 240}, kLime},      {MINER_ENEMY, {600, 240}, kAmber},
    {WELL_ENEMY, {230, 370}, {0, 0, 1}},    {WELL_ASTEROID, {340, 370}, kAmber},
    {LASER_SHOOTER, {460, 370}, kLime},
};
constexpr int kEnemyBox = 36;

// Asteroids: amber lines in a dimmer brown glow.
const Vector3D kRockGlow(0.54509807f, 0.4117647f, 0.078431375f);
const ScreenPoint kLandedRock = {570, 370};
const ScreenPoint kFallingRock = {70, 130};  // beyond the arena's left edge

class EnemyDrawTest : public GameGlTest {
protected:
    void SetUp() override
    {
        srand(7);
        GameGlTest::SetUp();
    }

    // Each kind is created the way a wave creates it, from an offset in degrees
    // of arc around the ship; one move gives it its heading and frame.
    void placeEnemies()
    {
        Vector3D* ship = game->player.getPosition();
        for (const Placed& e : kEnemyGrid) {
            Vector3D p = pointSeenAt(e.at.x, e.at.y, 1);
            float arc = std::acos(p.z) * 180 / 3.14159265f;
            float planar = std::hypot(p.x, p.y);
            game->enemies.create(e.type, arc * p.x / planar, arc * p.y / planar, ship, game->player.getyRef());
        }
        game->enemies.updatePhysics(1.0 / 60, ship);
    }

    // A fragment lying on the arena, and a large rock still falling in from
    // three radii out, on the far side of the arena.
    void placeAsteroids()
    {
        Vector3D landed = pointSeenAt(kLandedRock.x, kLandedRock.y, 1), axis(0, 1, 0);
        game->asteroids.createFragment(0.1f, &landed, &axis);
        Asteroid* falling = game->asteroids.firstAvailable;
        game->asteroids.createIncoming();
        falling->live.position = pointSeenAt(kFallingRock.x, kFallingRock.y, 3, true);
    }
};
}  // namespace

TEST_F(EnemyDrawTest, EveryKindAndBothAsteroidStatesGlowInTheirColours)
{
    const std::vector<Rgba> empty = drawFrame();
    placeEnemies();
    placeAsteroids();
    const std::vector<Rgba> frame = drawFrame();
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    savePng(frame, "enemies_frame.png");

    // Each kind is drawn where it stands, as a bright line with its glow around it;
    // the arena's own blue lines are discounted through the frame drawn before.
    for (const Placed& e : kEnemyGrid) {
        SCOPED_TRACE("enemy type " + std::to_string(e.type));
        Ink ink = inkAround(frame, e.at, kEnemyBox, e.color);
        Ink arena = inkAround(empty, e.at, kEnemyBox, e.color);
        EXPECT_GT(ink.core - arena.core, 15);
        EXPECT_GT(ink.glow - arena.glow, 25);
    }

    for (ScreenPoint rock : {kLandedRock, kFallingRock}) {
        SCOPED_TRACE("asteroid at " + std::to_string(rock.x) + "," + std::to_string(rock.y));
        EXPECT_GT(inkAround(frame, rock, 60, kAmber).core - inkAround(empty, rock, 60, kAmber).core, 40);
        EXPECT_GT(inkAround(frame, rock, 60, kRockGlow).glow - inkAround(empty, rock, 60, kRockGlow).glow, 80);
    }
}

// The base is a square 0.08 across: its corners show about 14 pixels out on
// both axes, while the narrow turret points along its line of fire.
TEST_F(EnemyDrawTest, TheLaserTurretTurnsOnItsSquareBase)
{
    placeEnemies();
    const Placed& turret = kEnemyGrid[6];
    ASSERT_EQ(turret.type, LASER_TURRET);
    auto inkAt = [&](const std::vector<Rgba>& frame, int dx, int dy) {
        Ink ink = inkAround(frame, {turret.at.x + dx, turret.at.y + dy}, 2, turret.color);
        return ink.core + ink.glow;
    };

    // Facing the ship on its left, the turret and its base share their heading.
    std::vector<Rgba> frame = drawFrame();
    for (int dx : {-14, 14})
        for (int dy : {-14, 14})
            EXPECT_GE(inkAt(frame, dx, dy), 5) << "corner " << dx << "," << dy;

    // A target up and to the left turns the turret by about 45 degrees. The
    // turret's tip now covers the top left corner; the other three corners are
    // the square's, the points 20 pixels right and down a turned square's.
    Vector3D target = pointSeenAt(turret.at.x - 100, turret.at.y - 100, 1);
    game->enemies.updatePhysics(1.0 / 60, &target);
    frame = drawFrame();
    const int corners[][2] = {{-14, 14}, {14, -14}, {14, 14}};
    const int turnedCorners[][2] = {{20, 0}, {0, 20}};
#ifdef ZYNTHRA_CLASSIC
    // The classic base turns with the turret.
    for (auto& c : corners)
        EXPECT_LT(inkAt(frame, c[0], c[1]), 2) << "corner " << c[0] << "," << c[1];
    for (auto& c : turnedCorners)
        EXPECT_GE(inkAt(frame, c[0], c[1]), 5) << "corner " << c[0] << "," << c[1];
#else
    // The base keeps the heading it was placed with.
    for (auto& c : corners)
        EXPECT_GE(inkAt(frame, c[0], c[1]), 5) << "corner " << c[0] << "," << c[1];
    for (auto& c : turnedCorners)
        EXPECT_LT(inkAt(frame, c[0], c[1]), 2) << "corner " << c[0] << "," << c[1];
#endif
}
