// The job's one owner: what each change tells the views, and what another
// picture lets go of.
#include <gtest/gtest.h>

#include <vector>

#include "shell/wizard/CuttingValues.h"
#include "shell/wizard/Job.h"

namespace calvoro::test {
namespace {

struct Recorder : JobObserver {
    std::vector<JobChanges> seen;
    void jobChanged(const Job&, JobChanges changes) override { seen.push_back(changes); }
};

Picture Grey(int width, int height) {
    Picture picture;
    picture.allocate(width, height, PixelFormat::Grey8);
    return picture;
}

ImageInfo Info(int width, int height) {
    ImageInfo info;
    info.PixelWidth = width;
    info.PixelHeight = height;
    info.SizeX = float(width - 1);
    info.SizeY = float(height - 1);
    info.Scale = 1;
    return info;
}

// A job with a relief, a program and an NC file, as after a compute.
void Compute(Job& job) {
    job.newPicture(Grey(4, 3), "/pictures/a.bmp", false, Info(4, 3));
    job.setHeightMap(std::make_shared<HeightMap>(4, 3, -1.0f), job.reliefStamp());
    job.setNcFileName("/nc/a.nc");
    NcProgram program;
    program.text = "%\r\n";
    job.setProgram(program, {NcPathNode{}}, job.programStamp());
}

TEST(Job, EveryChangeTellsItsObserversWhatChanged) {
    Job job;
    Recorder recorder;
    job.addObserver(recorder);
    struct Row {
        void (*change)(Job&);
        JobChanges told;
    };
    const Row rows[] = {
        {[](Job& j) { j.setWhiteZ(1); }, kJobDepths | kJobOutdated},
        {[](Job& j) { j.editPlacement([](Placement& p) { return p.setSize(10, 10); }); }, kJobPlacement},
        {[](Job& j) { j.setNcFileName("b.nc"); }, kJobNcFile | kJobProgram | kJobOutdated},
        {[](Job& j) { j.programSavedAs("c.nc"); }, kJobNcFile},
        {[](Job& j) { j.setCutting(CuttingParameters{}); }, kJobCutting},
        {[](Job& j) { j.setPost(PostSettings{}); }, kJobPost},
        {[](Job& j) { j.outdateProgram(); }, kJobOutdated},
    };
    for (const Row& row : rows) {
        recorder.seen.clear();
        row.change(job);
        ASSERT_EQ(recorder.seen.size(), 1u);
        EXPECT_EQ(recorder.seen[0], row.told);
    }
    job.removeObserver(recorder);
    job.outdateProgram();
    EXPECT_EQ(recorder.seen.size(), 1u);
}

// Another picture lets go of the relief, the program and the NC file of the
// last job, so that nothing of it is shown or overwritten.
TEST(Job, AnotherPictureLetsGoOfTheLastJob) {
    Job job;
    Compute(job);
    ASSERT_FALSE(job.programOutdated());
    job.setZncChecked(true);
    job.setZncLevel(-0.5f);
    job.newPicture(Grey(5, 5), "/pictures/b.bmp", false, Info(5, 5));
    EXPECT_FALSE(job.heightMap());
    EXPECT_FALSE(job.program());
    EXPECT_TRUE(job.toolPath().empty());
    EXPECT_TRUE(job.ncFileName().empty());
    EXPECT_TRUE(job.reliefOutdated() && job.programOutdated());
    EXPECT_FALSE(job.zncFilter().active);
    EXPECT_FALSE(job.cutting().zNoCutActive);
    EXPECT_EQ(job.info().PixelWidth, 5);
}

TEST(Job, IsOpenOnceAPictureIsLoaded) {
    EXPECT_FALSE(JobOpen(nullptr));
    Job job;
    EXPECT_FALSE(JobOpen(&job));
    job.newPicture(Grey(5, 5), "/pictures/b.bmp", false, Info(5, 5));
    EXPECT_TRUE(JobOpen(&job));
}

// A result computed for inputs that changed meanwhile is kept but not current.
TEST(Job, AResultForOldInputsIsNotCurrent) {
    Job job;
    job.newPicture(Grey(4, 3), "a.bmp", false, Info(4, 3));
    const int reliefStamp = job.reliefStamp();
    job.setBlackZ(-3);
    job.setHeightMap(std::make_shared<HeightMap>(4, 3, -1.0f), reliefStamp);
    EXPECT_TRUE(job.heightMap() && job.reliefOutdated());
    const int programStamp = job.programStamp();
    job.outdateProgram();
    job.setProgram(NcProgram{}, {}, programStamp);
    EXPECT_TRUE(job.program() && job.programOutdated());
}

TEST(CuttingValues, AValueThatCannotBeUsedIsNamedAndTheOthersAreRead) {
    struct Row {
        CuttingTexts texts;
        std::optional<CuttingField> bad;
    };
    const CuttingTexts good{"1.5", "-2", "0", "0.01", "0", 2, true, true};
    const auto with = [&good](std::string CuttingTexts::*field, const char* text) {
        CuttingTexts texts = good;
        texts.*field = text;
        return texts;
    };
    const Row rows[] = {
        {good, std::nullopt},
        {with(&CuttingTexts::stepOver, "."), CuttingField::StepOver},
        {with(&CuttingTexts::stepOver, "0"), CuttingField::StepOver},
        {with(&CuttingTexts::stepOver, ""), CuttingField::StepOver},
        {with(&CuttingTexts::feedPlane, "."), CuttingField::FeedPlane},
        {with(&CuttingTexts::feedPlane, "-"), CuttingField::FeedPlane},
        {with(&CuttingTexts::stock, "."), CuttingField::Stock},
        {with(&CuttingTexts::stock, "-1"), CuttingField::Stock},
        {with(&CuttingTexts::filter, "."), CuttingField::Filter},
        {with(&CuttingTexts::zStep, "."), CuttingField::ZStep},
    };
    CuttingParameters previous;
    previous.stepOver = 7;
    for (const Row& row : rows) {
        const CuttingReading reading = ReadCuttingTexts(row.texts, previous);
        EXPECT_EQ(reading.badField, row.bad) << row.texts.stepOver << " " << row.texts.feedPlane;
        // The others are read all the same; the bad one keeps its last value.
        EXPECT_EQ(reading.values.stepOver, row.bad == CuttingField::StepOver ? 7.0 : 1.5);
        EXPECT_EQ(reading.values.passCount, 2);
        EXPECT_TRUE(reading.values.rasterAlongY);
    }
    EXPECT_EQ(ReadCuttingTexts(good, previous).values.feedPlaneZ, -2.0);
}

}  // namespace
}  // namespace calvoro::test
