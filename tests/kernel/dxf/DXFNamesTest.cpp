// Layer and block names in a DXF file: what a DXF reader refuses is made
// safe, the names stay distinct, every reference to a layer or a block uses
// the name the file gave it, and the drawing keeps its own names.
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/dxf/DXF2DExport.h"
#include "kernel/dxf/DXFNames.h"
#include "kernel/entities/QV2D_Entities.h"

#include "tests/kernel/drawing/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

TEST(DXFNames, ForbiddenCharactersBecomeUnderscoresAndNamesStayDistinct) {
    const std::string a31(31, 'a');
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> given;
    };
    const Case cases[] = {
        {{"Cut/Engrave: 1"}, {"Cut_Engrave_ 1"}},
        {{"A<B>|C"}, {"A_B__C"}},
        {{R"(<>/\":;?*|=,)"}, {"____________"}},
        {{"tab\there", "bell\a", "del\x7F", "Profondit\xC3\xA0 $-1"},
         {"tab_here", "bell_", "del_", "Profondit\xC3\xA0 $-1"}},
        {{""}, {"_"}},
        // A name that needs no change keeps it, even when a changed one
        // before it would look the same.
        {{"A:B", "A/B", "A_B"}, {"A_B_2", "A_B_3", "A_B"}},
        // Readers do not tell case apart.
        {{"Holes", "HOLES", "holes"}, {"Holes", "HOLES_2", "holes_3"}},
        {{"Layer_1", "Layer_1"}, {"Layer_1", "Layer_1_2"}},
        // The number never pushes a name past 31 characters.
        {{a31, std::string(30, 'a') + ":", std::string(31, 'A')},
         {a31, std::string(30, 'a') + "_", std::string(29, 'A') + "_2"}},
    };
    for (const Case& c : cases) EXPECT_EQ(DXFFileNames(c.names), c.given) << c.names.front();
}

// The values of every group with the code, in file order.
std::vector<std::string> ValuesOf(const std::string& text, int code) {
    std::vector<std::string> values;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t codeEnd = text.find("\r\n", at);
        const std::size_t valueEnd = text.find("\r\n", codeEnd + 2);
        if (std::stoi(text.substr(at, codeEnd - at)) == code)
            values.push_back(text.substr(codeEnd + 2, valueEnd - codeEnd - 2));
        at = valueEnd + 2;
    }
    return values;
}

class DXFNamesInFile : public DrawingTest {};

TEST_F(DXFNamesInFile, EveryLayerAndBlockReferenceUsesTheNameTheFileGave) {
    TQVCmp2D drawing;
    const char* layerNames[] = {"Cut/Engrave: 1", "Cut_Engrave_ 1", "cut_engrave_ 1", ""};
    for (int i = 0; i < 4; ++i)
        drawing.Layers().LayerByIndex(static_cast<std::uint8_t>(i + 1)).SetLayerName(layerNames[i]);
    drawing.SetCurrentLayer(9);  // the definitions lie on a layer nothing else uses
    auto& odd = static_cast<TSourceBlock2D&>(
        *drawing.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName("A<B>|C"))));
    odd.Objects().Add(std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(1, 0)))->SetLayer(1);
    auto& plain = static_cast<TSourceBlock2D&>(
        *drawing.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName("A_B__C"))));
    plain.Objects().Add(std::make_unique<TPunto2D>(1, MakePoint2D(0, 0)));
    const auto on = [&drawing](int layer, std::unique_ptr<TObject2D> object) {
        drawing.SetCurrentLayer(layer);
        drawing.AddObject2D(-1, std::move(object));
    };
    on(1, std::make_unique<TBlock2D>(-1, odd, MakePoint2D(0, 0)));
    on(2, std::make_unique<TBlock2D>(-1, plain, MakePoint2D(0, 0)));
    on(3, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(2, 2)));
    on(4, std::make_unique<TPunto2D>(-1, MakePoint2D(3, 3)));
    // A group's member on a layer of its own.
    auto group = std::make_unique<TContainer2D>(-1);
    group->Objects().Add(std::make_unique<TPunto2D>(1, MakePoint2D(4, 4)))->SetLayer(6);
    on(0, std::move(group));

    const std::string text = TDXF2DExport("unused.dxf", &drawing).DXFText();
    // Section and table names, the LAYER table, the BLOCK definitions and the
    // block of each INSERT.
    const std::vector<std::string> names = {
        "HEADER",         "TABLES",           "LTYPE",    "CONTINUOUS", "LAYER",   "Layer_0", "Cut_Engrave_ 1_2",
        "Cut_Engrave_ 1", "cut_engrave_ 1_3", "_",        "Layer_6",    "Layer_9", "BLOCKS",  "A_B__C_2",
        "A_B__C",         "ENTITIES",         "A_B__C_2", "A_B__C"};
    EXPECT_EQ(ValuesOf(text, 2), names);
    // The layer of BLOCK, member and ENDBLK of each block, then of each entity.
    const std::vector<std::string> entityLayers = {
        "Layer_9",          "Cut_Engrave_ 1_2", "Layer_9",          "Layer_9", "Layer_0", "Layer_9",
        "Cut_Engrave_ 1_2", "Cut_Engrave_ 1",   "cut_engrave_ 1_3", "_",       "Layer_6"};
    EXPECT_EQ(ValuesOf(text, 8), entityLayers);

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(drawing.Layers().LayerByIndex(static_cast<std::uint8_t>(i + 1)).Name(), layerNames[i]);
    EXPECT_EQ(BlockNameText(odd.Name()), "A<B>|C");
}

}  // namespace
