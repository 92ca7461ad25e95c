// The wizard's pages, flags and commands with fake window, views and dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "engine/document/JobDocument.h"
#include "engine/picture/PictureEdits.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/wizard/JobComputation.h"
#include "shell/wizard/NumberText.h"
#include "tests/shell/wizard/WizardTestSupport.h"

namespace calvoro::test {
namespace {

using page::kCutting;
using page::kNcFile;
using page::kSize;

TEST(WizardController, FailedOpenLeavesTheJobUntouched) {
    TempFolder folder;
    const auto narrow = folder / "narrow.bmp";
    SaveBmpFile(narrow, WavePicture(1, 40, 0));
    const auto damaged = folder / "damaged.bmp";
    WriteFileAtomically(damaged, "BM\x10\0\0\0 this is no picture");
    const auto noJob = folder / "nojob.pxm";  // a picture without its job record
    SaveBmpFile(noJob, WavePicture(30, 20, 0));
    const std::filesystem::path names[] = {folder / "missing.bmp", damaged, narrow, noJob, folder / "notes.txt"};

    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 1001, 501, 100)));
    EXPECT_EQ(rig.controller->page(), kSize);
    EXPECT_EQ(rig.fakes.sizeTexts, (std::vector<std::string>{"254.000", "127.000"}));
    EXPECT_EQ(rig.fakes.checkedCorner, LowerLeft);
    rig.walkToCutting(folder / "a.nc");
    rig.controller->cornerClicked(UpperRight);
    const Picture picture = rig.controller->picture();
    const ImageInfo info = rig.controller->placement().info();
    const auto relief = rig.controller->relief();
    for (const auto& name : names) {
        SCOPED_TRACE(name.filename().string());
        const std::size_t messages = rig.fakes.messages.size();
        EXPECT_FALSE(rig.controller->openPicture(name));
        EXPECT_EQ(rig.fakes.messages.size(), messages + 1);
        EXPECT_EQ(rig.controller->picture().pixels, picture.pixels);
        EXPECT_EQ(rig.controller->placement().info(), info);
        EXPECT_EQ(rig.controller->relief(), relief);
        EXPECT_EQ(rig.controller->page(), kCutting);
        EXPECT_EQ(rig.controller->ncFileName(), folder / "a.nc");
    }
    // Keeping the drawing is no failure, but leaves the job too.
    rig.fakes.discardAnswer = false;
    EXPECT_FALSE(rig.controller->openPicture(WriteWave(folder, "b.bmp", 50, 50)));
    EXPECT_EQ(rig.controller->placement().info(), info);
}

TEST(WizardController, EveryPictureEditForcesANewRelief) {
    struct Edit {
        void (WizardController::*command)();
        bool changesRelief;  // grey levels of a grey picture stay as they are
    };
    const Edit edits[] = {{&WizardController::flipVertical, true},
                          {&WizardController::flipHorizontal, true},
                          {&WizardController::rotate, true},
                          {&WizardController::convertToGrey, false}};
    TempFolder folder;
    for (const Edit& edit : edits) {
        WizardRig rig;
        ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 40, 30)));
        rig.walkToCutting(folder / "a.nc");
        rig.compute();
        ASSERT_FALSE(rig.controller->ncOutdated());
        const auto before = rig.controller->relief();
        for (auto back : {&WizardController::prevFromCutting, &WizardController::prevFromTool,
                          &WizardController::prevFromNcFile, &WizardController::prevFromDepth,
                          &WizardController::prevFromReference, &WizardController::modify, edit.command})
            (rig.controller.get()->*back)();
        EXPECT_TRUE(rig.controller->reliefOutdated());
        EXPECT_TRUE(rig.controller->ncOutdated());
        EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::NextB6));
        rig.controller->nextFromEdit();
        rig.controller->nextFromSize();
        rig.controller->nextFromReference();
        rig.controller->waitForWork();
        ASSERT_NE(rig.controller->relief(), before);
        const auto expected = BuildRelief(rig.controller->picture(), rig.controller->reliefValues());
        EXPECT_TRUE(std::ranges::equal(rig.controller->relief()->values(), expected->values()));
        EXPECT_EQ(!std::ranges::equal(rig.controller->relief()->values(), before->values()), edit.changesRelief);
    }
}

TEST(WizardController, CropNeedsAPickedRectangleAndStartsAtTheLowerLeftCorner) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 101, 51)));  // 10 x 5 mm
    rig.controller->cornerClicked(Centre);
    rig.controller->modify();
    rig.controller->crop();
    EXPECT_EQ(rig.controller->picture().width, 101);  // nothing picked yet
    rig.controller->rectanglePicked({2, 4, 5, 3, 0.1f, 51, 31});
    rig.controller->rectangleRestarted();  // another rectangle begun: the first no longer counts
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::CutSel));
    rig.controller->crop();
    EXPECT_EQ(rig.controller->picture().width, 101);
    rig.controller->rectanglePicked({2, 4, 5, 3, 0.1f, 51, 31});
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::CutSel));
    rig.controller->crop();
    EXPECT_EQ(rig.controller->picture().width, 51);
    EXPECT_EQ(rig.controller->placement().info().X0, 0);
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::CutSel));
    EXPECT_TRUE(rig.controller->reliefOutdated());
}

TEST(WizardController, TheNcFileDialogOpensOnceWhenThePageIsReached) {
    struct Case {
        std::optional<std::filesystem::path> answer;
        int dialogsAfterTwoVisits;
        bool nextEnabled;
    };
    const Case cases[] = {{std::filesystem::path("/tmp/x.nc"), 1, true}, {std::nullopt, 2, false}};
    TempFolder folder;
    for (const Case& c : cases) {
        WizardRig rig;
        ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
        rig.fakes.ncAnswer = c.answer;
        rig.controller->nextFromSize();
        rig.controller->nextFromReference();
        ASSERT_NO_THROW(rig.controller->nextFromReference());  // pressed again while it builds
        rig.controller->waitForWork();
        rig.controller->applyDepth();
        rig.controller->nextFromDepth();
        EXPECT_EQ(rig.fakes.ncDialogs, 1);
        EXPECT_EQ(rig.controller->page(), kNcFile);
        rig.controller->prevFromNcFile();
        rig.controller->nextFromDepth();
        EXPECT_EQ(rig.fakes.ncDialogs, c.dialogsAfterTwoVisits);
        EXPECT_EQ(rig.fakes.isEnabled(WizardControl::NextB4), c.nextEnabled);
        rig.controller->nextFromNcFile();
        EXPECT_EQ(rig.controller->page(), c.nextEnabled ? page::kTool : kNcFile);
    }
}

TEST(WizardController, ZNoCutPickWorksTheFirstTimeAndReplacesItsMark) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 41, 31, 254)));  // 0.1 mm per pixel
    rig.walkToCutting(folder / "a.nc");
    rig.controller->zncCheckClicked(true);
    EXPECT_EQ(rig.fakes.zncCaption, "Pick Z point");
    EXPECT_FALSE(rig.controller->zncFilter().active);
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::ZncControls));

    for (int pick = 0; pick < 2; ++pick) {
        ASSERT_NO_THROW(rig.controller->startZncPick());
        EXPECT_EQ(rig.controller->commandMode(), kZncPickMode);
        EXPECT_TRUE(rig.fakes.objects.count(kZncMarkId));
        EXPECT_FALSE(rig.fakes.view3D);
        rig.controller->zncPointPicked(1.0, 2.0);  // cell (10, 20)
        EXPECT_EQ(rig.controller->commandMode(), kNoCommandMode);
    }
    const float level = rig.controller->relief()->at(10, 20);
    EXPECT_EQ(rig.controller->zncLevel(), level);
    EXPECT_EQ(rig.fakes.zncCaption, " Z: " + formatta(level, false));
    EXPECT_TRUE(rig.fakes.lastFilter.active);
    EXPECT_TRUE(rig.fakes.view3D);

    // The last column counts as outside; the zone goes off.
    rig.controller->zncPointPicked(4.0, 1.0);
    EXPECT_FALSE(rig.controller->zncLevel());
    EXPECT_EQ(rig.fakes.zncCaption, " outside the picture");
    EXPECT_FALSE(rig.controller->zncFilter().active);
}

TEST(WizardController, CuttingEditsOutdateTheProgramAndToleranceOnlyWhileCurrent) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 40, 30)));
    rig.walkToCutting(folder / "a.nc");
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::NcCalc));
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::NextB6));
    rig.compute();
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::NextB6));
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::NcCalc));
    EXPECT_GT(rig.job.toolPath().size(), 0u);

    rig.controller->zncToleranceEdited("0.2");
    EXPECT_TRUE(rig.controller->ncOutdated());
    rig.compute();
    CuttingParameters values = rig.controller->cutting();
    rig.controller->setCutting(values);  // nothing changed
    EXPECT_FALSE(rig.controller->ncOutdated());
    values.stepOver = 0.5;
    rig.controller->setCutting(values);
    EXPECT_TRUE(rig.controller->ncOutdated());
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::NextB6));
    rig.controller->nextFromCutting();
    EXPECT_EQ(rig.controller->page(), kCutting);  // no page 50 with an old program
    // A program computed for another placement would cut elsewhere.
    rig.compute();
    rig.controller->cornerClicked(Centre);
    EXPECT_TRUE(rig.controller->ncOutdated());
}

TEST(WizardController, SaveCompletesTheNameByTheKindAndKeepsOldFilesOnFailure) {
    struct Case {
        std::string chosen;
        SaveKind kind;
        std::string written;
    };
    const Case cases[] = {{"job", SaveKind::Document, "job.pxm"},
                          {"job.PXM", SaveKind::Document, "job.PXM"},
                          {"job", SaveKind::Stl, "job.stl"},
                          {"job", SaveKind::Dxf, "job.dxf"}};
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "wave.bmp", 30, 20)));
    EXPECT_EQ(rig.controller->proposedSaveName(), "wave");
    for (const Case& c : cases) {
        ASSERT_TRUE(rig.controller->saveAs(folder / c.chosen, c.kind)) << c.written;
        EXPECT_TRUE(std::filesystem::exists(folder / c.written)) << c.written;
        EXPECT_EQ(rig.controller->documentFileName(), folder / c.written);
    }
    // A job that cannot be stored: the old document stays.
    const std::string before = ReadWholeFile(folder / "job.pxm");
    rig.controller->setNcFileName(std::string(300, 'n'));
    EXPECT_FALSE(rig.controller->saveAs(folder / "job", SaveKind::Document));
    EXPECT_EQ(ReadWholeFile(folder / "job.pxm"), before);
    EXPECT_EQ(rig.controller->documentFileName(), folder / "job.dxf");
    EXPECT_FALSE(rig.fakes.messages.empty());
}

TEST(WizardController, PostListIsSortedAndMayBeEmpty) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "pst");
    EXPECT_TRUE(ListPostProcessors(folder.path()).empty());
    for (const char* name : {"b.pst", "A.PST", "c.txt", "a2.pst"}) WriteFileAtomically(folder / "pst" / name, "");
    EXPECT_EQ(ListPostProcessors(folder.path()), (std::vector<std::string>{"A", "a2", "b"}));
    EXPECT_TRUE(ListPostProcessors(folder / "none").empty());
}

TEST(WizardController, RefusedOrCancelledComputationKeepsTheProgramAndFile) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 400, 400)));
    rig.walkToCutting(folder / "a.nc");
    rig.compute();
    ASSERT_TRUE(rig.controller->program());
    const std::string program = rig.controller->program()->text;
    ASSERT_EQ(ReadWholeFile(folder / "a.nc"), program);

    // Cancelled at once: the worker stops at its next check.
    CuttingParameters values = rig.controller->cutting();
    values.stepOver = 0.1;
    rig.controller->setCutting(values);
    rig.controller->computeNc();
    EXPECT_TRUE(rig.controller->working());
    rig.controller->cancelWork();
    rig.controller->waitForWork();
    EXPECT_EQ(rig.controller->lastFailure(), "The computation was cancelled.");

    // Refused: a cutter the raster paths cannot use.
    ToolRecord tool = rig.controller->tool();
    tool.toolType = ToolType::Undefined;
    rig.controller->setTool(tool);
    rig.compute();
    EXPECT_FALSE(rig.controller->lastFailure().empty());
    EXPECT_EQ(rig.fakes.messages.back(), rig.controller->lastFailure());

    EXPECT_EQ(rig.controller->program()->text, program);
    EXPECT_EQ(ReadWholeFile(folder / "a.nc"), program);
    EXPECT_TRUE(rig.controller->ncOutdated());
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::NextB6));
}

TEST(WizardController, ReopenedDocumentRestoresEveryFieldAndStopsOnTheCuttingPage) {
    TempFolder folder;
    // Every field away from its default; the size off the pixel proportions.
    const JobRecord record{.workWidth = 80.5f, .workHeight = 30.25f, .keepRatio = false, .originX = 80.5f,
                           .originY = -3.75f, .whiteZ = 1.5f, .blackZ = -4.25f,
                           .ncFileName = (folder / "job.nc").string(), .postName = "Hobby_mm",
                           .tool = {7, 18000, 1200.5f, 300, true, "Ball 3", ToolType::Spherical, 3, 0.5f, 10, 1, 2},
                           .feedPlaneZ = 4.5f, .stepOver = 0.3f, .stock = 0.1f, .filter = 0.01f, .zPasses = 3,
                           .zStep = 1.25f, .rasterAlongX = false, .rasterAlongY = true};
    for (const bool withNcFile : {true, false}) {
        SCOPED_TRACE(withNcFile);
        JobRecord stored = record;
        if (!withNcFile) stored.ncFileName.clear();
        SaveDocument(folder / "job.pxm", WavePicture(61, 41, 0), stored);
        WizardRig rig;
        rig.fakes.ncAnswer = folder / "asked.nc";
        ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "b.bmp", 20, 20)));  // a job before
        ASSERT_TRUE(rig.controller->openPicture(folder / "job.pxm"));
        rig.controller->waitForWork();
        EXPECT_EQ(rig.controller->page(), kCutting);
        EXPECT_EQ(rig.fakes.ncDialogs, withNcFile ? 0 : 1);  // asked once, only without a name
        JobRecord expected = record;
        if (!withNcFile) expected.ncFileName = (folder / "asked.nc").string();
        EXPECT_EQ(rig.controller->jobRecord(), expected);
        EXPECT_TRUE(rig.controller->ncOutdated());
        EXPECT_FALSE(rig.controller->reliefOutdated());
        EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::NcCalc));
        EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::NextB6));
        EXPECT_TRUE(rig.fakes.view3D);
        EXPECT_EQ(rig.controller->picture().pixels, WavePicture(61, 41, 0).pixels);
        // Saved again, the document holds the same job.
        ASSERT_TRUE(rig.controller->saveDocument(folder / "again.pxm"));
        EXPECT_EQ(ReadDocumentFile(folder / "again.pxm").record, expected);
    }
}

// The drawing may hold a point placed before any picture: the open asks
// before it replaces it, and a No changes nothing.
TEST(WizardController, AnOpenAsksBeforeItReplacesADrawingWithoutPicture) {
    TempFolder folder;
    WizardRig rig;
    rig.fakes.objects = {5};
    rig.fakes.discardAnswer = false;
    EXPECT_FALSE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    EXPECT_FALSE(rig.controller->hasPicture());
    EXPECT_EQ(rig.fakes.objects, std::set<int>{5});
}

// The values of the settings are the job's from the open on: the work box
// and the relief are built with them, and the depth page may be left as it is.
TEST(WizardController, TheSettingsValuesHoldFromTheOpenOn) {
    TempFolder folder;
    WizardRig rig;
    CuttingParameters cutting;
    cutting.stepOver = 0.4;
    // Refused opens leave them waiting and the job as it was.
    rig.controller->setJobValues(0.5f, -10.0f, cutting);
    rig.fakes.discardAnswer = false;
    rig.fakes.objects = {5};
    EXPECT_FALSE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    EXPECT_EQ(rig.controller->reliefValues().BlackZ, -5.0f);
    rig.fakes.objects.clear();
    rig.controller->setJobValues(0.5f, -10.0f, cutting);
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    EXPECT_EQ(rig.controller->reliefValues().BlackZ, -10.0f);
    EXPECT_EQ(rig.controller->reliefValues().WhiteZ, 0.5f);
    EXPECT_EQ(rig.controller->cutting().stepOver, 0.4);
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::NextB3));
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::ProfApply));
}

// A new job lets the picture, relief and program go, also while a relief is
// being built, and leaves nothing to save.
TEST(WizardController, ANewJobLetsTheJobGo) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 300, 200)));
    rig.walkToCutting(folder / "a.nc");
    rig.compute();
    ASSERT_TRUE(rig.controller->program());
    rig.controller->prevFromCutting();
    rig.controller->discardJob();
    EXPECT_FALSE(rig.controller->hasPicture() || rig.controller->relief() || rig.controller->program());
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::Save));
    EXPECT_FALSE(rig.controller->saveDocument(folder / "job.pxm"));

    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "b.bmp", 300, 200)));
    rig.controller->nextFromSize();
    rig.controller->nextFromReference();  // the build runs ...
    rig.controller->discardJob();         // ... and is dropped
    EXPECT_FALSE(rig.controller->working() || rig.controller->relief());
}

// Esc during the Z no-cut pick: the zone as it was, the 3D view back; an Esc
// without a pick does nothing.
TEST(WizardController, AGivenUpZnoCutPickKeepsTheZone) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    rig.walkToCutting(folder / "a.nc");
    rig.controller->zncCheckClicked(true);
    rig.controller->startZncPick();
    rig.controller->zncPointPicked(1, 1);  // inside the 2.9 x 1.9 mm picture
    const auto level = rig.controller->zncLevel();
    ASSERT_TRUE(level);
    rig.controller->startZncPick();
    EXPECT_EQ(rig.controller->commandMode(), kZncPickMode);
    EXPECT_FALSE(rig.fakes.view3D);
    rig.controller->zncPickCancelled();
    EXPECT_EQ(rig.controller->commandMode(), kNoCommandMode);
    EXPECT_TRUE(rig.fakes.view3D);
    EXPECT_EQ(rig.controller->zncLevel(), level);
    EXPECT_TRUE(rig.controller->zncFilter().active);
    rig.fakes.view3D = false;
    rig.controller->zncPickCancelled();
    EXPECT_FALSE(rig.fakes.view3D);
}

// Units changed on the settings page: sizes in the new format, the program
// in the new units and no longer current; a program saved elsewhere from the
// NC page stays current under its new name.
TEST(WizardController, UnitsAndANewNcFileName) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 1001, 501, 100)));
    rig.walkToCutting(folder / "a.nc");
    rig.compute();
    ASSERT_FALSE(rig.controller->ncOutdated());
    rig.controller->ncFileSavedAs(folder / "b.nc");
    EXPECT_EQ(rig.controller->ncFileName(), folder / "b.nc");
    EXPECT_FALSE(rig.controller->ncOutdated());
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::NextB6));
    rig.controller->setInches(true);
    EXPECT_EQ(rig.fakes.sizeTexts, (std::vector<std::string>{"254.0000", "127.0000"}));
    EXPECT_EQ(rig.controller->post().unitsFlag, 1);
    EXPECT_TRUE(rig.controller->ncOutdated());
}


// A new picture starts without the last job's NC file, so Compute cannot
// overwrite that job's program; a reopened document keeps the file it stored.
TEST(WizardController, TheNcFileOfTheLastJobDoesNotCarryOver) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    rig.walkToCutting(folder / "a.nc");
    rig.compute();
    ASSERT_TRUE(rig.controller->saveDocument(folder / "a.pxm"));
    const std::string first = ReadWholeFile(folder / "a.nc");

    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "b.bmp", 20, 30)));
    EXPECT_TRUE(rig.controller->ncFileName().empty());
    EXPECT_FALSE(rig.controller->program());
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::NextB4));
    rig.fakes.ncDialogs = 0;
    rig.walkToCutting(folder / "b.nc");
    EXPECT_EQ(rig.fakes.ncDialogs, 1);
    rig.compute();
    EXPECT_EQ(ReadWholeFile(folder / "a.nc"), first);
    EXPECT_TRUE(std::filesystem::exists(folder / "b.nc"));

    rig.fakes.ncDialogs = 0;
    ASSERT_TRUE(rig.controller->openPicture(folder / "a.pxm"));
    rig.controller->waitForWork();
    EXPECT_EQ(rig.controller->ncFileName(), folder / "a.nc");
    EXPECT_EQ(rig.fakes.ncDialogs, 0);
}

// A cutting value typed that cannot be used: Compute names it and writes
// nothing; typed again as a number, Compute goes ahead.
TEST(WizardController, ComputeRefusesACuttingValueThatCannotBeUsed) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    rig.walkToCutting(folder / "a.nc");
    CuttingTexts texts{"0", "2", "0", "0.025", "0", 1, true, false};
    rig.controller->cuttingEdited(texts);
    rig.compute();
    ASSERT_EQ(rig.fakes.messages.size(), 1u);
    EXPECT_NE(rig.fakes.messages[0].find("field " + std::to_string(int(CuttingField::StepOver))), std::string::npos);
    EXPECT_NE(rig.fakes.messages[0].find("\"0\""), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "a.nc"));
    EXPECT_TRUE(rig.controller->ncOutdated());
    texts.stepOver = "0.5";
    rig.controller->cuttingEdited(texts);
    rig.compute();
    EXPECT_EQ(rig.fakes.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(folder / "a.nc"));
    EXPECT_EQ(rig.controller->cutting().stepOver, 0.5);
}

// Another picture opened while the crop's rectangle is picked: the pick
// stops and its selection is shown no more.
TEST(WizardController, AnotherPictureDropsTheCropSelection) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    rig.controller->modify();
    CutInfo cut;
    cut.SizeX = cut.SizeY = 1;
    rig.controller->rectanglePicked(cut);
    ASSERT_TRUE(rig.fakes.cropShown && rig.fakes.isEnabled(WizardControl::CutSel));
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "b.bmp", 30, 20)));
    EXPECT_FALSE(rig.fakes.cropShown);
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::CutSel));
    rig.controller->crop();
    EXPECT_EQ(rig.controller->picture().width, 30);
}


// The open hides the 3D cutter; the tool page shows the chosen one.
TEST(WizardController, TheCutterShowsOnTheToolPageOnly) {
    TempFolder folder;
    WizardRig rig;
    rig.fakes.cutterShown = true;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    EXPECT_FALSE(rig.fakes.cutterShown);
    rig.walkToCutting(folder / "a.nc");
    EXPECT_TRUE(rig.fakes.cutterShown);
}

// Building the relief on the way to the depth page makes the job one that
// can be saved, as applying the depths does; a changed depth takes it back.
TEST(WizardController, AJobCanBeSavedOnceItsReliefIsBuilt) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "a.bmp", 30, 20)));
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::Save));
    rig.controller->nextFromSize();
    rig.controller->nextFromReference();
    rig.controller->waitForWork();
    ASSERT_TRUE(rig.controller->relief());
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::Save));
    EXPECT_TRUE(rig.fakes.isEnabled(WizardControl::NextB3));
    rig.controller->blackDepthEdited("-4");
    EXPECT_FALSE(rig.fakes.isEnabled(WizardControl::Save));
}

}  // namespace
}  // namespace calvoro::test
