// The block library the program ships (data/Library.blk) is made here, by the
// kernel itself: the test fails when the file differs from what this code
// writes. To make the file anew after changing the blocks, run this test
// with CALVORO_WRITE_LIBRARY=1 in the environment.
#include "kernel/drawing/BlockLibraryFile.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/platform/AtomicFile.h"

#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

class BlockBuilder {
public:
    explicit BlockBuilder(const char* name) : block_(std::make_unique<TSourceBlock2D>(-1, MakeBlockName(name))) {
        block_->SetFromLibrary(true);
    }
    BlockBuilder& Line(double x0, double y0, double x1, double y1) {
        return Add(std::make_unique<TLine2D>(nextID_, MakePoint2D(x0, y0), MakePoint2D(x1, y1)));
    }
    BlockBuilder& Circle(double cx, double cy, double r) {
        return Add(std::make_unique<TCerchio2D>(nextID_, MakePoint2D(cx, cy), MakePoint2D(cx + r, cy)));
    }
    BlockBuilder& Triangle(TPoint2D a, TPoint2D b, TPoint2D c) {
        return Add(std::make_unique<TPolygon2D>(nextID_, std::vector<TPoint2D>{a, b, c}));
    }
    BlockBuilder& Point(double x, double y) { return Add(std::make_unique<TPunto2D>(nextID_, MakePoint2D(x, y))); }
    std::unique_ptr<TSourceBlock2D> Take() { return std::move(block_); }

private:
    BlockBuilder& Add(std::unique_ptr<TObject2D> object) {
        block_->Objects().Add(std::move(object));
        ++nextID_;
        return *this;
    }

    std::unique_ptr<TSourceBlock2D> block_;
    std::int32_t nextID_ = 0;
};

// The blocks, one drawing unit being a millimetre, each around its reference
// point at the origin.
std::string StandardLibrary() {
    TQVCmp2D drawing;
    // A cross with a small circle: the centre of a hole or an arc.
    drawing.AddSourceBlock(-1, BlockBuilder("CentreMark").Line(-3, 0, 3, 0).Line(0, -3, 0, 3).Circle(0, 0, 1).Take());
    // An arrow of 10 along X with its tip on the reference point.
    drawing.AddSourceBlock(-1, BlockBuilder("Arrow")
                                   .Line(-10, 0, 0, 0)
                                   .Triangle(MakePoint2D(0, 0), MakePoint2D(-3, 1), MakePoint2D(-3, -1))
                                   .Take());
    // The X and Y axes of 10, each with an arrow head, and the origin point.
    drawing.AddSourceBlock(-1, BlockBuilder("Axes")
                                   .Point(0, 0)
                                   .Line(0, 0, 10, 0)
                                   .Triangle(MakePoint2D(10, 0), MakePoint2D(8, 0.75), MakePoint2D(8, -0.75))
                                   .Line(0, 0, 0, 10)
                                   .Triangle(MakePoint2D(0, 10), MakePoint2D(0.75, 8), MakePoint2D(-0.75, 8))
                                   .Take());
    BinaryWriter writer;
    drawing.SaveLibrary(writer);
    return writer.takeBytes();
}

std::filesystem::path ShippedLibrary() {
    const char* source = std::getenv("CALVORO_SOURCE_DIR");
    return std::filesystem::path(source != nullptr ? source : ".") / "data" / "Library.blk";
}

class StandardLibraryFile : public DrawingTest {};

TEST_F(StandardLibraryFile, ShippedFileIsTheOneTheKernelWrites) {
    const std::string bytes = StandardLibrary();
    if (std::getenv("CALVORO_WRITE_LIBRARY") != nullptr) WriteFileAtomically(ShippedLibrary(), bytes);
    ASSERT_TRUE(std::filesystem::exists(ShippedLibrary())) << ShippedLibrary();
    EXPECT_TRUE(ReadWholeFile(ShippedLibrary()) == bytes) << "data/Library.blk is out of date";
}

TEST_F(StandardLibraryFile, ShippedFileLoadsAsLibraryBlocks) {
    TQVCmp2D drawing;
    ASSERT_TRUE(LoadBlockLibraryFile(drawing, ShippedLibrary()));
    ASSERT_EQ(drawing.SourceBlockCount(), 3);
    for (const char* name : {"CentreMark", "Arrow", "Axes"}) {
        TSourceBlock2D& block = drawing.FindSourceBlock(name);
        EXPECT_TRUE(block.FromLibrary()) << name;
        EXPECT_GT(block.Objects().Count(), 0) << name;
    }
    EXPECT_EQ(drawing.FindSourceBlock("Arrow").Box(), MakeRect2D(-10, -1, 0, 1));

    // Written back through a temporary file, it is the same file.
    const std::filesystem::path copy = std::filesystem::temp_directory_path() / "calvoro-library-copy.blk";
    SaveBlockLibraryFile(drawing, copy);
    EXPECT_TRUE(ReadWholeFile(copy) == ReadWholeFile(ShippedLibrary()));
    std::filesystem::remove(copy);
}

TEST_F(StandardLibraryFile, AMissingLibraryIsNoError) {
    TQVCmp2D drawing;
    EXPECT_FALSE(LoadBlockLibraryFile(drawing, ShippedLibrary().parent_path() / "NoSuchLibrary.blk"));
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
}

}  // namespace
