#pragma once

#include "Vector3D.h"

// Enemy models (closed line loops in the model's own plane, +y the direction of travel),
// colours, collision radii and points, named per kind.

inline constexpr Vertex3D octoEnemyModelVertexData[9] = {{0.01f, 0.02f, 0},  {0.02f, 0.01f, 0},   {0.02f, -0.01f, 0},
                                                         {0.01f, -0.02f, 0}, {-0.01f, -0.02f, 0}, {-0.02f, -0.01f, 0},
                                                         {-0.02f, 0.01f, 0}, {-0.01f, 0.02f, 0},  {0.01f, 0.02f, 0}};
inline constexpr Vertex3D octoEnemyColor = {0, 1, 0};
inline constexpr float octoEnemyRadius = 0.02f;
inline constexpr int octoEnemyPoints = 100;

inline constexpr Vertex3D diamondEnemyModelVertexData[5] = {
    {0, 0.04f, 0}, {0.02f, 0, 0}, {0, -0.04f, 0}, {-0.02f, 0, 0}, {0, 0.04f, 0}};
inline constexpr Vertex3D diamondEnemyColor = {1, 0, 0.75f};
inline constexpr float diamondEnemyRadius = 0.04f;
inline constexpr int diamondEnemyPoints = 150;

inline constexpr Vertex3D spinnerEnemyModelVertexData[13] = {
    {0.0125f, 0.025f, 0},   {0, 0, 0}, {0.025f, 0.0125f, 0},   {0.025f, -0.0125f, 0}, {0, 0, 0}, {0.0125f, -0.025f, 0},
    {-0.0125f, -0.025f, 0}, {0, 0, 0}, {-0.025f, -0.0125f, 0}, {-0.025f, 0.0125f, 0}, {0, 0, 0}, {-0.0125f, 0.025f, 0},
    {0.0125f, 0.025f, 0}};
inline constexpr Vertex3D spinnerEnemyColor = {1, 0, 0};
inline constexpr float spinnerEnemyRadius = 0.025f;
inline constexpr int spinnerEnemyPoints = 200;

inline constexpr Vertex3D fishEnemyModelVertexData[8] = {{0, 0.03f, 0},       {0.015f, 0, 0},       {0, -0.015f, 0},
                                                         {0.015f, -0.03f, 0}, {-0.015f, -0.03f, 0}, {0, -0.015f, 0},
                                                         {-0.015f, 0, 0},     {0, 0.03f, 0}};
inline constexpr Vertex3D fishEnemyColor = {1, 0.5f, 0};
inline constexpr float fishEnemyRadius = 0.03f;
inline constexpr int fishEnemyPoints = 250;

inline constexpr Vertex3D starEnemyModelVertexData[6] = {{-0.0125f, -0.025f, 0}, {0, 0.0255f, 0},
                                                         {0.0125f, -0.025f, 0},  {-0.025f, 0.01f, 0},
                                                         {0.025f, 0.01f, 0},     {-0.0125f, -0.025f, 0}};
inline constexpr Vertex3D starEnemyColor = {1, 1, 0};
inline constexpr float starEnemyRadius = 0.0125f;
inline constexpr int starEnemyPoints = 250;

inline constexpr Vertex3D spawnerEnemyModelVertexData[18] = {
    {0, 0, 0},         {0.01f, -0.01f, 0},  {0, -0.02f, 0},     {0.02f, -0.01f, 0}, {0.06f, 0, 0},
    {0.04f, 0.02f, 0}, {0.06f, 0.02f, 0},   {0.08f, 0, 0},      {0.03f, -0.03f, 0}, {-0.03f, -0.03f, 0},
    {-0.08f, 0, 0},    {-0.06f, 0.02f, 0},  {-0.04f, 0.02f, 0}, {-0.06f, 0, 0},     {-0.02f, -0.01f, 0},
    {0, -0.02f, 0},    {-0.01f, -0.01f, 0}, {0, 0, 0}};
inline constexpr Vertex3D spawnerEnemyColor = {0, 0.2f, 1};
inline constexpr float spawnerEnemyRadius = 0.08f;
inline constexpr int spawnerEnemyPoints = 500;

// The miner flies the spawner's hull in the asteroids' colour.
inline constexpr const Vertex3D (&minerEnemyModelVertexData)[18] = spawnerEnemyModelVertexData;
inline constexpr Vertex3D minerEnemyColor = {1, 0.7294118f, 0.05882353f};
inline constexpr float minerEnemyRadius = 0.08f;
inline constexpr int minerEnemyPoints = 600;

inline constexpr Vertex3D wellEnemyModelVertexData[13] = {
    {-0.01f, 0.01f, 0},  {-0.03f, 0.03f, 0},  {-0.01f, 0.03f, 0}, {0.01f, 0.01f, 0},  {0.03f, 0.03f, 0},
    {0.03f, 0.01f, 0},   {0.01f, -0.01f, 0},  {0.03f, -0.03f, 0}, {0.01f, -0.03f, 0}, {-0.01f, -0.01f, 0},
    {-0.03f, -0.03f, 0}, {-0.03f, -0.01f, 0}, {-0.01f, 0.01f, 0}};
inline constexpr Vertex3D wellEnemyColor = {0, 0, 1};
inline constexpr float wellEnemyRadius = 0.03f;
inline constexpr int wellEnemyPoints = 900;

// The wellAsteroid is the well's shape in the asteroids' colour.
inline constexpr const Vertex3D (&wellAsteroidModelVertexData)[13] = wellEnemyModelVertexData;
inline constexpr Vertex3D wellAsteroidColor = minerEnemyColor;
inline constexpr float wellAsteroidRadius = 0.03f;
inline constexpr int wellAsteroidPoints = 900;

inline constexpr Vertex3D laserShooterModelVertexData[9] = {{0, 0.01f, 0},      {0.01f, 0, 0},  {0.02f, 0.03f, 0},
                                                            {0.03f, 0, 0},      {0, -0.02f, 0}, {-0.03f, 0, 0},
                                                            {-0.02f, 0.03f, 0}, {-0.01f, 0, 0}, {0, 0.01f, 0}};
inline constexpr Vertex3D laserShooterColor = {0.6705883f, 1, 0};
inline constexpr float laserShooterRadius = 0.03f;
inline constexpr int laserShooterPoints = 500;

inline constexpr Vertex3D laserTurretModelVertexData[7] = {
    {0, 0.01f, 0}, {0.01f, 0.06f, 0}, {0.02f, 0, 0}, {0, -0.02f, 0}, {-0.02f, 0, 0}, {-0.01f, 0.06f, 0}, {0, 0.01f, 0}};
inline constexpr Vertex3D laserTurretColor = laserShooterColor;
inline constexpr float laserTurretRadius = 0.03f;
inline constexpr int laserTurretPoints = 500;

// The square the laser turret stands on, drawn in the turret's colour.
inline constexpr Vertex3D turretBaseModelVertexData[5] = {
    {-0.04f, 0.04f, 0}, {0.04f, 0.04f, 0}, {0.04f, -0.04f, 0}, {-0.04f, -0.04f, 0}, {-0.04f, 0.04f, 0}};
