#include "shell/wizard/Job.h"

#include "shell/app/WorkBox.h"

#include <algorithm>
#include <utility>

namespace calvoro {

void Job::addObserver(JobObserver& observer) {
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
        observers_.push_back(&observer);
}

void Job::removeObserver(JobObserver& observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void Job::changed(JobChanges changes) {
    // A copy: an observer may stop observing while it is told.
    const std::vector<JobObserver*> observers = observers_;
    for (JobObserver* observer : observers) observer->jobChanged(*this, changes);
}

ReliefValues Job::reliefValues() const {
    ReliefValues values = depths_;
    PlaceRelief(placement_.info(), values);
    return values;
}

ZncFilter Job::zncFilter() const {
    ZncFilter filter;
    filter.active = zncChecked_ && zncLevel_.has_value();
    filter.level = zncLevel_.value_or(0.0f);
    filter.tolerance = zncTolerance_;
    return filter;
}

void Job::letGoOfResults() {
    map_.reset();
    ++reliefStamp_;
    reliefOutdated_ = true;
    program_.reset();
    toolPath_.clear();
    ++programStamp_;
    programOutdated_ = true;
    zncChecked_ = false;
    zncLevel_.reset();
    cutting_.zNoCutActive = false;
    cutting_.zNoCutZ = 0.0f;
}

void Job::newPicture(Picture picture, const std::filesystem::path& fileName, bool document, const ImageInfo& info) {
    picture_ = std::move(picture);
    pictureFileName_ = fileName;
    if (document) documentFileName_ = fileName;
    placement_.reset(info);
    letGoOfResults();
    // The NC file belongs to the job it was chosen for: the program of the
    // last job is never overwritten by this one's.
    ncFileName_.clear();
    changed(kJobPicture | kJobPlacement | kJobDepths | kJobRelief | kJobCutting | kJobNcFile | kJobProgram |
            kJobOutdated);
}

void Job::clear() {
    picture_ = Picture{};
    pictureFileName_.clear();
    documentFileName_.clear();
    letGoOfResults();
    changed(kJobPicture | kJobRelief | kJobCutting | kJobProgram | kJobOutdated);
}

void Job::pictureEdited() {
    ++reliefStamp_;
    reliefOutdated_ = true;
    ++programStamp_;
    programOutdated_ = true;
    toolPath_.clear();
    changed(kJobPicture | kJobPlacement | kJobOutdated);
}

// Not every placement change moves the picture (a corner unchecked by typing
// does not): the wizard outdates the program where one does.
void Job::placementChanged() {
    changed(kJobPlacement);
}

void Job::setDocumentFileName(const std::filesystem::path& file) {
    documentFileName_ = file;
    changed(kJobPicture);
}

void Job::setWhiteZ(float z) {
    depths_.setWhiteZ(z);
    ++reliefStamp_;
    reliefOutdated_ = true;
    changed(kJobDepths | kJobOutdated);
}

void Job::setBlackZ(float z) {
    depths_.setBlackZ(z);
    ++reliefStamp_;
    reliefOutdated_ = true;
    changed(kJobDepths | kJobOutdated);
}

void Job::setShading(ShadingResolution shading) {
    shading_ = shading;
    changed(kJobDepths);
}

void Job::setHeightMap(std::shared_ptr<const HeightMap> map, int stamp) {
    map_ = std::move(map);
    if (stamp == reliefStamp_) reliefOutdated_ = false;
    // A new relief: the program was computed over the old one.
    ++programStamp_;
    programOutdated_ = true;
    toolPath_.clear();
    changed(kJobRelief | kJobOutdated);
}

void Job::setPost(PostSettings post) {
    post_ = std::move(post);
    changed(kJobPost);
}

void Job::setCutter(const ToolRecord& cutter) {
    cutter_ = cutter;
    outdateProgram();
    changed(kJobCutter);
}

void Job::setCutting(const CuttingParameters& values) {
    const ZncFilter zone = zncFilter();
    cutting_ = values;
    cutting_.zNoCutActive = zone.active;
    cutting_.zNoCutZ = zone.level;
    cutting_.zNoCutTolerance = zone.tolerance;
    changed(kJobCutting);
}

void Job::setZncChecked(bool checked) {
    zncChecked_ = checked;
    setCutting(cutting_);
}

void Job::setZncLevel(std::optional<float> level) {
    zncLevel_ = level;
    setCutting(cutting_);
}

void Job::setZncTolerance(float tolerance) {
    zncTolerance_ = tolerance;
    setCutting(cutting_);
}

void Job::setNcFileName(const std::filesystem::path& file) {
    ncFileName_ = file;
    program_.reset();
    toolPath_.clear();
    ++programStamp_;
    programOutdated_ = true;
    changed(kJobNcFile | kJobProgram | kJobOutdated);
}

void Job::programSavedAs(const std::filesystem::path& file) {
    ncFileName_ = file;
    changed(kJobNcFile);
}

void Job::setProgram(NcProgram program, std::vector<NcPathNode> path, int stamp) {
    program_ = std::move(program);
    toolPath_ = std::move(path);
    if (stamp == programStamp_) programOutdated_ = false;
    changed(kJobProgram | kJobOutdated);
}

void Job::outdateRelief() {
    ++reliefStamp_;
    reliefOutdated_ = true;
    changed(kJobOutdated);
}

void Job::outdateProgram() {
    ++programStamp_;
    programOutdated_ = true;
    toolPath_.clear();
    changed(kJobOutdated);
}

}  // namespace calvoro
