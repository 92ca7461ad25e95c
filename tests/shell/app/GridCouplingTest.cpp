// The rules shared by every place that edits the grid and snap spacings, the
// layer page's values and the About box's credit, without any window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/model/Layer.h"
#include "shell/app/AboutText.h"
#include "shell/app/GridCoupling.h"
#include "shell/app/LayerPanelModel.h"

using namespace calvoro;

namespace {

GridValues Start() {
    return {10, 20, 1, 2, 5, 6, true, true};
}

TEST(GridCouplingTest, AChangeMovesItsFieldAndACoupledPartnerOnly) {
    struct Case {
        GridField field;
        std::string text;
        bool coupled;
        bool taken;
        GridValues expected;
    };
    const std::vector<Case> cases = {
        {GridField::GridX, "5", true, true, {5, 5, 1, 2, 5, 6, true, true}},
        {GridField::GridX, "5", false, true, {5, 20, 1, 2, 5, 6, true, true}},
        {GridField::GridY, "2.5", true, true, {2.5, 2.5, 1, 2, 5, 6, true, true}},
        {GridField::GridSubY, " 0.25 ", true, true, {10, 20, 0.25, 0.25, 5, 6, true, true}},
        {GridField::XSnap, "0.001", true, true, {10, 20, 1, 2, 0.001, 0.001, true, true}},
        {GridField::YSnap, "50", false, true, {10, 20, 1, 2, 5, 50, true, true}},
        // On the way to a spacing, or none at all: nothing changes.
        {GridField::GridX, "", true, false, Start()},
        {GridField::GridX, "0", true, false, Start()},
        {GridField::GridX, "0.", true, false, Start()},
        {GridField::GridSubX, "-1", true, false, Start()},
        {GridField::XSnap, "abc", true, false, Start()},
        {GridField::XSnap, "1,5", true, false, Start()},
        {GridField::YSnap, "nan", true, false, Start()},
        {GridField::YSnap, "1e999", true, false, Start()},
    };
    for (const Case& c : cases) {
        GridValuesHolder host;
        host.SetGrid(Start());
        GridCoupling coupling(host);
        EXPECT_EQ(coupling.Change(c.field, c.text, c.coupled), c.taken) << c.text;
        EXPECT_EQ(host.Grid(), c.expected) << c.text;
    }
}

TEST(GridCouplingTest, ALeftBoxThatHoldsNoSpacingGetsTheSpacingInForceBack) {
    GridValuesHolder host;
    host.SetGrid(Start());
    const GridCoupling coupling(host);
    EXPECT_EQ(coupling.Finish(GridField::GridY, "abc"), "20");
    EXPECT_EQ(coupling.Finish(GridField::YSnap, ""), "6");
    EXPECT_EQ(coupling.Finish(GridField::GridY, "3"), std::nullopt);
}

TEST(GridCouplingTest, RevertPutsBackTheSnapshotWhateverChanged) {
    GridValuesHolder host;
    host.SetGrid(Start());
    GridCoupling coupling(host);
    coupling.TakeSnapshot();
    coupling.Change(GridField::GridX, "1", true);
    coupling.Change(GridField::XSnap, "1", true);
    coupling.SetShowGrid(false);
    coupling.SetUseSnap(false);
    coupling.Revert();
    EXPECT_EQ(host.Grid(), Start());
}

TEST(LayerPanelModelTest, NamesAreCutToWholeCharactersWithinTheLayersLimit) {
    struct Case {
        std::string name;
        std::string stored;
    };
    const std::string forty(40, 'a');
    const std::string e = "\xC3\xA9";  // two bytes
    std::string twentyE;
    for (int i = 0; i < 20; ++i) twentyE += e;
    const std::vector<Case> cases = {
        {forty, std::string(31, 'a')},
        {std::string(31, 'b'), std::string(31, 'b')},
        {"", ""},
        {twentyE, twentyE.substr(0, 30)},                               // 15 whole characters
        {std::string(30, 'c') + "\xE2\x82\xAC", std::string(30, 'c')},  // a euro sign would not fit
        {std::string(28, 'd') + "\xE2\x82\xAC", std::string(28, 'd') + "\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutLayerName(c.name), c.stored) << c.name;
        TLayer layer(3);
        ApplyLayerPanel(layer, {c.name, 1, clBlack, true});
        EXPECT_EQ(layer.Name(), c.stored);
    }
}

TEST(LayerPanelModelTest, ApplyWritesPenBrushAndBothFlagsAndLoadReadsThemBack) {
    for (const bool visible : {false, true}) {
        TLayer layer(7);
        layer.SetOpaque(true);
        const LayerPanelValues values{"Walls", 4, RGBColor(18, 52, 86), visible};
        ApplyLayerPanel(layer, values);
        EXPECT_EQ(layer.Visible(), visible);
        EXPECT_EQ(layer.Active(), visible);
        EXPECT_FALSE(layer.Opaque());
        EXPECT_EQ(layer.Brush().Color, RGBColor(18, 52, 86));
        EXPECT_EQ(LoadLayerPanel(layer), values);
    }
    EXPECT_EQ(LayerRowText(255, "Walls"), "255 - Walls");
}

TEST(AboutTextTest, TheCreditNamesLanguageAndTranslatorOnlyWhenThereIsOne) {
    EXPECT_EQ(TranslatorCredit("italian", "Maria Rossi"), "Italian language translated by Maria Rossi");
    EXPECT_EQ(TranslatorCredit("english", ""), "");
    EXPECT_EQ(TranslatorCredit("", "Ann"), " language translated by Ann");
}

}  // namespace
