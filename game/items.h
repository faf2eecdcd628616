// The timed bonus items: their table, placement, pickup and expiry.
#pragma once
#include <cstdint>

struct ItemSlot {
    int32_t x;
    int32_t y;
    int32_t points;
    int32_t growth;
    uint32_t appearDelayMs;
    uint32_t placedAt;
    uint32_t lifetimeMs;
};

constexpr int32_t itemSlotCount = 30;
extern ItemSlot ItemTable[itemSlotCount];  // slot i is in play while i < level

// Writes the SpeedTable, then points, growth, appearDelayMs and lifetimeMs of slots 0..8.
void InitGameTables();

// True when the slot's item shows at time now: more than appearDelayMs since placedAt (mod 2^32).
bool IsItemVisible(const ItemSlot& slot, uint32_t now);

// Moves the slot's item to a random wall-free cell in x 0..45, y 0..27; sets x and y only.
void PlaceItemRandomly(ItemSlot& slot);

// After the head has moved: pickups, expiries, then the promotion test.
void UpdateItems();
