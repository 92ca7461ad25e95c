// Primitives read from a stream carry no control-point handler: picked near a
// control point they answer as their outline does, and they draw no control
// squares, while the same primitive made in the drawing shows and picks them.
#include "tests/kernel/entities/EntityTestSupport.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/geometry/Picking.h"

#include <functional>
#include <memory>

using namespace calvoro;
using namespace calvoro::test;

namespace {

struct StreamedPrimitive : EntityTest {};

// The pick result at the point, and how many control squares are drawn.
std::pair<int, std::size_t> PickAndSquares(TObject2D& object, const TPoint2D& point) {
    double distance = 0.0;
    const int hit = object.HitTest(point, distance, 0.5);
    RecordingCanvas target;
    TDecorativeCanvas canvas(target);
    object.DrawControlPoints(IdentityMatrix2D, canvas, 4);
    return {hit, target.CallsOf(CanvasOp::Rectangle).size()};
}

TEST_F(StreamedPrimitive, ShowsNoControlPointsAndIsPickedByItsOutline) {
    const std::vector<TPoint2D> zigzag = {MakePoint2D(0, 0), MakePoint2D(5, 5), MakePoint2D(10, 0)};
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TObject2D>()> make;
        TPoint2D pick;  // near a control point on the outline
        int madeHit;    // that control point's index
        std::size_t madeSquares;
        int readHit;  // the outline's answer
    };
    const Case cases[] = {
        {"line near its end", [] { return std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0)); },
         MakePoint2D(9.9, 0.1), 1, 2, kHitOutline},
        // A single point has no segment to be near.
        {"point", [] { return std::make_unique<TPunto2D>(1, MakePoint2D(3, 4)); }, MakePoint2D(3.1, 4), 0, 1,
         kHitNearBox},
        {"polyline at its middle vertex", [&] { return std::make_unique<TPolyline2D>(1, zigzag); }, MakePoint2D(5, 4.9),
         1, 3, kHitOutline},
        {"circle at its rim point",
         [] { return std::make_unique<TCerchio2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0)); }, MakePoint2D(9.9, 0.1),
         1, 2, kHitOutline},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<TObject2D> made = c.make();
        EXPECT_EQ(PickAndSquares(*made, c.pick), std::make_pair(c.madeHit, c.madeSquares)) << c.name;
        const std::unique_ptr<TObject2D> read = RoundTrip(*made);
        EXPECT_EQ(read->Handler(), nullptr) << c.name;
        EXPECT_EQ(PickAndSquares(*read, c.pick), std::make_pair(c.readHit, std::size_t{0})) << c.name;
        // A copy takes the handler of what it copies.
        const std::unique_ptr<TObject2D> copy = read->Clone();
        EXPECT_EQ(copy->Handler(), nullptr) << c.name;
    }
}

}  // namespace
