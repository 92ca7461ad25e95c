// Copies between entities: which classes take the points of which, what a
// refused copy leaves, and arcs whose ends survive a copy.
#include "tests/support/Drawings.h"

#include "kernel/entities/QV2D_Entities.h"

#include <functional>
#include <numbers>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr double kPi = std::numbers::pi;

std::vector<TPoint2D> PointsOf(const TPrimitive2D& p) {
    const auto points = p.Points().Points();
    return {points.begin(), points.end()};
}

class AssignTest : public EntityTest {};

// Conversions take the points as they stand (a frame's first corner becomes a
// circle's centre) or, from a class they do not take, leave their own alone.
TEST_F(AssignTest, EachClassTakesThePointsOfTheClassesItAccepts) {
    TFrame2D frame(1, MakePoint2D(0, 0), MakePoint2D(4, 2));
    TEllipse2D ellipse(2, MakePoint2D(-1, -1), MakePoint2D(1, 1));
    TArco2D arc(3, MakePoint2D(1, 1), MakePoint2D(2, 1), 0, kPi);
    TCerchio2D circle(4, MakePoint2D(9, 9), MakePoint2D(9, 10));
    TLine2D line(5, MakePoint2D(1, 2), MakePoint2D(3, 4));
    line.SetObjectMatrix(TranslationMatrix2D(10, 0));
    TPolyline2D polyline(6, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(9, 9), MakePoint2D(5, 5)});
    TPolygon2D polygon(7, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(0, 1)});
    TBSpline2D spline(8, std::vector<TPoint2D>{MakePoint2D(4, 4), MakePoint2D(5, 5), MakePoint2D(6, 4)});
    using Make = std::function<std::unique_ptr<TPrimitive2D>()>;
    const Make toRectangle = [] { return std::make_unique<TRectangle2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8)); };
    const Make toEllipse = [] { return std::make_unique<TFilledEllipse2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8)); };
    const Make toCircle = [] { return std::make_unique<TFilledCerchio2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8)); };
    const Make toPolyline = [] { return std::make_unique<TPolyline2D>(10, std::vector<TPoint2D>{MakePoint2D(7, 7)}); };
    const Make toPolygon = [] { return std::make_unique<TPolygon2D>(10, std::vector<TPoint2D>{}); };
    const Make toPoint = [] { return std::make_unique<TPunto2D>(10, MakePoint2D(5, 5)); };
    const Make toLine = [] { return std::make_unique<TLine2D>(10, MakePoint2D(2, 2), MakePoint2D(3, 3)); };
    struct Case {
        Make target;
        const TPrimitive2D& source;
        int taken;  // the source's first points taken; 0 when refused
    };
    const Case cases[] = {
        {toRectangle, frame, 2},  {toRectangle, ellipse, 2}, {toRectangle, arc, 0}, {toEllipse, frame, 2},
        {toEllipse, arc, 2},      {toEllipse, circle, 0},    {toCircle, frame, 2},  {toCircle, arc, 2},
        {toCircle, circle, 2},    {toCircle, ellipse, 2},    {toCircle, spline, 0}, {toPolyline, line, 2},
        {toPolyline, polygon, 3}, {toPolygon, polyline, 3},  {toPoint, line, 0},    {toLine, polygon, 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TPrimitive2D> target = c.target();
        SCOPED_TRACE(std::string(target->ClassName()) + " from " + std::string(c.source.ClassName()));
        const std::vector<TPoint2D> own = PointsOf(*target), theirs = PointsOf(c.source);
        const bool growable = target->Points().Growable();
        target->Assign(c.source);
        EXPECT_EQ(PointsOf(*target),
                  c.taken == 0 ? own : std::vector<TPoint2D>(theirs.begin(), theirs.begin() + c.taken));
        EXPECT_EQ(target->Points().Growable(), growable);
    }
    // The box follows the points and the matrix taken over.
    TPunto2D point(11, MakePoint2D(5, 5));
    point.Assign(line);
    EXPECT_EQ(point.Box(), MakeRect2D(15, 5, 15, 5));
    TPolyline2D emptied(12, std::vector<TPoint2D>{MakePoint2D(7, 7)});
    emptied.Assign(TPolygon2D(13, std::vector<TPoint2D>{}));
    EXPECT_EQ(emptied.Points().Count(), 0);
    EXPECT_EQ(emptied.Box(), MakeRect2D(0, 0, 0, 0));
    TCerchio2D refused(14, MakePoint2D(0, 0), MakePoint2D(1, 0));
    refused.Assign(spline);
    EXPECT_EQ(refused.GetNPts(), 51);
}

}  // namespace
