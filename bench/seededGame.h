#pragma once
// A fresh game that plays the same way every run, for the frame benchmark and
// the reference pictures: the start-up's random first wave is thrown away, the
// random generator is seeded, the game starts and the in-game screen shows.

namespace seededgame {

constexpr unsigned randomSeed = 1307;
constexpr float cursorX = 512.0f; // window pixels: ahead of the player, on the floor
constexpr float cursorY = 300.0f;

// Starts the game with the generator seeded with `randomSeed` and the GUI
// cursor at (cursorX, cursorY).
void start();

} // namespace seededgame
