// The spacing rule shared by every place that edits the grid and snap, and the
// cut of layer names, without any window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/model/Layer.h"
#include "shell/app/GridCoupling.h"
#include "shell/app/LayerPanelModel.h"
#include "shell/app/Pages.h"

using namespace calvoro;

namespace {

constexpr GridValues kStart{10, 20, 1, 2, 5, 6, true, true};

TEST(GridCouplingTest, AChangeMovesItsFieldAndACoupledPartnerOnly) {
    struct Case {
        GridField field;
        std::string text;
        bool coupled;
        GridValues expected;
        const char* shownWhenLeft;  // null: the text stays
    };
    const std::vector<Case> cases = {
        {GridField::GridX, "5", true, {5, 5, 1, 2, 5, 6, true, true}, nullptr},
        {GridField::GridX, "5", false, {5, 20, 1, 2, 5, 6, true, true}, nullptr},
        {GridField::GridY, "2.5", true, {2.5, 2.5, 1, 2, 5, 6, true, true}, nullptr},
        {GridField::GridSubY, " 0.25 ", true, {10, 20, 0.25, 0.25, 5, 6, true, true}, nullptr},
        {GridField::XSnap, "0.001", true, {10, 20, 1, 2, 0.001, 0.001, true, true}, nullptr},
        {GridField::YSnap, "50", false, {10, 20, 1, 2, 5, 50, true, true}, nullptr},
        // On the way to a spacing, or none at all: nothing changes, and a box
        // left so shows the spacing in force.
        {GridField::GridX, "", true, kStart, "10"},
        {GridField::GridY, "0.", true, kStart, "20"},
        {GridField::GridSubX, "-1", true, kStart, "1"},
        {GridField::XSnap, "1,5", true, kStart, "5"},
        {GridField::YSnap, "nan", true, kStart, "6"},
        {GridField::YSnap, "1e999", true, kStart, "6"},
    };
    for (const Case& c : cases) {
        GridValuesHolder host;
        host.SetGrid(kStart);
        GridCoupling coupling(host);
        EXPECT_EQ(coupling.Change(c.field, c.text, c.coupled), c.shownWhenLeft == nullptr) << c.text;
        EXPECT_EQ(host.Grid(), c.expected) << c.text;
        const std::optional<std::string> shown = coupling.Finish(c.field, c.text);
        EXPECT_EQ(shown.value_or("(kept)"), c.shownWhenLeft ? c.shownWhenLeft : "(kept)") << c.text;
    }
}

// The steps of placing a picture, as a person takes them; what the grid's
// spacing is after each, the other values untouched.
TEST(PictureGridTest, APictureIsPlacedOnItsOwnGridAndTheUsersSpacingComesBack) {
    enum Step { Open, OpenInches, Done, User5, Page };
    struct Case {
        const char* what;
        std::vector<std::pair<Step, int>> steps;  // the int: the page shown
        double gridX, gridY;
        bool placing;
    };
    const double x = kStart.GridDeltaX, y = kStart.GridDeltaY;
    const std::vector<Case> cases = {
        {"open in millimetres", {{Open, 0}}, 10, 10, true},
        {"open in inches", {{OpenInches, 0}}, 1, 1, true},
        {"open, then done", {{Open, 0}, {Done, 0}}, x, y, false},
        {"done with nothing kept", {{Done, 0}}, x, y, false},
        // A second picture opened while placing keeps the user's spacing waiting.
        {"two opens, then done", {{Open, 0}, {OpenInches, 0}, {Done, 0}}, x, y, false},
        // A spacing chosen while placing is the user's.
        {"the user's choice stays", {{Open, 0}, {User5, 0}, {Done, 0}}, 5, 5, false},
        // The job's pages: the placing pages, then the depth page and back.
        {"size page", {{Page, page::kSize}}, 10, 10, true},
        {"size, edit, reference",
         {{Page, page::kSize}, {Page, page::kDistance}, {Page, page::kReference}},
         10,
         10,
         true},
        {"on to the depth", {{Page, page::kSize}, {Page, page::kReference}, {Page, page::kDepth}}, x, y, false},
        {"back to the reference", {{Page, page::kSize}, {Page, page::kDepth}, {Page, page::kReference}}, 10, 10, true},
        {"a document's replay", {{Page, page::kSize}, {Page, page::kReference}, {Page, page::kCutting}}, x, y, false},
        {"the program page alone", {{Page, page::kProgram}}, x, y, false},
    };
    for (const Case& c : cases) {
        GridValuesHolder host;
        host.SetGrid(kStart);
        PictureGrid grid(host);
        for (const auto& [step, page] : c.steps) {
            switch (step) {
                case Open:
                    grid.ResetGridForImage(false);
                    break;
                case OpenInches:
                    grid.ResetGridForImage(true);
                    break;
                case Done:
                    grid.GiveBack();
                    break;
                case Page:
                    grid.PageShown(page, false);
                    break;
                case User5: {
                    GridCoupling coupling(host);
                    coupling.Change(GridField::GridX, "5", true);
                    break;
                }
            }
        }
        GridValues expected = kStart;
        expected.GridDeltaX = c.gridX;
        expected.GridDeltaY = c.gridY;
        EXPECT_EQ(host.Grid(), expected) << c.what;
        EXPECT_EQ(grid.Placing(), c.placing) << c.what;
    }
}

TEST(LayerPanelModelTest, NamesAreCutToWholeCharactersWithinTheLayersLimit) {
    const std::string e = "\xC3\xA9";  // two bytes
    std::string twentyE;
    for (int i = 0; i < 20; ++i) twentyE += e;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(40, 'a'), std::string(31, 'a')},
        {std::string(31, 'b'), std::string(31, 'b')},
        {twentyE, twentyE.substr(0, 30)},                               // 15 whole characters
        {std::string(30, 'c') + "\xE2\x82\xAC", std::string(30, 'c')},  // a euro sign would not fit
        {std::string(28, 'd') + "\xE2\x82\xAC", std::string(28, 'd') + "\xE2\x82\xAC"},
    };
    for (const auto& [name, stored] : cases) {
        TLayer layer(3);
        ApplyLayerPanel(layer, {name, 1, clBlack, true});
        EXPECT_EQ(layer.Name(), stored);
    }
}

}  // namespace
