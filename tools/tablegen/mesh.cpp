#include "mesh.h"

#include <cmath>
#include <map>

double length(const Point& p)
{
    return std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
}

Point scaled(const Point& p, double s)
{
    return {p[0] * s, p[1] * s, p[2] * s};
}

Point normalized(const Point& p)
{
    return scaled(p, 1.0 / length(p));
}

Mesh icosahedron()
{
    const double t = (1.0 + std::sqrt(5.0)) / 2.0;
    Mesh mesh;
    const Point corners[12] = {
        {-1, t, 0},  {1, t, 0},  {-1, -t, 0}, {1, -t, 0}, {0, -1, t},  {0, 1, t},
        {0, -1, -t}, {0, 1, -t}, {t, 0, -1},  {t, 0, 1},  {-t, 0, -1}, {-t, 0, 1},
    };
    for (const Point& c : corners)
        mesh.points.push_back(normalized(c));
    mesh.triangles = {
        {0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
        {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
        {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1},
    };
    return mesh;
}

namespace {

Edge key(int a, int b)
{
    return a < b ? Edge(a, b) : Edge(b, a);
}

}  // namespace

Mesh subdivided(const Mesh& mesh)
{
    Mesh out;
    out.points = mesh.points;
    std::map<Edge, int> midpoints;
    auto midpoint = [&](int a, int b) {
        auto found = midpoints.find(key(a, b));
        if (found != midpoints.end())
            return found->second;
        const Point& p = mesh.points[a];
        const Point& q = mesh.points[b];
        out.points.push_back(normalized({p[0] + q[0], p[1] + q[1], p[2] + q[2]}));
        int index = static_cast<int>(out.points.size()) - 1;
        midpoints[key(a, b)] = index;
        return index;
    };
    for (const auto& t : mesh.triangles) {
        int ab = midpoint(t[0], t[1]);
        int bc = midpoint(t[1], t[2]);
        int ca = midpoint(t[2], t[0]);
        out.triangles.push_back({t[0], ab, ca});
        out.triangles.push_back({t[1], bc, ab});
        out.triangles.push_back({t[2], ca, bc});
        out.triangles.push_back({ab, bc, ca});
    }
    return out;
}

std::vector<Edge> edges(const Mesh& mesh)
{
    std::vector<Edge> list;
    std::map<Edge, bool> seen;
    for (const auto& t : mesh.triangles) {
        for (int i = 0; i < 3; ++i) {
            Edge e(t[i], t[(i + 1) % 3]);
            if (seen.emplace(key(e.first, e.second), true).second)
                list.push_back(e);
        }
    }
    return list;
}
