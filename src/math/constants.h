#pragma once

// Numbers several modules share, written once. The angle factors and the
// random scale are the exact single-precision values the rules were tuned
// with: a rounder or more precise value would change the game.

// The handheld's screen, and the fixed viewport the game draws into.
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 480;

constexpr float PI_F = 3.14159274f;
constexpr float DEG_TO_RAD = 0.017453292f;
constexpr float RAD_TO_DEG = 57.295776f;

// Turns rand() into a fraction of 0..1: 1/RAND_MAX (2^-31) in single precision.
constexpr float RAND_SCALE = 4.656613e-10f;
