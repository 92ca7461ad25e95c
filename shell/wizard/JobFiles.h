// The job's files: the document (picture and job record), the relief as STL
// and the drawing as DXF, by the save command; what the save dialog proposes.
// A file that cannot be written is reported and an existing one stays as it was.
#pragma once

#include <filesystem>

#include "engine/document/JobRecord.h"
#include "engine/document/SaveName.h"
#include "engine/stl/StlWriter.h"
#include "shell/wizard/WizardContext.h"

namespace calvoro {

class JobFiles {
public:
    explicit JobFiles(WizardContext& wizard) : w_(wizard) {}

    JobRecord jobRecord() const;
    bool saveDocument(const std::filesystem::path& fileName);
    bool exportStl(const std::filesystem::path& fileName, StlShape shape);
    std::filesystem::path proposedSaveName() const;
    bool saveAs(const std::filesystem::path& chosenName, SaveKind kind, StlShape shape);

private:
    WizardContext& w_;
};

}  // namespace calvoro
