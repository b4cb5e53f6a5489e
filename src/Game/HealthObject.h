#pragma once
// Health of a character (the player and the skulls). A hit mesh leads back to
// its character through the collision world's owner map.

class HealthObject {
public:
    virtual ~HealthObject() = default;

    // Subtracts `damage`; at 0 the character dies. True when this hit killed it.
    bool takeDamage(float damage)
    {
        health -= damage;
        if (health > 0.0f)
            return false;
        health = 0.0f;
        bool killed = alive;
        alive = false;
        return killed;
    }

    float maxHealth = 100.0f;
    float health = 100.0f;
    bool alive = true;
};
