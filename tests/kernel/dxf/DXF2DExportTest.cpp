// The DXF export against golden files in golden/ (see SourceTree.h for writing
// them anew), the layers it leaves as they were, and the value line each range
// of group codes takes.
//
// Layer and block names in a DXF file: what a DXF reader refuses is made
// safe, the names stay distinct, every reference to a layer or a block uses
// the name the file gave it, and the drawing keeps its own names.
#include "CommaLocale.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/dxf/DXF2DExport.h"
#include "kernel/dxf/DXFNames.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "tests/support/Drawings.h"
#include "tests/support/SourceTree.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

void ExpectGolden(const std::string& text, const char* name) {
    ExpectSameAsFile(text, SourceTree() / "tests/kernel/dxf/golden" / name);
}

// A drawing with one object of each kind the export knows, on layers of
// several colours, and a few it leaves out.
void FillSmallDrawing(TQVCmp2D& drawing) {
    TLayers& layers = drawing.Layers();
    layers.LayerByIndex(1).SetPen(PenAttributes{clYellow});
    layers.LayerByIndex(1).SetActive(false);
    layers.LayerByIndex(2).SetPen(PenAttributes{0x123456});  // changed by hand, holds nothing
    layers.LayerByIndex(3).SetLayerName("Outlines");
    auto& mark = static_cast<TSourceBlock2D&>(
        *drawing.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName("Mark"))));
    mark.Objects().Add(std::make_unique<TLine2D>(1, MakePoint2D(-1, 0), MakePoint2D(1, 0)));
    mark.Objects().Add(std::make_unique<TCerchio2D>(2, MakePoint2D(0, 0), MakePoint2D(0.5, 0)));

    const auto on = [&drawing](int layer, std::unique_ptr<TObject2D> object) {
        drawing.SetCurrentLayer(layer);
        return drawing.AddObject2D(-1, std::move(object));
    };
    on(0,
       std::make_unique<TBitmap2D>(-1, MakePoint2D(0, 0), MakePoint2D(100, 50), BmpImage::FromFile(MakeBmp24(2, 1))));
    on(0, std::make_unique<TLine2D>(-1, MakePoint2D(1, 2), MakePoint2D(30.5, -4.25)));
    on(1, std::make_unique<TPunto2D>(-1, MakePoint2D(5, 5)));
    on(1, std::make_unique<TCerchio2D>(-1, MakePoint2D(10, 10), MakePoint2D(13, 14)));
    on(1, std::make_unique<TArco2D>(-1, MakePoint2D(20, 0), MakePoint2D(22, 0), 0.0, std::numbers::pi / 2));
    on(3, std::make_unique<TFrame2D>(-1, MakePoint2D(0, 0), MakePoint2D(4, 2)));
    const std::vector<TPoint2D> corner = {MakePoint2D(0, 0), MakePoint2D(3, 0), MakePoint2D(3, 3)};
    on(3, std::make_unique<TPolyline2D>(-1, corner));
    on(3, std::make_unique<TPolygon2D>(-1, corner));
    auto& ellipse =
        static_cast<TEllipse2D&>(*on(3, std::make_unique<TEllipse2D>(-1, MakePoint2D(0, 0), MakePoint2D(4, 2))));
    ellipse.SetSegmentCount(4);
    ellipse.RecalcBox();
    for (const THJustification justification : {THJustification::Right, THJustification::Centre}) {
        auto text = std::make_unique<TJustifiedVectText2D>(-1, MakePoint2D(0, 20), MakePoint2D(10, 25), 2.0);
        text->SetHJustification(justification);
        text->SetVectText("Two\r\nlines");
        on(3, std::move(text));
    }
    // A block turned a quarter round and doubled, and a plain one.
    on(4, std::make_unique<TBlock2D>(-1, mark, MakePoint2D(0, 0)))
        ->SetObjectMatrix(
            MultiplyMatrix2D(MultiplyMatrix2D(ScalingMatrix2D(2, 2), RotationMatrix2D(std::numbers::pi / 2)),
                             TranslationMatrix2D(50, 60)));
    on(4, std::make_unique<TBlock2D>(-1, mark, MakePoint2D(0, 0)))
        ->SetObjectMatrix(MultiplyMatrix2D(ScalingMatrix2D(1, 3), TranslationMatrix2D(-5, 0)));
    // A group moved as a whole: its member comes out where it is drawn.
    auto group = std::make_unique<TContainer2D>(-1);
    group->Objects().Add(std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(1, 1)));
    group->SetObjectMatrix(TranslationMatrix2D(100, 0));
    on(0, std::move(group));
    // Left out: an object that is not saved, on a layer of its own.
    on(5, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(9, 9)))->SetMustSave(false);
}

class DXF2DExport : public DrawingTest {};

TEST_F(DXF2DExport, GoldenFilesUnderACommaLocale) {
    const CommaLocale comma;
    TQVCmp2D small, empty;
    FillSmallDrawing(small);
    for (const auto& [drawing, golden] :
         {std::pair{&small, "SmallDrawing.dxf"}, std::pair{&empty, "EmptyDrawing.dxf"}}) {
        ExpectGolden(TDXF2DExport("unused.dxf", drawing).DXFText(), golden);
    }
    EXPECT_EQ(TDXF2DExport("unused.dxf", nullptr).DXFText(), "  0\r\nEOF\r\n") << "without a drawing only the end";
}

TEST_F(DXF2DExport, WritesTheFileOrRaisesAndLeavesTheLayersAsTheyWere) {
    TQVCmp2D small;
    FillSmallDrawing(small);
    std::vector<bool> before;
    for (int i = 0; i < TLayers::Count; ++i) before.push_back(small.Layers().LayerByIndex(i).Modified());
    const test::TempFolder folder;
    TDXF2DExport exporter(folder / "drawing.dxf", &small);
    exporter.WriteDXF();
    EXPECT_EQ(ReadWholeFile(folder / "drawing.dxf"), exporter.DXFText());
    const std::filesystem::path nowhere = folder / "missing" / "drawing.dxf";
    EXPECT_THROW(TDXF2DExport(nowhere, &small).WriteDXF(), FileWriteError);
    EXPECT_FALSE(std::filesystem::exists(nowhere));

    for (int i = 0; i < TLayers::Count; ++i) EXPECT_EQ(small.Layers().LayerByIndex(i).Modified(), before[i]) << i;
    // A new default colour still reaches the layers that hold objects.
    small.SetDefaultLayersColor(clBlue);
    EXPECT_EQ(small.Layers().LayerByIndex(0).Pen().Color, clBlue);
}

std::string Group(std::uint16_t code, TDXFWrite::Value value) {
    TDXFWrite writer;
    try {
        writer.WriteGroup(code, value);
    } catch (const ECADCoreException&) {
        return "refused";
    }
    return writer.Text();
}

TEST(DXFWrite, ValueLineFollowsTheRangeOfTheCode) {
    const test::CommaLocale comma;
    const std::string longText(300, 'x');
    struct Case {
        std::uint16_t code;
        TDXFWrite::Value value;
        std::string text;
    };
    const Case cases[] = {
        {0, "SECTION", "  0\r\nSECTION\r\n"},
        {9, "$ACADVER", "  9\r\n$ACADVER\r\n"},
        {999, "a comment", "999\r\na comment\r\n"},
        {1009, 12, "1009\r\n12\r\n"},
        {1, longText, "  1\r\n" + std::string(255, 'x') + "\r\n"},
        {1, "two\r\nlines", "  1\r\ntwo  lines\r\n"},
        {10, 1.5, " 10\r\n1.500000\r\n"},
        {40, -0.5, " 40\r\n-0.500000\r\n"},
        {59, -0.0000004, " 59\r\n0.000000\r\n"},  // no sign on a zero
        {140, 2, "140\r\n2.000000\r\n"},
        {239, -12345.6789, "239\r\n-12345.678900\r\n"},
        {1010, 1e-7, "1010\r\n0.000000\r\n"},
        {62, -7, " 62\r\n    -7\r\n"},
        {70, 256, " 70\r\n   256\r\n"},
        {175, 2.5, "175\r\n     2\r\n"},  // halves go to the even integer
        {1079, 1234567, "1079\r\n1234567\r\n"},
        {100, "ignored", "100\r\n\r\n"},
        {80, 3.0, " 80\r\n\r\n"},
        {10, NAN, "refused"},
        {40, INFINITY, "refused"},
        {10, "text", "refused"},
        {70, 1e12, "refused"},
    };
    for (const Case& c : cases) EXPECT_EQ(Group(c.code, c.value), c.text) << c.code;
}

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
