// A block instance is picked by its source in the source's own units: an
// instance scaled up is a hit near a member line even where its box, grown
// by the aperture in world units, is missed.
#include "tests/kernel/entities/EntityTestSupport.h"

#include "kernel/entities/QV2D_Entities.h"
#include "kernel/geometry/Picking.h"

using namespace calvoro;
using namespace calvoro::test;

namespace {

struct ScaledBlockPick : EntityTest {};

TEST_F(ScaledBlockPick, TheSourceIsAskedWithThePointInItsOwnUnits) {
    // One member line from (0, 0) to (1, 0); the instance is ten times larger
    // and stands at (100, 0), so the line runs from (100, 0) to (110, 0).
    TSourceBlock2D source(1, MakeBlockName("Bar"));
    source.Objects().Add(std::make_unique<TLine2D>(7, MakePoint2D(0, 0), MakePoint2D(1, 0)));
    source.RecalcBox();
    const TMatrix2D tenTimes = MultiplyMatrix2D(ScalingMatrix2D(10, 10), TranslationMatrix2D(100, 0));
    TBlock2D block(2, source, MakePoint2D(0, 0)), disabled(3, source, MakePoint2D(0, 0));
    block.SetObjectMatrix(tenTimes);
    disabled.SetObjectMatrix(tenTimes);
    disabled.SetEnabled(false);
    // Read back, an instance has no source until the drawing links it.
    const std::unique_ptr<TBlock2D> unlinked = ReadRecord<TBlock2D>(RecordOf(block));
    struct Case {
        const char* what;
        TBlock2D& block;
        TPoint2D at;
        int expected;
        double distance;  // negative: not checked
    };
    const Case cases[] = {
        {"3 off the line, 0.3 in the source", block, MakePoint2D(105, 3), 7, -1},
        {"below the line", block, MakePoint2D(108, -4), 7, -1},
        {"beside the line's end", block, MakePoint2D(112, 2), 7, -1},
        {"near the corner of the source's grown box", block, MakePoint2D(119, 9), kHitNearBox, 2.0},
        {"beyond the source's grown box", block, MakePoint2D(105, 30), kHitMiss, -1},
        {"the insertion point", block, MakePoint2D(100.5, 0.5), kHitOutline, -1},
        {"a disabled instance", disabled, MakePoint2D(105, 3), kHitMiss, -1},
        {"an instance without a source", *unlinked, MakePoint2D(105, 3), kHitMiss, -1},
    };
    for (const Case& c : cases) {
        double distance = 0;
        EXPECT_EQ(c.block.HitTest(c.at, distance, 1.0), c.expected) << c.what;
        if (c.distance >= 0) {
            EXPECT_NEAR(distance, c.distance, 1e-12) << c.what;
        }
    }
}

}  // namespace
