// The polyline, arc and given-size placing tasks, driven by synthetic clicks
// and commands through the 2D program on a viewport of one unit a pixel: what
// each sequence of input leaves in the drawing.
#include "tests/kernel/view/ViewTestSupport.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/tasks/PlacingTasks.h"

#include <functional>
#include <numbers>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

struct NoHost : KernelHost {};

class PlacingTasksTest : public ProgramViewTest<NoHost> {
protected:
    void StartPolyline() {
        const TPoint2D first = MakePoint2D(0, 0);
        program->StartOperation(TQV2D_DrawPolyline::Class,
                                std::make_unique<TQV2D_DrawUnSizedPrimitiveParam>(
                                    nullptr, std::make_unique<TPolyline2D>(-1, std::span(&first, 1)), 0, false));
    }
    // The points of the one polyline the drawing holds; none without one.
    std::vector<TPoint2D> PolylinePoints() {
        const auto objects = ObjectsOf(drawing);
        if (objects.size() != 1) return {};
        auto* polyline = dynamic_cast<TPolyline2D*>(objects[0]);
        if (polyline == nullptr) return {};
        const auto points = polyline->Points().Points();
        return {points.begin(), points.end()};
    }
};

TEST_F(PlacingTasksTest, APolylineKeepsTheClickedPointsAndClosesOnlyWhenAsked) {
    program->SetUseSnap(true);
    struct Case {
        const char* name;
        int clicks;
        std::uint16_t command;
        std::vector<TPoint2D> expected;
    };
    const TPoint2D a = MakePoint2D(10, 10), b = MakePoint2D(50, 10), c = MakePoint2D(50, 40);
    const Case cases[] = {
        {"three, accepted", 3, kCommandAccept, {a, b, c}},
        {"three, closed", 3, kCommandClosePolyline, {a, b, c, a}},
        {"two, closed: too few to close", 2, kCommandClosePolyline, {a, b}},
        {"one, accepted: no polyline", 1, kCommandAccept, {}},
        {"three, cancelled", 3, kCommandCancel, {}},
    };
    const TPoint2D clicks[] = {a, b, c};
    for (const Case& k : cases) {
        drawing.ClearObjects();
        StartPolyline();
        for (int i = 0; i < k.clicks; ++i) {
            Move(clicks[i].X + 2, clicks[i].Y + 3);  // snapped back to the grid
            Click(clicks[i].X + 2, clicks[i].Y + 3);
        }
        Move(90, 90);  // the point under the cursor is no point of the polyline
        program->PostCommandEvent(k.command);
        EXPECT_EQ(Current(), "TCADIdleState") << k.name;
        EXPECT_EQ(PolylinePoints(), k.expected) << k.name;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(PlacingTasksTest, AShapeOfGivenSizeGoesWhereTheClickIs) {
    program->StartOperation(TQV2D_PlaceShape::Class, std::make_unique<TPlaceShapeParam>([](const TPoint2D& c) {
                                return std::make_unique<TCerchio2D>(-1, c, MakePoint2D(c.X + 5, c.Y));
                            }));
    Move(30, 30);
    Move(40, 50);
    Click(40, 50);
    const auto objects = ObjectsOf(drawing);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_NEAR(CartesianPoint(objects[0]->Box().FirstCorner()).X, 35, 1.0);
    EXPECT_EQ(Current(), "TCADIdleState");
    EXPECT_THROW(program->StartOperation(TQV2D_PlaceShape::Class, std::make_unique<TPlaceShapeParam>(nullptr)),
                 ECADCoreException);
}

TEST_F(PlacingTasksTest, AnArcTakesItsCentreStartAndEndFromThreeClicks) {
    program->SetUseSnap(true);
    program->StartOperation(TQV2D_DrawArc3::Class, std::make_unique<TCAD2DCommonParam>());
    Click(100, 50);
    Click(100, 50);  // a start on the centre is refused
    Move(120, 50);
    Click(120, 50);
    Move(100, 70);
    Click(100, 70);
    const auto objects = ObjectsOf(drawing);
    ASSERT_EQ(objects.size(), 1u);
    auto* arc = dynamic_cast<TArco2D*>(objects[0]);
    ASSERT_NE(arc, nullptr);
    const TArcData data = arc->GetArcData();
    EXPECT_NEAR(data.Radius, 20, 1e-9);
    EXPECT_NEAR(data.StartAngle, 0, 1e-9);
    EXPECT_NEAR(data.EndAngle, std::numbers::pi / 2, 1e-9);
}

}  // namespace
