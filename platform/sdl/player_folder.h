// The working folder of an installed game on Linux, chosen before the game starts: the player's
// own folder under XDG_DATA_HOME, holding the installed bitmaps and the player's score file.
#pragma once

// Makes the folder the game works in. The current folder stays when it holds
// textures/background.bmp (the portable layout) or when the program is not installed (no
// share/vornix/textures beside its bin/). Otherwise the installed bitmaps are copied into
// $XDG_DATA_HOME/vornix/textures (default ~/.local/share/vornix/textures), made when missing,
// and $XDG_DATA_HOME/vornix becomes the working folder; the score file there is never touched. When no
// such folder can be made, one line on standard error says so, the game works in the installed
// share/vornix, and the score file is never written (ScoreWritingRefused).
void ChoosePlayerFolder();

// Set when the game works in the installation: the file services then create, replace and
// remove nothing, so that no score reaches the installed files, even for root.
bool ScoreWritingRefused();
