// The browser's entry point: the program's WinMain runs the game; when it returns, the page is told,
// and shows that Vornix has ended.
#include <emscripten/emscripten.h>

#include "app/app.h"
#include "platform/web/web_platform.h"

namespace {

// clang-format off
EM_JS(void, TellPageEnded, (int exitCode), {
    if (typeof Module.vornixEnded === "function") Module.vornixEnded(exitCode);
});
// clang-format on

}  // namespace

int main() {
    const int exitCode = WinMain(nullptr, nullptr, nullptr, 1);
    StopListening();
    TellPageEnded(exitCode);
    return exitCode;
}
