#pragma once

// Counts the GL calls a program makes, through link-time wrapping: every GL entry point listed in
// gl_call_counter.cpp is linked as __wrap_<name>, which counts and calls the real one. Link a
// target with it through zynthra_count_gl_calls() (tests/ZynthraTest.cmake).
namespace gl_call_counter {

struct Counts {
    long calls = 0;      // every counted GL call
    long drawCalls = 0;  // glDrawArrays and glDrawElements
    long vertices = 0;   // vertices handed to those draw calls
};

// The counts since the last reset.
const Counts& counts();
void reset();

}  // namespace gl_call_counter
