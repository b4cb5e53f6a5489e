#include "Game/GameSession.h"

#include "Engine/Base/Globals.h"
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Scene/CameraState.h"
#include "Game/AIAgent.h"
#include "Game/PlayerCharacter.h"
#include "Import/CameraManager.h"
#include "Import/GameObjects.h"
#include "Sound/SoundManager.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

// The aim point lies on the surface the cursor's ray met, where a segment
// ending there may just miss it; the shot's level test reaches this far
// beyond, so that a wall under the cursor stops the shot.
constexpr float levelTestOvershoot = 0.1f; // metres

} // namespace

GameSession::GameSession() : spawnPoints(&::spawnPoints()) {}

void GameSession::setUp()
{
    spawnWave();
    players.push_back(new PlayerCharacter());
}

void GameSession::update(double dt)
{
    aim();
    float yaw = CameraManager::getInstance()->followYaw();
    for (PlayerCharacter* each : players) {
        if (!each->update(dt, yaw, aimValid, aimPoint)) {
            std::cout << "Der Spieler ist tot" << std::endl;
            endGame();
            return;
        }
    }
    updateEnemies(dt);
    spawnTimer += dt;
    if (spawnTimer >= waveInterval) {
        spawnWave();
        spawnTimer = 0.0;
    }
}

// The point under the mouse cursor: the first level or character hit along
// the cursor's ray from the near plane to the far plane.
void GameSession::aim()
{
    Vec4 ndc{2.0f * cursorX / screenWidth - 1.0f, 1.0f - 2.0f * cursorY / screenHeight, 0.0f, 1.0f};
    Vec4 unprojected = (currentCamera.projectionMatrix * currentCamera.viewMatrix).inverse() * ndc;
    if (unprojected.w == 0.0f) {
        aimValid = false;
        return;
    }
    Vec3 nearPoint{unprojected.x / unprojected.w, unprojected.y / unprojected.w, unprojected.z / unprojected.w};
    Vec3 direction = normalize(nearPoint - currentCamera.eye);
    Vec3 start = nearPoint + direction;
    Vec3 end = nearPoint + direction * (currentCamera.farPlane - currentCamera.nearPlane);

    CollisionWorld* world = CollisionWorld::getInstance();
    float fraction = 0.0f;
    bool levelHit = world->rayHitsLevel(start, end, fraction);
    bool objectHit = world->rayTestObjects(start, end, aimHits);
    aimValid = levelHit || objectHit;
    if (!aimValid)
        return;
    if (objectHit && (!levelHit || aimHits.front().distance <= fraction))
        fraction = aimHits.front().distance;
    aimPoint = start + (end - start) * fraction;
}

void GameSession::updateEnemies(double dt)
{
    for (size_t i = 0; i < enemies.size();) {
        AIAgent* enemy = enemies[i];
        enemy->update(dt, players);
        if (!enemy->alive) {
            delete enemy;
            enemies.erase(enemies.begin() + i);
        } else {
            ++i;
        }
    }
}

void GameSession::fire()
{
    PlayerCharacter* shooter = player();
    if (!shooter)
        return;
    Vec3 source{shooter->shotSourceWorld.x, shooter->shotSourceWorld.y, shooter->shotSourceWorld.z};
    shooter->showShot();
    HealthObject* hit = shoot(source);
    if (!hit || !hit->alive)
        return;
    if (hit->takeDamage(shotDamage)) {
        ++score;
        showScore();
    }
    std::cout << "Health: " << hit->health << std::endl;
}

HealthObject* GameSession::shoot(Vec3 source)
{
    CollisionWorld* world = CollisionWorld::getInstance();
    float fraction = 0.0f;
    Vec3 levelEnd = aimPoint + normalize(aimPoint - source) * levelTestOvershoot;
    bool levelHit = world->rayHitsLevel(source, levelEnd, fraction);
    float levelDistance = length(levelEnd - source) * fraction;
    std::vector<HitRecord> hits;
    if (!world->shotTest(source, aimPoint, hits))
        return nullptr;
    // The player's own meshes may reach ahead of the muzzle (the flashlight
    // under the barrel); the wall is measured against the character hit.
    for (const HitRecord& hit : hits) {
        HealthObject* owner = world->getOwner(hit.object);
        if (dynamic_cast<PlayerCharacter*>(owner))
            continue; // the player cannot shoot himself
        if (levelHit && hit.distance > levelDistance)
            return nullptr; // a wall is in the way
        return owner;
    }
    return nullptr;
}

void GameSession::spawnWave()
{
    if (enemies.size() > maxEnemiesBeforeWave)
        return;
    for (int i = 0; i < waveSize && !spawnPoints->empty(); ++i) {
        int count = static_cast<int>(spawnPoints->size());
        // Scaled by the library's own range: glibc's rand() reaches 2^31 - 1,
        // where a fixed 32768 would send every enemy to the last point.
        int index = std::clamp(static_cast<int>(std::rand() / (RAND_MAX + 1.0) * count), 0, count - 1);
        auto* enemy = new AIAgent();
        enemy->teleport((*spawnPoints)[index]);
        enemies.push_back(enemy);
    }
}

void GameSession::startGame()
{
    PlayerCharacter* first = player();
    if (first)
        first->teleport({0.0f, 0.0f, 0.0f});
    gameRunning = true;
    if (first) {
        first->health = first->maxHealth;
        first->alive = true;
    }
    SoundManager::getInstance()->startMusic();
    score = 0;
    showScore();
}

void GameSession::clearEnemies()
{
    while (!enemies.empty()) {
        delete enemies.back();
        enemies.pop_back();
    }
}

void GameSession::endGame()
{
    clearEnemies();
    if (onGameEnded)
        onGameEnded();
    gameRunning = false;
}

float GameSession::playerHealthFraction() const
{
    PlayerCharacter* first = player();
    return first && first->maxHealth > 0.0f ? first->health / first->maxHealth : 0.0f;
}

void GameSession::showScore()
{
    if (onScoreChanged)
        onScoreChanged(score);
}
