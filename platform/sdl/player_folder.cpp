// The per-player working folder of an installed game: where it is, making it, refreshing its
// bitmaps from the installation, and the fallback when it cannot be had.
#include "platform/sdl/player_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* bitmapNames[] = {"background.bmp", "cube.bmp", "icons.bmp"};
bool scoreWritingRefused = false;

bool IsFile(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// Joins parts into a path in the buffer; false when it would not fit.
bool Join(char (&path)[PATH_MAX], const char* first, const char* second, const char* third = "") {
    const int length = std::snprintf(path, sizeof path, "%s%s%s", first, second, third);
    return length > 0 && length < static_cast<int>(sizeof path);
}

// Cuts the last part off a path ("/usr/bin/vornix" -> "/usr/bin"); false when there is none.
bool CutLastPart(char* path) {
    char* slash = std::strrchr(path, '/');
    if (slash == nullptr || slash == path)
        return false;
    *slash = '\0';
    return true;
}

// The installation's share/vornix: two levels up from the executable, which sits in <prefix>/bin.
// Read from the executable's own link, so a prefix that was moved elsewhere still works.
bool FindInstalledData(char (&data)[PATH_MAX]) {
    char executable[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    if (length <= 0)
        return false;
    executable[length] = '\0';
    if (!CutLastPart(executable) || !CutLastPart(executable))
        return false;
    char background[PATH_MAX];
    return Join(data, executable, "/share/vornix") && Join(background, data, "/textures/background.bmp") &&
           IsFile(background);
}

// $XDG_DATA_HOME/vornix, or $HOME/.local/share/vornix; relative settings are ignored, as the
// XDG base directory rules ask.
bool FindPlayerFolder(char (&folder)[PATH_MAX]) {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return Join(folder, dataHome, "/vornix");
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return Join(folder, home, "/.local/share/vornix");
    errno = ENOENT;
    return false;
}

// Makes the folder and every missing folder above it, private to the player.
bool MakeFolders(char (&path)[PATH_MAX]) {
    for (char* next = std::strchr(path + 1, '/');; next = std::strchr(next + 1, '/')) {
        if (next != nullptr)
            *next = '\0';
        const bool made = mkdir(path, 0700) == 0 || errno == EEXIST;
        struct stat info;
        const bool folder = made && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
        if (!folder && errno == EEXIST)
            errno = ENOTDIR;
        if (next != nullptr)
            *next = '/';
        if (!folder)
            return false;
        if (next == nullptr)
            return true;
    }
}

// Copies a file through a temporary name and a rename, so that a game started at the same time
// never reads half a bitmap.
bool CopyFile(const char* from, const char* to) {
    char temporary[PATH_MAX];
    if (!Join(temporary, to, ".new"))
        return false;
    const int source = open(from, O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return false;
    const int target = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (target < 0) {
        close(source);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(source, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            ok = count == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < count;) {
            const ssize_t written = write(target, buffer + done, static_cast<size_t>(count - done));
            if (written < 0 && errno != EINTR)
                ok = false;
            done += written > 0 ? written : 0;
        }
        if (!ok)
            break;
    }
    close(source);
    ok = close(target) == 0 && ok;
    ok = ok && std::rename(temporary, to) == 0;
    if (!ok) {
        const int error = errno;
        unlink(temporary);
        errno = error;
    }
    return ok;
}

// The player's folder with textures/ made and the installed bitmaps copied in; errno tells why not.
bool PreparePlayerFolder(const char* installed, char (&folder)[PATH_MAX]) {
    char textures[PATH_MAX];
    if (!FindPlayerFolder(folder) || !Join(textures, folder, "/textures") || !MakeFolders(textures))
        return false;
    for (const char* name : bitmapNames) {
        char from[PATH_MAX], to[PATH_MAX];
        if (!Join(from, installed, "/textures/", name) || !Join(to, textures, "/", name) || !CopyFile(from, to))
            return false;
    }
    return true;
}

}  // namespace

void ChoosePlayerFolder() {
    if (IsFile("textures/background.bmp"))
        return;
    char installed[PATH_MAX];
    if (!FindInstalledData(installed))
        return;
    char folder[PATH_MAX] = "";
    if (PreparePlayerFolder(installed, folder) && chdir(folder) == 0)
        return;
    const int error = errno;
    if (folder[0] != '\0')
        std::fprintf(stderr, "vornix: cannot make %s (%s); playing without saving scores\n", folder,
                     std::strerror(error));
    else
        std::fprintf(stderr, "vornix: HOME is not set; playing without saving scores\n");
    scoreWritingRefused = true;
    if (chdir(installed) != 0)
        std::fprintf(stderr, "vornix: cannot enter %s (%s)\n", installed, std::strerror(errno));
}

bool ScoreWritingRefused() {
    return scoreWritingRefused;
}
