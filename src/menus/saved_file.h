#pragma once

#include <cstddef>
#include <functional>
#include <string>

// The player's own files (settings, high scores): read with bounds, replaced
// whole under a lock, so two programs sharing a folder, a full disk, links and
// planted files cannot cost the player what was there.

// What became of an attempt to read a saved file.
enum class FileRead { read, missing, unreadable };

// The most that is read of a saved file: the game writes a few hundred bytes.
const size_t savedFileLimit = 64 * 1024;

// Reads the regular file fileName (links followed) into contents without
// blocking, at most savedFileLimit bytes; a file cut there loses its last,
// partial line, and one with no whole line there is unreadable. So is
// anything else that exists (a directory, pipe, device, socket) or cannot be
// opened or read; then reason, when given, says why.
FileRead readSavedFile(const char* fileName, std::string& contents, std::string* reason = nullptr);

// The new contents of a file, made from what it holds now: nullptr when it is
// missing, else its contents as readSavedFile gives them.
using ComposeContents = std::function<std::string(const std::string* current)>;

// Replaces fileName with what compose makes of it. A link is written through:
// the file it leads to is replaced, in its own folder and with its own mode.
// Under an exclusive lock on a lock file beside that file, the file is read
// again, the new contents go to a fresh temporary file beside it, which is
// synced and renamed over it, and the folder is synced. A file that exists but
// cannot be read is never replaced. Returns "" once saved, else the reason.
std::string saveFile(const char* fileName, const ComposeContents& compose);
