// Started like every program for the handheld (see compat/start.c): checks
// that each kind of constructor ran once, in the C library's order, with the
// program's arguments, and that the destructors run after main.
//
// The status is the destructors' verdict: main returns 3, and the last
// destructor replaces that with 0 (all ran, each once, in order) or 1; so a
// run whose destructors never ran fails too.
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

char events[32];
int eventCount = 0;
int seenArgc = -1;
const char* seenArgv1 = nullptr;

void record(char event)
{
    if (eventCount < static_cast<int>(sizeof events) - 1)
        events[eventCount++] = event;
}

void preinit(int argc, char** argv, char**)
{
    record('p');
    seenArgc = argc;
    seenArgv1 = argc > 1 ? argv[1] : nullptr;
}
__attribute__((section(".preinit_array"), used)) void (*const preinitEntry)(int, char**, char**) = preinit;

__attribute__((constructor)) void constructorFunction()
{
    record('c');
}

struct StaticObject {
    StaticObject() { record('s'); }
    ~StaticObject() { record('d'); }
} staticObject;

__attribute__((destructor)) void destructorFunction()
{
    record('D');
    // Pre-initialiser first; the constructor function and the object's
    // constructor in either order; then main; the object's destructor (run by
    // exit) before the destructor function (run by the loader's clean-up).
    bool constructors = eventCount == 6 && events[0] == 'p' &&
                        ((events[1] == 'c' && events[2] == 's') || (events[1] == 's' && events[2] == 'c'));
    bool good = constructors && std::strcmp(events + 3, "mdD") == 0 && seenArgc == 2 && seenArgv1 &&
                std::strcmp(seenArgv1, "argument") == 0;
    std::printf("events: %s, argc seen by the pre-initialiser: %d\n", events, seenArgc);
    std::fflush(stdout);
    _exit(good ? 0 : 1);
}

}  // namespace

int main()
{
    record('m');
    std::printf("main after: %s\n", events);
    return 3;
}
