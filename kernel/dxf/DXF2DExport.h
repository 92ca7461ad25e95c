// Writes a drawing as an ASCII DXF file of release 12 ("AC1009"): the HEADER
// (version, extent, current colour and line type), the TABLES (the solid line
// type and the layers that hold objects or were changed by hand), the BLOCKS
// (one definition per source block) and the ENTITIES (the objects the drawing
// would save), then the end-of-file group. Entities come out as POINT, LINE,
// ARC, CIRCLE, POLYLINE (frames, curves and polylines), TEXT (vector text)
// and INSERT (block instances); containers give their members, and a picture
// has no DXF form and is left out. Layers and blocks carry names a DXF reader
// accepts (DXFNames.h); the drawing keeps its own. The file is written
// through a temporary file, so a failed export leaves an existing file as it
// was.
#pragma once

#include "kernel/draw/Color.h"
#include "kernel/dxf/DXFWrite.h"
#include "kernel/geometry/Matrix2D.h"

#include <bitset>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace calvoro {

class TObject2D;
class TQVCmp2D;
class TSourceBlock2D;

// The DXF colour number of a layer's pen colour (0x00BBGGRR): the nine plain
// colours map to their numbers, every other colour to 7; negative for a layer
// that is not active.
int ColorToDXFIndex(TColor color, bool active);

class TDXF2DExport {
public:
    // Nothing is written before WriteDXF.
    TDXF2DExport(std::filesystem::path fileName, TQVCmp2D* drawing);

    // Writes the whole file; without a drawing it holds only the end-of-file
    // group. A file that cannot be written raises FileWriteError.
    void WriteDXF();
    // The text WriteDXF writes.
    std::string DXFText();

    // One object through the matrix of what encloses it (a container or a
    // block definition); an object without a DXF form writes nothing.
    void WriteDXFEntity(TObject2D& object, const TMatrix2D& parent);

    // Whether any drawing holding this block definition, or this object among
    // its objects (its box in the extent included), can be written: the
    // writers here are run on it and every number they give must fit its
    // group. The drawing's loaders leave out what fails, so that whatever
    // loads also exports.
    static bool CanWriteBlock(TSourceBlock2D& block);
    static bool CanWriteObject(TObject2D& object);

private:
    void MarkUsedLayers();
    void MarkLayersOf(TObject2D& object);
    void NameLayersAndBlocks();
    void WriteDXFHeader();
    void WriteDXFTables();
    void WriteDXFBlocks();
    void WriteBlockDefinition(TSourceBlock2D& block, const std::string& name);
    void WriteDXFEntities();
    void BeginEntity(const char* name, const TObject2D& object);
    void WritePoint(int code, const TPoint2D& p);
    // An exporter without a file or a drawing whose entities name layer "0".
    static TDXF2DExport Scratch();
    // POLYLINE, a VERTEX for each point carried by m, SEQEND.
    void WritePolyline(const TObject2D& object, std::span<const TPoint2D> points, const TMatrix2D& m, bool closed);

    std::filesystem::path fileName_;
    TQVCmp2D* drawing_;
    TDXFWrite writer_;
    // Layers that hold objects written to the file; the layers themselves
    // are left as they are.
    std::bitset<256> usedLayers_;
    // The file's names of the layers (by index) and of the source blocks.
    std::vector<std::string> layerNames_;
    std::map<const TSourceBlock2D*, std::string> blockNames_;
};

}  // namespace calvoro
