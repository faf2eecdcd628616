// The display set-up, the loading of bitmaps into surfaces, and the release of the display.
#include "tests/shell/shell_fixture.h"

using DisplaySetup = ShellTest;
using BitmapLoading = ShellTest;
using DisplayRelease = ShellTest;

TEST_F(DisplaySetup, TakesTheScreenCreatesFourSurfacesThenLoadsTheThreeBitmapsInOrder) {
    EXPECT_EQ(InitDisplay(), S_OK);

    EXPECT_EQ(Filtered({"CreateDisplay", "SetCooperativeLevel", "SetDisplayMode", "CreateSurface", "LoadBitmapFile",
                        "StretchCopy"}),
              (std::vector<std::string>{"CreateDisplay", "SetCooperativeLevel", "SetDisplayMode 800x600x32",
                                        "CreateSurface primary", "CreateSurface back", "CreateSurface cube",
                                        "CreateSurface icons", "LoadBitmapFile textures/cube.bmp", "StretchCopy cube",
                                        "LoadBitmapFile textures/icons.bmp", "StretchCopy icons",
                                        "LoadBitmapFile textures/background.bmp", "StretchCopy back"}));
    EXPECT_TRUE(fake::state.messageBoxes.empty());
    EXPECT_TRUE(fake::state.debugLines.empty());
    EXPECT_EQ(fake::SurfaceName(primarySurface), "primary");
    EXPECT_EQ(fake::SurfaceName(backSurface), "back");
    EXPECT_EQ(fake::SurfaceName(cubeSurface), "cube");
    EXPECT_EQ(fake::SurfaceName(iconSurface), "icons");
    EXPECT_NE(directDraw, nullptr);
}

TEST_F(DisplaySetup, DescribesEachSurfaceAfresh) {
    InitDisplay();

    const std::vector<SurfaceDesc>& descs = fake::state.surfaceDescs;
    ASSERT_EQ(descs.size(), 4u);
    const uint32_t offscreenFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    struct Expected {
        uint32_t flags, caps, width, height;
    } expected[] = {{DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0},
                    {offscreenFlags, DDSCAPS_OFFSCREENPLAIN, 800, 600},
                    {offscreenFlags, DDSCAPS_OFFSCREENPLAIN, 64, 464},
                    {offscreenFlags, DDSCAPS_OFFSCREENPLAIN, 320, 32}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(descs[i].dwSize, 124u);
        EXPECT_EQ(descs[i].dwFlags, expected[i].flags);
        EXPECT_EQ(descs[i].dwCaps, expected[i].caps);
        EXPECT_EQ(descs[i].dwWidth, expected[i].width);
        EXPECT_EQ(descs[i].dwHeight, expected[i].height);
    }
}

TEST_F(DisplaySetup, FallsBackTo24BitsWithoutAWord) {
    fake::state.refusedDepths = {32};

    InitDisplay();

    EXPECT_EQ(fake::state.displayModes, (std::vector<uint32_t>{32, 24}));
    EXPECT_TRUE(fake::state.messageBoxes.empty());
    EXPECT_NE(iconSurface, nullptr);
}

TEST_F(DisplaySetup, GoesOnInTheOldModeWhenEveryDepthIsRefused) {
    fake::state.refusedDepths = {32, 24, 16};

    InitDisplay();

    EXPECT_EQ(fake::state.displayModes, (std::vector<uint32_t>{32, 24, 16}));
    EXPECT_TRUE(fake::state.messageBoxes.empty());
    EXPECT_NE(primarySurface, nullptr);
    EXPECT_NE(backSurface, nullptr);
    EXPECT_EQ(Count("StretchCopy"), 3);
}

TEST_F(DisplaySetup, WithoutTheDisplayObjectReportsOnceAndCreatesNothing) {
    fake::state.createDisplayResult = E_FAIL;

    EXPECT_EQ(InitDisplay(), E_FAIL);

    EXPECT_EQ(fake::state.messageBoxes, (std::vector<std::string>{"DDraw: DirectDrawCreate failed"}));
    EXPECT_EQ(Count("SetCooperativeLevel") + Count("SetDisplayMode") + Count("CreateSurface"), 0);
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(primarySurface, nullptr);
    EXPECT_EQ(backSurface, nullptr);
    // The bitmaps are found but have no surface to go to.
    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>(3, "ddcopybitmap failed\n")));
    EXPECT_EQ(fake::state.liveBitmaps, 0);
}

TEST_F(DisplaySetup, ARefusedCooperativeLevelIsReportedAndSetUpGoesOn) {
    fake::state.cooperativeLevelResult = E_FAIL;

    InitDisplay();

    EXPECT_EQ(fake::state.messageBoxes, (std::vector<std::string>{"DDraw: SetCoopLevel failed"}));
    EXPECT_EQ(fake::state.displayModes, (std::vector<uint32_t>{32}));
    EXPECT_NE(iconSurface, nullptr);
}

TEST_F(DisplaySetup, AFailedBackSurfaceGivesExactlyOneBoxAndTheOthersAreStillMade) {
    fake::state.createSurfaceResult["back"] = E_FAIL;

    EXPECT_EQ(InitDisplay(), E_FAIL);

    EXPECT_EQ(fake::state.messageBoxes, (std::vector<std::string>{"DDraw: CreateSurface failed (back)"}));
    EXPECT_EQ(backSurface, nullptr);
    EXPECT_EQ(fake::SurfaceName(cubeSurface), "cube");
    EXPECT_EQ(fake::SurfaceName(iconSurface), "icons");
    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>{"ddcopybitmap failed\n"}));
    EXPECT_EQ(Count("StretchCopy"), 2);
}

TEST_F(DisplaySetup, EachFailedSurfaceIsNamedInItsBox) {
    const char* names[] = {"primary", "back", "cube", "icons"};
    const char* boxes[] = {"DDraw: CreateSurface failed (primary)", "DDraw: CreateSurface failed (back)",
                           "DDraw: CreateSurface failed (gradient)", "DDraw: CreateSurface failed (icons)"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(names[i]);
        ReleaseDisplay();
        fake::Reset();
        fake::state.createSurfaceResult[names[i]] = DDERR_SURFACELOST;
        InitDisplay();
        EXPECT_EQ(fake::state.messageBoxes, (std::vector<std::string>{boxes[i]}));
        EXPECT_EQ(Count("CreateSurface"), 4);
    }
}

TEST_F(DisplaySetup, AMissingAtlasIsOneDebugLineAndNoBox) {
    fake::state.bitmapFiles.erase("textures/icons.bmp");

    EXPECT_EQ(InitDisplay(), S_OK);  // the background, loaded last, is fine

    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>{"handle is null\n"}));
    EXPECT_TRUE(fake::state.messageBoxes.empty());
    EXPECT_NE(iconSurface, nullptr);
}

TEST_F(BitmapLoading, StretchesTheWholeBitmapOverTheWholeSurface) {
    StartDisplay();
    fake::state.bitmapFiles["textures/background.bmp"] = {640, 480};

    EXPECT_EQ(LoadBitmapIntoSurface(backSurface, "textures/background.bmp"), S_OK);

    ASSERT_EQ(fake::state.stretches.size(), 1u);
    const fake::StretchRecord& stretch = fake::state.stretches[0];
    EXPECT_EQ(stretch.surface, "back");
    EXPECT_EQ(stretch.bitmap, "textures/background.bmp");
    EXPECT_EQ(std::vector<int32_t>({stretch.x, stretch.y, stretch.width, stretch.height}),
              std::vector<int32_t>({0, 0, 800, 600}));
    EXPECT_EQ(std::vector<int32_t>({stretch.sourceX, stretch.sourceY, stretch.sourceWidth, stretch.sourceHeight}),
              std::vector<int32_t>({0, 0, 640, 480}));
    // A lost surface gets its memory back before the copy; the bitmap is given back after it.
    EXPECT_EQ(Filtered({"LoadBitmap", "RestoreSurface", "GetDC", "StretchCopy", "ReleaseDC", "DeleteBitmap"}),
              (std::vector<std::string>{"LoadBitmapResource textures/background.bmp",
                                        "LoadBitmapFile textures/background.bmp", "RestoreSurface back", "GetDC back",
                                        "StretchCopy back", "ReleaseDC back",
                                        "DeleteBitmap textures/background.bmp"}));
    EXPECT_EQ(fake::state.liveBitmaps, 0);
}

TEST_F(BitmapLoading, IntoANullSurfaceFailsAsACopyNotAsAMissingFile) {
    EXPECT_EQ(LoadBitmapIntoSurface(nullptr, "textures/background.bmp"), E_FAIL);

    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>{"ddcopybitmap failed\n"}));
    EXPECT_EQ(fake::state.liveBitmaps, 0);
}

TEST_F(BitmapLoading, AMissingFileLeavesTheSurfaceUntouched) {
    StartDisplay();

    EXPECT_EQ(LoadBitmapIntoSurface(backSurface, "textures/nothing.bmp"), E_FAIL);

    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>{"handle is null\n"}));
    EXPECT_EQ(Count("GetDC") + Count("RestoreSurface") + Count("StretchCopy"), 0);
}

TEST_F(BitmapLoading, ASurfaceThatGivesNoContextReportsTheCopyAndItsFailure) {
    StartDisplay();
    fake::state.getDcResult["back"] = DDERR_SURFACELOST;

    EXPECT_EQ(LoadBitmapIntoSurface(backSurface, "textures/background.bmp"), DDERR_SURFACELOST);

    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>{"ddcopybitmap failed\n"}));
    EXPECT_TRUE(fake::state.stretches.empty());
    EXPECT_EQ(fake::state.liveBitmaps, 0);
}

TEST_F(BitmapLoading, WithoutAMemoryContextNothingIsTransferredButTheCopyStillSucceeds) {
    StartDisplay();
    fake::state.memoryContextCreated = false;

    EXPECT_EQ(LoadBitmapIntoSurface(cubeSurface, "textures/cube.bmp"), S_OK);

    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>{"createcompatible dc failed\n"}));
    EXPECT_TRUE(fake::state.stretches.empty());
}

TEST_F(BitmapLoading, ACopyOfPartOfTheBitmapTakesItsOwnSizeForAZeroExtent) {
    StartDisplay();
    Bitmap* bitmap = PlatformLoadBitmapFile("textures/background.bmp");

    EXPECT_EQ(DDCopyBitmap(iconSurface, bitmap, 10, 20, 30, 0), S_OK);
    PlatformDeleteBitmap(bitmap);

    ASSERT_EQ(fake::state.stretches.size(), 1u);
    const fake::StretchRecord& stretch = fake::state.stretches[0];
    EXPECT_EQ(std::vector<int32_t>({stretch.x, stretch.y, stretch.width, stretch.height}),
              std::vector<int32_t>({0, 0, 320, 32}));
    EXPECT_EQ(std::vector<int32_t>({stretch.sourceX, stretch.sourceY, stretch.sourceWidth, stretch.sourceHeight}),
              std::vector<int32_t>({10, 20, 30, 600}));
}

TEST_F(BitmapLoading, ANullBitmapIsRefusedBeforeTheSurfaceIsTouched) {
    StartDisplay();

    EXPECT_EQ(DDCopyBitmap(backSurface, nullptr, 0, 0, 0, 0), E_FAIL);

    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(DisplayRelease, ReleasesAtlasStripBackPrimaryThenTheDisplay) {
    StartDisplay();

    ReleaseDisplay();

    EXPECT_EQ(Filtered({"Release"}),
              (std::vector<std::string>{"ReleaseSurface icons", "ReleaseSurface cube", "ReleaseSurface back",
                                        "ReleaseSurface primary", "ReleaseDisplay"}));
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(primarySurface, nullptr);
    EXPECT_EQ(backSurface, nullptr);
    EXPECT_EQ(cubeSurface, nullptr);
    EXPECT_EQ(iconSurface, nullptr);
    EXPECT_EQ(fake::state.liveSurfaces, 0);
}

TEST_F(DisplayRelease, ASecondReleaseDoesNothing) {
    StartDisplay();
    ReleaseDisplay();
    fake::ClearRecords();

    ReleaseDisplay();

    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(DisplayRelease, AFrameAfterTheReleaseDrawsNothing) {
    StartDisplay();
    NewGame();
    ReleaseDisplay();
    fake::ClearRecords();

    RenderFrame();
    gameRunning = 0;
    RenderFrame();

    EXPECT_TRUE(fake::state.copies.empty());
    EXPECT_TRUE(fake::state.texts.empty());
    EXPECT_EQ(Count("Present"), 0);
}
