// Shared pieces of the Vornix benchmarks: working folder, start-up, scenes, steering and figures.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Copies the generated bitmaps into textures/ of a fresh temporary folder and makes that folder
// the working directory, as the game expects to find its data. Empty string on failure.
std::string EnterWorkFolder();
// Leaves the folder and removes it.
void LeaveWorkFolder(const std::string& folder);

// Delivers every pending message to MainWndProc, as the loop would. False once WM_QUIT was taken.
bool DeliverPendingMessages();

// One turn of the real main loop; sets *quit when it took WM_QUIT. True when it did idle work.
bool LoopTurn(bool* quit);

// Median microseconds of one memcpy of an 800 x 600 x 4 byte picture between two distinct
// buffers, the destination warm: the floor that a frame is compared with.
double MemcpyFloorMicroseconds();

// Scenes, set up through the game's own functions.
void SceneScoreList();               // between games: the score list
void SceneLevelOneStart();           // a level-1 game just started
void SceneLevelSeven(int segments);  // level 7: its walls, seven visible items, the snake laid out
// Makes the first count item slots visible on free cells that the snake does not cover.
void ShowItems(int count);

// Counts the wall cells on the playfield.
int CountWalls();

// Keeps a running game alive: after each step, turns the snake around the free rectangle
// x 18..28, y 3..25 (free on every level) and keeps it short so that it never grows into a
// promotion. Call after every step.
void SteerAfterStep();

// Sorted-sample figures.
double Percentile(std::vector<double> samples, double fraction);  // nearest rank
double Minimum(const std::vector<double>& samples);
double Maximum(const std::vector<double>& samples);

// Appends "key value" to the file named by VORNIX_BENCH_SUMMARY (if set), for bench.sh's headline.
void RecordSummary(const char* key, double value);
void RecordSummaryText(const char* key, const char* text);
