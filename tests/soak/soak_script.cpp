// Writes one random run of the soak: a pad script for vpad and, optionally, the
// settings and high-score files the run starts from, all from one seed, so
// that the same seed always gives the same run.
//
//   soak_script SEED SECONDS [FOLDER]
//
// The script holds the game's clock with the seed, starts a game, then plays
// SECONDS of game time in random episodes (play with random buttons and nub
// extremes, rapid toggles, pauses, menu walks, name entry, idling) and ends
// the program with `quit`. It logs "tick" once a second of game time, which
// the soak's watchdog reads as progress.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const int framesPerSecond = 60;

class Dice {
public:
    explicit Dice(uint32_t seed) : engine_(seed) {}
    // From low to high inclusive. Plain modulo on the engine's output, so the
    // same seed gives the same run with any standard library.
    int between(int low, int high) { return low + (int)(engine_() % (uint32_t)(high - low + 1)); }
    bool chance(int percent) { return between(1, 100) <= percent; }
    template <typename T>
    const T& pick(const std::vector<T>& from)
    {
        return from[between(0, (int)from.size() - 1)];
    }

private:
    std::mt19937 engine_;
};

const std::vector<std::string> playButtons = {"a", "b", "x", "y", "l", "r", "up", "down", "left", "right"};
const std::vector<std::string> menuButtons = {"up", "down", "left", "right", "x", "b", "up", "down"};
// Nub values from rest through full deflection to the device's own limits.
const std::vector<int> nubValues = {0, 0, 256, -256, 181, -181, 264, -265, 32767, -32768, 100, -37};

// Lines of the script by the frame they happen in.
class Script {
public:
    void at(long frame, const std::string& line) { lines_[frame].push_back(line); }
    void tap(long frame, const std::string& button, int frames = 2)
    {
        at(frame, "press " + button);
        at(frame + frames, "release " + button);
    }
    void write(std::FILE* out, uint32_t seed) const
    {
        std::fprintf(out, "# soak run %u\nseed %u\n", seed, seed);
        for (const auto& [frame, lines] : lines_) {
            std::fprintf(out, "frame %ld\n", frame);
            for (const auto& line : lines)
                std::fprintf(out, "%s\n", line.c_str());
        }
    }

private:
    std::map<long, std::vector<std::string>> lines_;
};

// Each episode adds its lines from frame `now` on and returns where it ended.
long play(Script& s, Dice& d, long now)
{
    const long end = now + d.between(2, 8) * framesPerSecond;
    while (now < end) {
        now += d.between(1, 30);
        const int what = d.between(0, 9);
        if (what < 4)
            s.at(now, std::string(d.chance(50) ? "nub0 " : "nub1 ") + std::to_string(d.pick(nubValues)) + " " +
                          std::to_string(d.pick(nubValues)));
        else
            s.at(now, std::string(d.chance(60) ? "press " : "release ") + d.pick(playButtons));
    }
    for (const auto& button : playButtons)
        s.at(now, "release " + button);
    return now;
}

long rapidToggles(Script& s, Dice& d, long now)
{
    const std::string button = d.pick(playButtons);
    const int count = d.between(10, 60);
    for (int i = 0; i < count; i++)
        s.at(now + i, std::string(i % 2 ? "release " : "press ") + button);
    s.at(now + count, "release " + button);
    return now + count + 1;
}

// Taps spaced past the menus' 0.2 s gate, and sometimes inside it.
long menuWalk(Script& s, Dice& d, long now, const std::vector<std::string>& buttons, int taps)
{
    for (int i = 0; i < taps; i++) {
        s.tap(now, d.pick(buttons));
        now += d.chance(85) ? d.between(14, 30) : d.between(3, 10);
    }
    return now;
}

long pause(Script& s, Dice& d, long now)
{
    s.tap(now, "start");
    now = menuWalk(s, d, now + 20, {"up", "down", "left", "right", "b", "x"}, d.between(0, 5));
    s.tap(now, "start");
    return now + 70;  // the second's countdown before play goes on
}

// Letters typed during play go nowhere, so the only way to be sure of a name
// is the pad: the game finishes name entry on X.
long nameEntry(Script& s, Dice& d, long now)
{
    return menuWalk(s, d, now, {"x", "b", "up", "x"}, d.between(1, 3));
}

long idle(Script&, Dice& d, long now)
{
    return now + d.between(30, 400);
}

void writeScript(uint32_t seed, long seconds, std::FILE* out)
{
    Dice d(seed);
    Script s;
    long now = 30;
    s.tap(now, "x");  // New Game from the main menu
    now += 40;
    const long end = now + seconds * framesPerSecond;
    while (now < end) {
        const int what = d.between(0, 99);
        if (what < 40)
            now = play(s, d, now);
        else if (what < 50)
            now = rapidToggles(s, d, now);
        else if (what < 60)
            now = pause(s, d, now);
        else if (what < 85)
            now = menuWalk(s, d, now, menuButtons, d.between(2, 10));
        else if (what < 93)
            now = nameEntry(s, d, now);
        else
            now = idle(s, d, now);
    }
    for (long f = framesPerSecond; f < now; f += framesPerSecond)
        s.at(f, "log tick");
    s.at(now + 1, "log end of script");
    s.at(now + 1, "quit");
    s.write(out, seed);
}

std::string randomName(Dice& d)
{
    static const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name;
    for (int i = d.between(0, 13); i > 0; i--)
        name += letters[d.between(0, (int)letters.size() - 1)];
    return name;
}

// The files a player could have left: usually valid, sometimes missing.
void writeFiles(uint32_t seed, const std::string& folder)
{
    Dice d(seed ^ 0x5eedf11eu);
    if (d.chance(80)) {
        std::ofstream config(folder + "/config.txt");
        config << "movement\t" << d.between(0, 3) << "\nfiring\t" << d.between(0, 3) << "\nsound\t" << d.between(0, 100)
               << "\nmusic\t" << d.between(0, 100) << "\n";
    }
    if (d.chance(80)) {
        std::ofstream scores(folder + "/highScores.txt");
        int score = d.chance(30) ? d.between(-1, 100) : d.between(1000, 1000000);
        for (int row = 0; row < 10; row++) {
            scores << randomName(d) << "\t" << score << "\n";
            score -= d.between(0, score > 0 ? score / 3 + 1 : 1);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: soak_script SEED SECONDS [FOLDER]\n");
        return 2;
    }
    const uint32_t seed = (uint32_t)std::strtoul(argv[1], nullptr, 10);
    writeScript(seed, std::strtol(argv[2], nullptr, 10), stdout);
    if (argc == 4)
        writeFiles(seed, argv[3]);
    return 0;
}
