#pragma once
// src/Game: the player, the skulls and the game session with aim, shots, waves and score.
// Uses the engine, import, navigation and sound; the GUI hears of it through callbacks.
//
// The game in progress: the player, the skulls and their spawn waves, the aim
// under the mouse cursor, the player's shots, the score and the end of the
// game. The GUI learns of score changes and of the end through callbacks
// the application installs.
#include "Engine/Base/Singleton.h"
#include "Engine/Collision/CollidableRenderObject.h"
#include "Engine/Scene/Math.h"

#include <functional>
#include <vector>

class AIAgent;
class PlayerCharacter;

class GameSession : public Singleton<GameSession> {
public:
    static constexpr double waveInterval = 5.0;  // seconds between spawn waves
    static constexpr int waveSize = 7;
    static constexpr size_t maxEnemiesBeforeWave = 30;
    static constexpr float shotDamage = 25.0f;

    // The first wave (it waits for the game to start) and the player.
    void setUp();
    // One frame while a game runs; `dt` in seconds.
    void update(double dt);
    void fire();
    void startGame();
    void endGame();
    // Deletes every skull; the game goes on (endGame calls it).
    void clearEnemies();
    void spawnWave();

    // Where the GUI's mouse cursor is this frame, in window pixels.
    void setCursor(float x, float y) { cursorX = x; cursorY = y; }
    // The first player, or null.
    PlayerCharacter* player() const { return players.empty() ? nullptr : players.front(); }
    // The player's health over his maximum, 0 without a player.
    float playerHealthFraction() const;

    std::function<void(int)> onScoreChanged; // new score, for both score labels
    std::function<void()> onGameEnded;       // show the menu

    double spawnTimer = 0.0;
    int score = 0;
    bool aimValid = false;
    Vec3 aimPoint;
    std::vector<Vec3>* spawnPoints; // filled by the level import
    std::vector<AIAgent*> enemies;
    std::vector<PlayerCharacter*> players;

private:
    friend class Singleton<GameSession>;
    GameSession();
    void aim();
    void updateEnemies(double dt);
    // The character hit by a shot from `source` towards the aim point, or null.
    class HealthObject* shoot(Vec3 source);
    void showScore();

    float cursorX = 0.0f, cursorY = 0.0f;
    std::vector<HitRecord> aimHits; // kept between frames so that aiming does not allocate
};
