#include "shell/wizard/JobFiles.h"

#include <exception>

#include "engine/document/JobDocument.h"
#include "shell/wizard/JobComputation.h"

namespace calvoro {

JobRecord JobFiles::jobRecord() const {
    JobRecord record;
    const ImageInfo& info = w_.job.info();
    record.workWidth = info.SizeX;
    record.workHeight = info.SizeY;
    record.keepRatio = w_.job.placement().keepRatio();
    record.originX = -info.X0;
    record.originY = -info.Y0;
    const ReliefValues depths = w_.job.reliefValues();
    const CuttingParameters& values = w_.job.cutting();
    record.whiteZ = depths.WhiteZ;
    record.blackZ = depths.BlackZ;
    record.ncFileName = w_.job.ncFileName().string();
    record.postName = w_.job.post().postName;
    record.tool = w_.job.cutter();
    record.feedPlaneZ = static_cast<float>(values.feedPlaneZ);
    record.stepOver = static_cast<float>(values.stepOver);
    record.stock = values.stockAllowance;
    record.filter = values.filterTolerance;
    record.zPasses = values.passCount;
    record.zStep = static_cast<float>(values.zStep);
    record.rasterAlongX = values.rasterAlongX;
    record.rasterAlongY = values.rasterAlongY;
    return record;
}

bool JobFiles::saveDocument(const std::filesystem::path& fileName) {
    if (!w_.job.hasPicture()) return false;
    try {
        SaveDocument(fileName, w_.job.picture(), jobRecord());
    } catch (const std::exception& error) {
        w_.report(error.what());
        return false;
    }
    w_.job.setDocumentFileName(fileName);
    w_.services.window.showDocumentName(fileName);
    return true;
}

bool JobFiles::exportStl(const std::filesystem::path& fileName, StlShape shape) {
    if (!w_.job.hasPicture()) return false;
    try {
        const ReliefValues values = w_.job.reliefValues();
        const auto map = w_.job.reliefOutdated() || !w_.job.heightMap() ? BuildRelief(w_.job.picture(), values) : w_.job.heightMap();
        WriteStl(fileName, *map, values, shape);
    } catch (const std::exception& error) {
        w_.report(error.what());
        return false;
    }
    return true;
}

std::filesystem::path JobFiles::proposedSaveName() const {
    return ProposedSaveName(w_.job.documentFileName(), w_.job.pictureFileName());
}

bool JobFiles::saveAs(const std::filesystem::path& chosenName, SaveKind kind, StlShape shape) {
    if (!w_.job.hasPicture()) return false;
    w_.activeCommandMode = kNoCommandMode;
    const std::filesystem::path fileName = CompleteSaveName(chosenName, kind);
    switch (kind) {
        case SaveKind::Document:
            return saveDocument(fileName);
        case SaveKind::Stl:
            if (!exportStl(fileName, shape)) return false;
            break;
        case SaveKind::Dxf:
            try {
                w_.services.drawing.exportDxf(fileName);
            } catch (const std::exception& error) {
                w_.report(error.what());
                return false;
            }
            break;
    }
    w_.job.setDocumentFileName(fileName);
    return true;
}

}  // namespace calvoro
