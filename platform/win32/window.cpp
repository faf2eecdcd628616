// The window, its message queue, the pointer, the keyboard state, the clock and the two report
// channels (message box, debugger output) on Win32 and winmm.
#include <windows.h>
// Builds on the types of windows.h, so it comes after it.
#include <mmsystem.h>

#include "platform/platform.h"

namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
WindowHandle ToWindowHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

// The message last taken by PlatformPeekMessage: its time and pointer position are handed on to
// TranslateMessage and DispatchMessageA, which the platform-free Message does not carry.
MSG lastPeekedMessage;

// The program's window procedure, called through the class's own.
WindowProcedure programProcedure = nullptr;

LRESULT CALLBACK ClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (programProcedure == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    return programProcedure(ToWindowHandle(window), message, wParam, lParam);
}

}  // namespace

WindowHandle PlatformCreateWindow(WindowProcedure procedure) {
    programProcedure = procedure;
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC | CS_PARENTDC;  // 163
    windowClass.lpfnWndProc = ClassProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "IDI_ICON1");
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = NULL;
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = "Vornix";
    RegisterClassA(&windowClass);  // a failure shows up as a failure to create the window
    HWND window = CreateWindowExA(0, "Vornix", "Vornix", WS_POPUP, 0, 0, 320, 200, NULL, NULL, instance, NULL);
    return ToWindowHandle(window);
}

void PlatformShowWindow(WindowHandle window, int showCommand) {
    ShowWindow(ToHwnd(window), showCommand);
    UpdateWindow(ToHwnd(window));
}

bool PlatformCreateTimer(WindowHandle window) {
    return SetTimer(ToHwnd(window), 1, 1000, NULL) != 0;
}

bool PlatformPeekMessage(Message* message) {
    if (!PeekMessageA(&lastPeekedMessage, NULL, 0, 0, PM_REMOVE))
        return false;
    message->window = ToWindowHandle(lastPeekedMessage.hwnd);
    message->message = lastPeekedMessage.message;
    message->wParam = lastPeekedMessage.wParam;
    message->lParam = lastPeekedMessage.lParam;
    return true;
}

void PlatformDispatchMessage(const Message* message) {
    MSG msg = lastPeekedMessage;
    msg.hwnd = ToHwnd(message->window);
    msg.message = message->message;
    msg.wParam = message->wParam;
    msg.lParam = message->lParam;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return DefWindowProcA(ToHwnd(window), message, wParam, lParam);
}

void PlatformPostCloseRequest(WindowHandle window) {
    PostMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}

void PlatformPostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

void PlatformHidePointer() {
    SetCursor(NULL);
}

void PlatformShowArrowPointer() {
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
}

bool PlatformShiftHeld() {
    return GetAsyncKeyState(VK_SHIFT) != 0;
}

uint32_t PlatformClockMs() {
    return timeGetTime();
}

// The loop on Windows never waits: the hint has no use here.
void PlatformIdleWorkDueAt(uint32_t, bool) {}

// Every frame goes to the screen at once here.
bool PlatformFrameWanted() {
    return true;
}

void PlatformMessageBox(WindowHandle owner, const char* text, const char* caption) {
    MessageBoxA(ToHwnd(owner), text, caption, MB_OK);
}

void PlatformDebugOutput(const char* text) {
    OutputDebugStringA(text);
}
