// The timed bonus items: their table, where they land, when they show, and what eating them does.
#include "game/items.h"

#include "game/clock.h"
#include "game/game.h"
#include "game/levels.h"

ItemSlot ItemTable[itemSlotCount];

namespace {

struct ItemConfig {
    int32_t points;
    int32_t growth;
    uint32_t appearDelayMs;
    uint32_t lifetimeMs;
};

// Slots 7 and 8 are configured although no level reaches them; slots 9..29 stay empty.
constexpr ItemConfig itemConfigs[] = {
    {1, 1, 0, 15000},     {1, 0, 10000, 5000},  {3, 3, 15000, 5000},  {5, 0, 20000, 5000},  {5, 5, 25000, 5000},
    {10, 0, 30000, 5000}, {15, 0, 32000, 5000}, {20, 0, 18000, 5000}, {30, 0, 26000, 5000},
};

// The levels' step delays in ms, by level; filled here because both tables are written together at start-up.
constexpr int32_t initialSpeeds[8] = {1500, 250, 200, 150, 100, 75, 50, 25};

// Column 46 and row 28 are never chosen: the draws scale 0..32767 onto 0..45 and 0..27.
constexpr int32_t placementColumns = 46;
constexpr int32_t placementRows = 28;
constexpr int32_t randomRange = 32768;

bool HeadOn(const ItemSlot& slot) {
    return Snake[0].x == slot.x && Snake[0].y == slot.y;
}

bool IsItemExpired(const ItemSlot& slot, uint32_t now) {
    return now - slot.placedAt > slot.appearDelayMs + slot.lifetimeMs;
}

// New segments stack on the tail's cell and unfold as the snake moves on.
void Grow(int32_t segments) {
    if (snakeLength >= growthLimit) {
        return;
    }
    for (int32_t i = 0; i < segments; ++i) {
        ++snakeLength;
        Snake[snakeLength - 1] = Snake[snakeLength - 2];
    }
}

}  // namespace

void InitGameTables() {
    for (int32_t i = 0; i < 8; ++i) {
        SpeedTable[i] = initialSpeeds[i];
    }
    int32_t slot = 0;
    for (const ItemConfig& config : itemConfigs) {
        ItemTable[slot].points = config.points;
        ItemTable[slot].growth = config.growth;
        ItemTable[slot].appearDelayMs = config.appearDelayMs;
        ItemTable[slot].lifetimeMs = config.lifetimeMs;
        ++slot;
    }
}

bool IsItemVisible(const ItemSlot& slot, uint32_t now) {
    return now - slot.placedAt > slot.appearDelayMs;
}

void PlaceItemRandomly(ItemSlot& slot) {
    // Every layout leaves free cells in the placement range, so the draw always ends.
    for (;;) {
        const int32_t x = NextRandom() * placementColumns / randomRange;
        const int32_t y = NextRandom() * placementRows / randomRange;
        if (Board[x][y] == 0) {
            slot.x = x;
            slot.y = y;
            return;
        }
    }
}

void UpdateItems() {
    const uint32_t now = ReadClock();
    // Pickups come first, so an item past its lifetime can still be eaten in the step that would move it.
    for (int32_t i = 0; i < level; ++i) {
        ItemSlot& slot = ItemTable[i];
        if (HeadOn(slot) && IsItemVisible(slot, now)) {
            score += slot.points;
            PlaceItemRandomly(slot);
            Grow(slot.growth);
            slot.placedAt = now;
        }
    }
    for (int32_t i = 0; i < level; ++i) {
        ItemSlot& slot = ItemTable[i];
        if (IsItemExpired(slot, now)) {
            PlaceItemRandomly(slot);
            slot.placedAt = now;
        }
    }
    CheckPromotion();
}
