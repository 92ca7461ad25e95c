#include "engine/document/SaveName.h"

#include <gtest/gtest.h>

#include <tuple>

namespace calvoro {
namespace {

TEST(SaveNameTest, ChosenNameGetsTheExtensionOfItsKindOnlyWhenItHasNone) {
    const std::tuple<const char*, SaveKind, const char*> cases[] = {
        {"job", SaveKind::Document, "job.pxm"},
        {"job", SaveKind::Stl, "job.stl"},
        {"job", SaveKind::Dxf, "job.dxf"},
        {"job.PXM", SaveKind::Document, "job.PXM"},
        {"job.", SaveKind::Stl, "job."},
        {"/home/maker/v1.2/job", SaveKind::Document, "/home/maker/v1.2/job.pxm"},
        {"/home/maker/v1.2/job.nc", SaveKind::Dxf, "/home/maker/v1.2/job.nc"}};
    for (const auto& [chosen, kind, saved] : cases) EXPECT_EQ(CompleteSaveName(chosen, kind), saved) << chosen;
}

}  // namespace
}  // namespace calvoro
