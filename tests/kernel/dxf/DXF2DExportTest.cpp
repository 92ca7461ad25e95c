// The DXF export against golden files in golden/. After a deliberate change
// of the output, run this test with CALVORO_WRITE_GOLDEN=1 to write them anew
// and read the difference before committing it.
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/dxf/DXF2DExport.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/platform/AtomicFile.h"

#include "CommaLocale.h"
#include "tests/kernel/drawing/BmpTestFiles.h"
#include "tests/kernel/drawing/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

std::filesystem::path GoldenFile(const char* name) {
    const char* source = std::getenv("CALVORO_SOURCE_DIR");
    return std::filesystem::path(source != nullptr ? source : ".") / "tests" / "kernel" / "dxf" / "golden" / name;
}

// Compares with a golden file, or writes it when asked to.
void ExpectGolden(const std::string& text, const char* name) {
    if (std::getenv("CALVORO_WRITE_GOLDEN") != nullptr) WriteFileAtomically(GoldenFile(name), text);
    const std::string golden = ReadWholeFile(GoldenFile(name));
    EXPECT_TRUE(text == golden) << name << " differs; the export wrote:\n" << text;
}

// A drawing with one object of each kind the export knows, on layers of
// several colours, and a few it leaves out.
class SmallDrawing {
public:
    TQVCmp2D drawing;

    SmallDrawing() {
        TLayers& layers = drawing.Layers();
        PenSpec yellow;
        yellow.Color = clYellow;
        layers.LayerByIndex(1).SetPen(yellow);
        layers.LayerByIndex(1).SetActive(false);
        PenSpec odd;
        odd.Color = 0x123456;
        layers.LayerByIndex(2).SetPen(odd);  // changed by hand, holds nothing
        layers.LayerByIndex(3).SetLayerName("Outlines");

        auto& mark = static_cast<TSourceBlock2D&>(
            *drawing.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName("Mark"))));
        mark.Objects().Add(std::make_unique<TLine2D>(1, MakePoint2D(-1, 0), MakePoint2D(1, 0)));
        mark.Objects().Add(std::make_unique<TCerchio2D>(2, MakePoint2D(0, 0), MakePoint2D(0.5, 0)));

        On(0, std::make_unique<TBitmap2D>(-1, MakePoint2D(0, 0), MakePoint2D(100, 50),
                                          BmpImage::FromFile(MakeBmp24(2, 1, 0))));
        On(0, std::make_unique<TLine2D>(-1, MakePoint2D(1, 2), MakePoint2D(30.5, -4.25)));
        On(1, std::make_unique<TPunto2D>(-1, MakePoint2D(5, 5)));
        On(1, std::make_unique<TCerchio2D>(-1, MakePoint2D(10, 10), MakePoint2D(13, 14)));
        On(1, std::make_unique<TArco2D>(-1, MakePoint2D(20, 0), MakePoint2D(22, 0), 0.0, std::numbers::pi / 2));
        On(3, std::make_unique<TFrame2D>(-1, MakePoint2D(0, 0), MakePoint2D(4, 2)));
        const std::vector<TPoint2D> corner = {MakePoint2D(0, 0), MakePoint2D(3, 0), MakePoint2D(3, 3)};
        On(3, std::make_unique<TPolyline2D>(-1, corner));
        On(3, std::make_unique<TPolygon2D>(-1, corner));
        auto ellipse = std::make_unique<TEllipse2D>(-1, MakePoint2D(0, 0), MakePoint2D(4, 2));
        ellipse->SetSegmentCount(4);
        ellipse->RecalcBox();
        On(3, std::move(ellipse));
        for (const THJustification justification : {THJustification::Right, THJustification::Centre}) {
            auto text = std::make_unique<TJustifiedVectText2D>(-1, MakePoint2D(0, 20), MakePoint2D(10, 25), 2.0);
            text->SetHJustification(justification);
            text->SetVectText("Two\r\nlines");
            On(3, std::move(text));
        }
        // A block turned a quarter round and doubled, and a plain one.
        auto turned = std::make_unique<TBlock2D>(-1, mark, MakePoint2D(0, 0));
        turned->SetObjectMatrix(
            MultiplyMatrix2D(MultiplyMatrix2D(ScalingMatrix2D(2, 2), RotationMatrix2D(std::numbers::pi / 2)),
                             TranslationMatrix2D(50, 60)));
        On(4, std::move(turned));
        auto plain = std::make_unique<TBlock2D>(-1, mark, MakePoint2D(0, 0));
        plain->SetObjectMatrix(MultiplyMatrix2D(ScalingMatrix2D(1, 3), TranslationMatrix2D(-5, 0)));
        On(4, std::move(plain));
        // A group moved as a whole: its member comes out where it is drawn.
        auto group = std::make_unique<TContainer2D>(-1);
        group->Objects().Add(std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(1, 1)));
        group->SetObjectMatrix(TranslationMatrix2D(100, 0));
        On(0, std::move(group));
        // Left out: an object that is not saved, on a layer of its own.
        auto scratch = std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(9, 9));
        scratch->SetMustSave(false);
        On(5, std::move(scratch));
    }

private:
    void On(int layer, std::unique_ptr<TObject2D> object) {
        drawing.SetCurrentLayer(layer);
        drawing.AddObject2D(-1, std::move(object));
    }
};

// The groups of a DXF text, as a reader takes them: pairs of a code line and
// a value line.
struct Group {
    int code;
    std::string value;
};

std::vector<Group> ReadGroups(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(lines.size() % 2, 0u) << "codes and values pair up";
    std::vector<Group> groups;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string& codeLine = lines[i];
        const std::size_t digits = codeLine.find_first_not_of(' ');
        int code = -1;
        const auto result = std::from_chars(codeLine.data() + digits, codeLine.data() + codeLine.size(), code);
        EXPECT_TRUE(result.ec == std::errc() && result.ptr == codeLine.data() + codeLine.size()) << codeLine;
        groups.push_back({code, lines[i + 1]});
    }
    return groups;
}

// Sections open and close in turn, entities sit inside them, numbers use a
// decimal point, and the end-of-file group comes last.
void ExpectWellFormed(const std::string& text) {
    const std::vector<Group> groups = ReadGroups(text);
    ASSERT_FALSE(groups.empty());
    bool inSection = false;
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
        const Group& g = groups[i];
        if (g.code == 0 && g.value == "SECTION") {
            EXPECT_FALSE(inSection) << "section inside a section at group " << i;
            inSection = true;
            ASSERT_LT(i + 1, groups.size());
            EXPECT_EQ(groups[i + 1].code, 2);
        } else if (g.code == 0 && g.value == "ENDSEC") {
            EXPECT_TRUE(inSection) << "ENDSEC without SECTION at group " << i;
            inSection = false;
        } else {
            EXPECT_TRUE(inSection) << "group " << g.code << " " << g.value << " outside any section";
        }
        if (g.code >= 10 && g.code <= 59) {
            EXPECT_EQ(g.value.find(','), std::string::npos) << g.value;
        }
    }
    EXPECT_FALSE(inSection) << "the last section is closed";
    EXPECT_EQ(groups.back().code, 0);
    EXPECT_EQ(groups.back().value, "EOF");
}

class DXF2DExport : public DrawingTest {};

TEST_F(DXF2DExport, SmallDrawingUnderACommaLocale) {
    SmallDrawing small;
    const CommaLocale comma;
    TDXF2DExport exporter("unused.dxf", &small.drawing);
    const std::string text = exporter.DXFText();
    ExpectGolden(text, "SmallDrawing.dxf");
    ExpectWellFormed(text);
}

TEST_F(DXF2DExport, EmptyDrawingStillHasItsSections) {
    TQVCmp2D empty;
    TDXF2DExport exporter("unused.dxf", &empty);
    const std::string text = exporter.DXFText();
    ExpectGolden(text, "EmptyDrawing.dxf");
    ExpectWellFormed(text);
}

TEST_F(DXF2DExport, WithoutADrawingOnlyTheEnd) {
    TDXF2DExport exporter("unused.dxf", nullptr);
    EXPECT_EQ(exporter.DXFText(), "  0\r\nEOF\r\n");
}

TEST_F(DXF2DExport, ExportLeavesTheLayersAsTheyWere) {
    SmallDrawing small;
    std::vector<bool> before;
    for (int i = 0; i < TLayers::Count; ++i) {
        before.push_back(small.drawing.Layers().LayerByIndex(static_cast<std::uint8_t>(i)).Modified());
    }
    TDXF2DExport(std::filesystem::temp_directory_path() / "calvoro-export-test.dxf", &small.drawing).WriteDXF();
    for (int i = 0; i < TLayers::Count; ++i) {
        EXPECT_EQ(small.drawing.Layers().LayerByIndex(static_cast<std::uint8_t>(i)).Modified(), before[i]) << i;
    }
    // A new default colour still reaches the layers that hold objects.
    small.drawing.SetDefaultLayersColor(clBlue);
    EXPECT_EQ(small.drawing.Layers().LayerByIndex(0).Pen().Color, clBlue);
}

TEST_F(DXF2DExport, WritesTheFileOrRaisesAndKeepsTheOldOne) {
    SmallDrawing small;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "calvoro-dxf-test";
    std::filesystem::create_directories(folder);
    const std::filesystem::path target = folder / "drawing.dxf";
    TDXF2DExport exporter(target, &small.drawing);
    exporter.WriteDXF();
    EXPECT_EQ(ReadWholeFile(target), exporter.DXFText());

    const std::filesystem::path nowhere = folder / "missing" / "drawing.dxf";
    EXPECT_THROW(TDXF2DExport(nowhere, &small.drawing).WriteDXF(), FileWriteError);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
    std::filesystem::remove_all(folder);
}

TEST(DXFColor, LayerColoursMapToTheirNumbers) {
    struct Case {
        TColor color;
        int number;
    };
    const Case cases[] = {{0x000000, 7}, {0xFFFFFF, 7}, {0x0000FF, 1}, {0x00FF00, 3}, {0x00FFFF, 2}, {0xFF0000, 5},
                          {0xFF00FF, 6}, {0xFFFF00, 4}, {0x808080, 8}, {0xC0C0C0, 9}, {0x123456, 7}, {-16, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToDXFIndex(c.color, true), c.number) << c.color;
        EXPECT_EQ(ColorToDXFIndex(c.color, false), -c.number) << "a layer that is off";
    }
}

}  // namespace
