#include "engine/document/SaveName.h"

#include <gtest/gtest.h>

namespace calvoro {
namespace {

TEST(SaveNameTest, ChosenNameGetsTheExtensionOfItsKindOnlyWhenItHasNone) {
    struct Case {
        const char* chosen;
        SaveKind kind;
        const char* saved;
    };
    const Case cases[] = {
        {"job", SaveKind::Document, "job.pxm"},
        {"job.PXM", SaveKind::Document, "job.PXM"},
        {"job", SaveKind::Stl, "job.stl"},
        {"job", SaveKind::Dxf, "job.dxf"},
        {"job.pxm", SaveKind::Stl, "job.pxm"},
        {"/home/maker/v1.2/job", SaveKind::Document, "/home/maker/v1.2/job.pxm"},
        {"/home/maker/v1.2/job.nc", SaveKind::Dxf, "/home/maker/v1.2/job.nc"},
        {"job.", SaveKind::Stl, "job."},
    };
    for (const Case& c : cases) EXPECT_EQ(CompleteSaveName(c.chosen, c.kind), c.saved) << c.chosen;
}

TEST(SaveNameTest, ProposalFromTheDocumentElseThePicture) {
    struct Case {
        const char* document;
        const char* picture;
        const char* proposed;
    };
    const Case cases[] = {
        {"/jobs/sign.pxm", "/pictures/logo.bmp", "/jobs/sign"},
        {"", "/pictures/logo.bmp", "logo"},
        {"", "/pictures/v1.2/logo", "logo"},
        {"", "/pictures/logo.final.jpg", "logo.final"},
        {"", "", "t"},
        {"*.*.pxm", "/pictures/logo.bmp", "t"},
    };
    for (const Case& c : cases) EXPECT_EQ(ProposedSaveName(c.document, c.picture), c.proposed) << c.document;
}

}  // namespace
}  // namespace calvoro
