// The display set-up, the loading of bitmaps into surfaces, and the release of the display.
#include "tests/shell/shell_fixture.h"

using DisplaySetup = ShellTest;

TEST_F(DisplaySetup, TakesTheScreenMakesFourSurfacesThenLoadsTheThreeBitmaps) {
    NewMachine();
    EXPECT_EQ(InitDisplay(fake::Window()), S_OK);
    EXPECT_EQ(
        fake::Log({"CreateD", "CreateS", "Set", "LoadBitmapFile", "StretchCopy", "MessageBox", "Debug"}),
        (Lines{"CreateDisplay", "SetCooperativeLevel", "SetDisplayMode 800x600x32", "CreateSurface primary",
               "CreateSurface back", "CreateSurface cube", "CreateSurface icons", "LoadBitmapFile textures/cube.bmp",
               "StretchCopy cube 0 0 64 464 <- memory textures/cube.bmp 0 0 640 480",
               "LoadBitmapFile textures/icons.bmp",
               "StretchCopy icons 0 0 320 32 <- memory textures/icons.bmp 0 0 640 480",
               "LoadBitmapFile textures/background.bmp",
               "StretchCopy back 0 0 800 600 <- memory textures/background.bmp 0 0 640 480"}));
    EXPECT_EQ(Format("%s %s %s %s", fake::Name(primarySurface).c_str(), fake::Name(backSurface).c_str(),
                     fake::Name(cubeSurface).c_str(), fake::Name(iconSurface).c_str()),
              "primary back cube icons");
}

TEST_F(DisplaySetup, RefusedModesFallBackWithoutABox) {
    const char* const modes[] = {"SetDisplayMode 800x600x32", "SetDisplayMode 800x600x24", "SetDisplayMode 800x600x16"};
    const struct {
        std::set<uint32_t> refused;
        Lines tried;
    } cases[] = {{{32}, {modes[0], modes[1]}}, {{32, 24, 16}, {modes[0], modes[1], modes[2]}}};
    for (const auto& c : cases) {
        NewMachine();
        fake::state.refusedDepths = c.refused;
        InitDisplay(fake::Window());
        EXPECT_EQ(fake::Log({"SetDisplayMode", "MessageBox"}), c.tried);
        EXPECT_EQ(fake::Count("StretchCopy"), 3);  // the mode that was there serves
    }
}

// Each failure of the set-up is one box; the rest goes on, and frames skip what is missing.
TEST_F(DisplaySetup, EachFailureIsReportedInOneBoxAndTheRestGoesOn) {
    const struct {
        HRESULT display, cooperation;
        const char* surface;
        Lines reports;
    } cases[] = {
        {E_FAIL,
         S_OK,
         "",
         {"MessageBox DDraw: DirectDrawCreate failed", "Debug ddcopybitmap failed\n", "Debug ddcopybitmap failed\n",
          "Debug ddcopybitmap failed\n"}},
        {S_OK, E_FAIL, "", {"MessageBox DDraw: SetCoopLevel failed"}},
        {S_OK, S_OK, "primary", {"MessageBox DDraw: CreateSurface failed (primary)"}},
        {S_OK, S_OK, "back", {"MessageBox DDraw: CreateSurface failed (back)", "Debug ddcopybitmap failed\n"}},
        {S_OK, S_OK, "cube", {"MessageBox DDraw: CreateSurface failed (gradient)", "Debug ddcopybitmap failed\n"}},
        {S_OK, S_OK, "icons", {"MessageBox DDraw: CreateSurface failed (icons)", "Debug ddcopybitmap failed\n"}},
    };
    for (const auto& c : cases) {
        NewMachine();
        fake::state.createDisplayResult = c.display;
        fake::state.cooperativeLevelResult = c.cooperation;
        fake::state.failingSurface = c.surface;
        InitDisplay(fake::Window());
        EXPECT_EQ(fake::Log({"MessageBox", "Debug"}), c.reports) << c.surface;
        EXPECT_EQ(fake::Count("CreateSurface"), c.display == S_OK ? 4 : 0);
        EXPECT_EQ(fake::Name(backSurface), c.display == S_OK && c.surface != std::string("back") ? "back" : "null");
        NewGame();
        RenderFrame();
    }
}

TEST_F(DisplaySetup, ABitmapIsStretchedWholeOverTheWholeRestoredSurfaceAndDeleted) {
    EXPECT_EQ(LoadBitmapIntoSurface(backSurface, "textures/background.bmp"), S_OK);
    EXPECT_EQ(fake::state.log,
              (Lines{"LoadBitmapFile textures/background.bmp", "RestoreSurface back", "CreateMemoryContext",
                     "GetDC back", "StretchCopy back 0 0 800 600 <- memory textures/background.bmp 0 0 640 480",
                     "ReleaseDC back", "DeleteBitmap textures/background.bmp"}));
}

TEST_F(DisplaySetup, AFailedLoadLeavesOneLineForTheDebugger) {
    const char* const cube = "textures/cube.bmp";
    const struct {
        const char* file;
        Surface* surface;
        HRESULT getDc;
        bool memory;
        HRESULT result;
        const char* line;
    } cases[] = {{"textures/nothing.bmp", backSurface, S_OK, true, E_FAIL, "Debug handle is null\n"},
                 {cube, nullptr, S_OK, true, E_FAIL, "Debug ddcopybitmap failed\n"},
                 {cube, cubeSurface, DDERR_SURFACELOST, true, DDERR_SURFACELOST, "Debug ddcopybitmap failed\n"},
                 {cube, cubeSurface, S_OK, false, S_OK, "Debug createcompatible dc failed\n"}};
    for (const auto& c : cases) {
        fake::ClearRecords();
        fake::state.getDcResult = c.getDc;
        fake::state.memoryContextCreated = c.memory;
        EXPECT_EQ(LoadBitmapIntoSurface(c.surface, c.file), c.result) << c.line;
        EXPECT_EQ(fake::Log({"Debug", "StretchCopy"}), Lines{c.line});
    }
}

TEST_F(DisplaySetup, ReleaseGoesAtlasStripBackPrimaryThenTheDisplayAndOnlyOnce) {
    ReleaseDisplay();
    ReleaseDisplay();
    EXPECT_EQ(fake::state.log, (Lines{"ReleaseSurface icons", "ReleaseSurface cube", "ReleaseSurface back",
                                      "ReleaseSurface primary", "ReleaseDisplay"}));
    EXPECT_TRUE(directDraw == nullptr && primarySurface == nullptr && backSurface == nullptr &&
                cubeSurface == nullptr && iconSurface == nullptr);
}
