#pragma once

#include <array>
#include <utility>
#include <vector>

// Triangle meshes on the unit sphere, computed in double precision and only
// rounded to float when a table is written.
using Point = std::array<double, 3>;

struct Mesh {
    std::vector<Point> points;
    std::vector<std::array<int, 3>> triangles;
};

using Edge = std::pair<int, int>;

double length(const Point& p);
Point normalized(const Point& p);
Point scaled(const Point& p, double s);

// The regular icosahedron inscribed in the unit sphere: 12 corners, 20 faces.
Mesh icosahedron();

// Splits every triangle into four; the new corners are the edge midpoints
// pushed out to radius 1.
Mesh subdivided(const Mesh& mesh);

// Every edge of the mesh once, in the order the triangles first use it.
std::vector<Edge> edges(const Mesh& mesh);
