// The generated geometry and colour tables meet what the drawing code assumes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <utility>
#include <vector>

#include "ColorRamp.h"
#include "Sphere.h"
#include "asteroidInfo.h"

namespace {

double length(const Vertex3D& v)
{
    return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
}

bool samePoint(const Vertex3D& a, const Vertex3D& b)
{
    return std::fabs(a.x - b.x) < 1e-4f && std::fabs(a.y - b.y) < 1e-4f && std::fabs(a.z - b.z) < 1e-4f;
}

// A line list read back as a graph: its distinct corners and its edges as
// pairs of corner indices.
struct Graph {
    std::vector<Vertex3D> corners;
    std::vector<std::pair<int, int>> edges;

    int cornerIndex(const Vertex3D& v)
    {
        for (std::size_t i = 0; i < corners.size(); ++i)
            if (samePoint(corners[i], v))
                return int(i);
        corners.push_back(v);
        return int(corners.size()) - 1;
    }

    std::vector<int> degrees() const
    {
        std::vector<int> d(corners.size(), 0);
        for (const auto& e : edges) {
            ++d[e.first];
            ++d[e.second];
        }
        return d;
    }

    std::size_t distinctEdges() const
    {
        std::set<std::pair<int, int>> unordered;
        for (const auto& e : edges)
            unordered.insert(std::minmax(e.first, e.second));
        return unordered.size();
    }
};

Graph lineList(const Vertex3D* vertices, int count)
{
    Graph g;
    for (int i = 0; i + 1 < count; i += 2)
        g.edges.push_back({g.cornerIndex(vertices[i]), g.cornerIndex(vertices[i + 1])});
    return g;
}

// An icosphere's corners all have five neighbours (the twelve original
// corners) or six (every corner added by subdivision).
void expectIcosphereTopology(const Graph& g, std::size_t corners, std::size_t edges)
{
    EXPECT_EQ(g.corners.size(), corners);
    EXPECT_EQ(g.edges.size(), edges);
    EXPECT_EQ(g.distinctEdges(), edges) << "an edge is listed twice";
    for (const auto& e : g.edges)
        EXPECT_NE(e.first, e.second) << "degenerate edge";
    std::vector<int> d = g.degrees();
    EXPECT_EQ(std::count(d.begin(), d.end(), 5), 12);
    EXPECT_EQ(std::count(d.begin(), d.end(), 6), long(corners) - 12);
}

Graph sphereGraph()
{
    std::vector<Vertex3D> positions;
    for (const VertexData3D& v : icoSphereVertexData)
        positions.push_back(v.vertex);
    return lineList(positions.data(), int(positions.size()));
}

}  // namespace

TEST(SphereTable, IsTheEdgeListOfAThriceSubdividedIcosahedron)
{
    ASSERT_EQ(icoSphereNumberOfVertices, 3840);
    ASSERT_EQ(sizeof icoSphereVertexData / sizeof icoSphereVertexData[0], 3840u);
    Graph g = sphereGraph();
    expectIcosphereTopology(g, 642, 1920);

    // Neighbouring corners are close: no edge cuts across the sphere.
    for (const auto& e : g.edges) {
        const Vertex3D& a = g.corners[e.first];
        const Vertex3D& b = g.corners[e.second];
        Vertex3D d{a.x - b.x, a.y - b.y, a.z - b.z};
        EXPECT_GT(length(d), 0.09);
        EXPECT_LT(length(d), 0.2);
    }
}

TEST(SphereTable, PositionsOnTheUnitSphereWithOutwardNormals)
{
    for (int i = 0; i < icoSphereNumberOfVertices; ++i) {
        const VertexData3D& v = icoSphereVertexData[i];
        ASSERT_NEAR(length(v.vertex), 1.0, 1e-5) << "entry " << i;
        Vertex3D n{v.normal.x, v.normal.y, v.normal.z};
        ASSERT_NEAR(length(n), 1.0, 1e-5) << "entry " << i;
        Vertex3D off{n.x - v.vertex.x, n.y - v.vertex.y, n.z - v.vertex.z};
        ASSERT_LE(length(off), 0.014) << "entry " << i;
    }
}

TEST(ColorRampTable, TellingRows)
{
    ASSERT_EQ(colorRampCount, 256);
    ASSERT_EQ(sizeof colorRamp / sizeof colorRamp[0], 256u);
    const struct {
        int row;
        float r, g, b;
    } rows[] = {
        {0, 0, 0, 255},     {1, 0, 3, 255},   {32, 0, 127, 255}, {63, 0, 252, 255},
        {64, 0, 255, 254},  {127, 0, 255, 1}, {128, 1, 255, 0},  {191, 254, 255, 0},
        {192, 255, 252, 0}, {254, 255, 3, 0}, {255, 255, 0, 0},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(colorRamp[r.row].x, r.r) << "row " << r.row;
        EXPECT_EQ(colorRamp[r.row].y, r.g) << "row " << r.row;
        EXPECT_EQ(colorRamp[r.row].z, r.b) << "row " << r.row;
    }
}

TEST(ColorRampTable, MovesInSmallWholeSteps)
{
    for (int i = 0; i < 256; ++i) {
        for (float c : {colorRamp[i].x, colorRamp[i].y, colorRamp[i].z}) {
            EXPECT_EQ(c, std::floor(c)) << "row " << i;
            EXPECT_GE(c, 0.0f) << "row " << i;
            EXPECT_LE(c, 255.0f) << "row " << i;
        }
    }
    for (int i = 1; i < 256; ++i) {
        const Vertex3D& a = colorRamp[i - 1];
        const Vertex3D& b = colorRamp[i];
        float change = std::fabs(b.x - a.x) + std::fabs(b.y - a.y) + std::fabs(b.z - a.z);
        EXPECT_GE(change, 1.0f) << "rows " << i - 1 << " and " << i << " are the same colour";
        EXPECT_LE(change, 5.0f) << "jump between rows " << i - 1 << " and " << i;
    }
}

namespace {

struct RockModel {
    const char* name;
    const Vertex3D* vertices;
    std::size_t count;
    std::size_t expectedCount;
    std::size_t corners;
    int unmoved;
    double nearest, farthest;
};

const RockModel rocks[] = {
    {"sAsteroid1", sAsteroid1VertexData, std::size(sAsteroid1VertexData), 60, 12, 4, 0.1, 1.45},
    {"sAsteroid2", sAsteroid2VertexData, std::size(sAsteroid2VertexData), 60, 12, 3, 0.1, 1.45},
    {"sAsteroid3", sAsteroid3VertexData, std::size(sAsteroid3VertexData), 60, 12, 8, 0.1, 1.45},
    {"lAsteroid1", lAsteroid1VertexData, std::size(lAsteroid1VertexData), 240, 42, 23, 0.39, 1.32},
    {"lAsteroid2", lAsteroid2VertexData, std::size(lAsteroid2VertexData), 240, 42, 22, 0.39, 1.32},
    {"lAsteroid3", lAsteroid3VertexData, std::size(lAsteroid3VertexData), 240, 42, 24, 0.39, 1.32},
};

}  // namespace

TEST(AsteroidModels, AreDistortedIcospheres)
{
    for (const RockModel& rock : rocks) {
        SCOPED_TRACE(rock.name);
        ASSERT_EQ(rock.count, rock.expectedCount);
        Graph g = lineList(rock.vertices, int(rock.count));
        expectIcosphereTopology(g, rock.corners, rock.count / 2);

        int onSphere = 0;
        for (const Vertex3D& c : g.corners) {
            double r = length(c);
            if (std::fabs(r - 1.0) < 1e-5)
                ++onSphere;
            else {
                EXPECT_GE(r, rock.nearest);
                EXPECT_LE(r, rock.farthest);
            }
        }
        EXPECT_EQ(onSphere, rock.unmoved);
    }
}

TEST(AsteroidModels, ThreeDifferentShapesOfEachSize)
{
    for (int first : {0, 3}) {
        for (int i = first; i < first + 3; ++i)
            for (int j = i + 1; j < first + 3; ++j)
                EXPECT_FALSE(
                    std::equal(rocks[i].vertices, rocks[i].vertices + rocks[i].count, rocks[j].vertices, samePoint))
                    << rocks[i].name << " and " << rocks[j].name;
    }
}
