// The job in hand, kept in one place: the picture and where it lies, the
// depths and the relief built from them, the post-processor, the cutter, the
// cutting values, the NC file, the computed program and what of it is
// outdated. The wizard is the only one that changes it; the window's views
// (the 3D view, the NC page, the read-outs, the caption) read it and follow
// its changes through JobObserver, and keep no copy of their own.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "engine/nc/NcProgram.h"
#include "engine/picture/ImageInfo.h"
#include "engine/picture/Picture.h"
#include "engine/post/PostSettings.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "engine/tools/ToolRecord.h"
#include "engine/toolpath/ToolPathParameters.h"
#include "shell/wizard/Placement.h"

namespace calvoro {

// The parts of a job a change touched; an observer is told them together.
enum JobPart : unsigned {
    kJobPicture = 1u << 0,    // another picture (or none), or the picture edited; its file names
    kJobPlacement = 1u << 1,  // size, scale, origin
    kJobDepths = 1u << 2,     // the depths of white and black, the shading
    kJobRelief = 1u << 3,     // the height map built or let go
    kJobPost = 1u << 4,
    kJobCutter = 1u << 5,
    kJobCutting = 1u << 6,  // the cutting values and the Z no-cut zone
    kJobNcFile = 1u << 7,
    kJobProgram = 1u << 8,   // a program computed, or let go
    kJobOutdated = 1u << 9,  // the relief or the program no longer matches the pages
};
using JobChanges = unsigned;

// The Z no-cut zone as the 3D view and the tool path apply it.
struct ZncFilter {
    bool active = false;
    float level = 0.0f;
    float tolerance = 0.0f;
};

class Job;

class JobObserver {
public:
    virtual ~JobObserver() = default;
    // Called after the change; an observer reads the job and changes nothing in it.
    virtual void jobChanged(const Job& job, JobChanges changes) = 0;
};

class Job {
public:
    Job() = default;
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    void addObserver(JobObserver& observer);
    void removeObserver(JobObserver& observer);

    // --- reading ---------------------------------------------------------------
    bool hasPicture() const { return !picture_.empty(); }
    const Picture& picture() const { return picture_; }
    // The picture or document the job came from, and the document it was last
    // saved to (empty for a job never saved).
    const std::filesystem::path& pictureFileName() const { return pictureFileName_; }
    const std::filesystem::path& documentFileName() const { return documentFileName_; }
    const Placement& placement() const { return placement_; }
    const ImageInfo& info() const { return placement_.info(); }
    // The depths with the placement's pixel size and offset: what the relief
    // is built and drawn with.
    ReliefValues reliefValues() const;
    ShadingResolution shading() const { return shading_; }
    const std::shared_ptr<const HeightMap>& heightMap() const { return map_; }
    bool reliefOutdated() const { return reliefOutdated_; }
    const PostSettings& post() const { return post_; }
    const ToolRecord& cutter() const { return cutter_; }
    // The cutting values; the zone's fields are those of zncFilter.
    const CuttingParameters& cutting() const { return cutting_; }
    bool zncChecked() const { return zncChecked_; }
    std::optional<float> zncLevel() const { return zncLevel_; }
    ZncFilter zncFilter() const;
    const std::filesystem::path& ncFileName() const { return ncFileName_; }
    // The last program computed for this job, and its moves as the 3D path;
    // programOutdated says whether it still matches the pages.
    const std::optional<NcProgram>& program() const { return program_; }
    const std::vector<NcPathNode>& toolPath() const { return toolPath_; }
    bool programOutdated() const { return programOutdated_; }
    // Counters that tell a finished computation whether its inputs changed
    // meanwhile.
    int reliefStamp() const { return reliefStamp_; }
    int programStamp() const { return programStamp_; }

    // --- changing (the wizard) ---------------------------------------------------
    // Another picture: everything made from the last one goes (relief, program,
    // zone). A picture starts without an NC file; a document brings its own
    // through the pages it replays.
    void newPicture(Picture picture, const std::filesystem::path& fileName, bool document, const ImageInfo& info);
    // No job: the picture and everything made from it let go.
    void clear();
    // The picture changed in place (a flip, a turn, a crop): relief and program outdated.
    template <class Edit>
    auto editPicture(Edit edit) {
        if constexpr (std::is_void_v<decltype(edit(picture_, placement_))>) {
            edit(picture_, placement_);
            pictureEdited();
        } else {
            auto result = edit(picture_, placement_);
            pictureEdited();
            return result;
        }
    }
    // Size, scale or origin.
    template <class Edit>
    auto editPlacement(Edit edit) {
        if constexpr (std::is_void_v<decltype(edit(placement_))>) {
            edit(placement_);
            placementChanged();
        } else {
            auto result = edit(placement_);
            placementChanged();
            return result;
        }
    }
    void setDocumentFileName(const std::filesystem::path& file);
    void setWhiteZ(float z);
    void setBlackZ(float z);
    void setShading(ShadingResolution shading);
    // A relief built for the inputs of `stamp`: current unless they changed since.
    void setHeightMap(std::shared_ptr<const HeightMap> map, int stamp);
    void setPost(PostSettings post);
    void setCutter(const ToolRecord& cutter);
    void setCutting(const CuttingParameters& values);
    void setZncChecked(bool checked);
    void setZncLevel(std::optional<float> level);
    void setZncTolerance(float tolerance);
    // A newly chosen NC file: the program of the last one is let go.
    void setNcFileName(const std::filesystem::path& file);
    // The program was saved under another name: that is the NC file from now
    // on, and the program in it stays the current one.
    void programSavedAs(const std::filesystem::path& file);
    // A program computed for the inputs of `stamp`.
    void setProgram(NcProgram program, std::vector<NcPathNode> path, int stamp);
    void outdateRelief();
    // The program no longer matches what the pages say.
    void outdateProgram();

private:
    void pictureEdited();
    void placementChanged();
    void letGoOfResults();
    void changed(JobChanges changes);

    std::vector<JobObserver*> observers_;

    Picture picture_;
    std::filesystem::path pictureFileName_;
    std::filesystem::path documentFileName_;
    Placement placement_;
    ReliefValues depths_;
    ShadingResolution shading_ = ShadingResolution::Fine;
    std::shared_ptr<const HeightMap> map_;
    bool reliefOutdated_ = true;
    int reliefStamp_ = 0;
    PostSettings post_;
    ToolRecord cutter_;
    CuttingParameters cutting_;
    bool zncChecked_ = false;
    std::optional<float> zncLevel_;
    float zncTolerance_ = 0.0f;
    std::filesystem::path ncFileName_;
    std::optional<NcProgram> program_;
    std::vector<NcPathNode> toolPath_;
    bool programOutdated_ = true;
    int programStamp_ = 0;
};

// Is there a job: the one place the window's locks ask.
inline bool JobOpen(const Job* job) {
    return job && job->hasPicture();
}

}  // namespace calvoro
