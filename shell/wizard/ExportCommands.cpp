#include "shell/wizard/ExportCommands.h"

#include "kernel/dxf/DXF2DExport.h"

namespace calvoro {

void ExportDrawingDxf(const std::filesystem::path& fileName, TQVCmp2D& drawing) {
    TDXF2DExport exporter(fileName, &drawing);
    exporter.WriteDXF();
}

}  // namespace calvoro
