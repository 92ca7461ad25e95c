#include "shell/gui/JobView3D.h"

#include <vector>

#include "engine/nc/MachiningTime.h"
#include "shell/app/MainState.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/Application.h"
#include "shell/gui/View3D.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

JobView3D::JobView3D(Job& job, View3D& view, const MainState& state) : job_(job), view_(view), state_(state) {
    job_.addObserver(*this);
}

JobView3D::~JobView3D() {
    job_.removeObserver(*this);
}

void JobView3D::aboutToShow() {
    if (reliefStale_) showRelief();
}

void JobView3D::jobChanged(const Job& job, JobChanges changes) {
    if ((changes & kJobRelief) && job.heightMap()) showRelief();
    // A picture without its relief yet (a new one, or one edited since) shows
    // no relief of the job before in its work box.
    if ((changes & kJobRelief) && !job.heightMap()) {
        reliefStale_ = false;
        view_.clearRelief();
    }
    // The mesh's cells are as large as the picture's pixels are placed: a new
    // size or origin draws it again (at once when it shows, else when it is
    // next shown).
    if ((changes & kJobPlacement) && !(changes & kJobRelief) && job.heightMap()) {
        if (state_.View3D)
            showRelief();
        else
            reliefStale_ = true;
    }
    if ((changes & (kJobPicture | kJobPlacement | kJobRelief)) && job.hasPicture()) showWorkBox();
    if (changes & (kJobProgram | kJobOutdated)) {
        const bool current = job.program() && !job.programOutdated();
        if (current && (!programShown_ || (changes & kJobProgram)))
            showProgram();
        else if (!current && (programShown_ || (changes & kJobProgram)))
            clearProgram();
    }
}

void JobView3D::showRelief() {
    reliefStale_ = false;
    view_.setRelief(job_.heightMap(), job_.reliefValues());
}

void JobView3D::showWorkBox() {
    RunGuarded([this] { view_.setWorkBox(ComputeWorkBox(job_.info(), job_.reliefValues())); });
}

void JobView3D::showProgram() {
    programShown_ = true;
    view_.clearPath();
    const std::vector<NcPathNode>& nodes = job_.toolPath();
    if (!nodes.empty()) {
        std::vector<SimNode> path;
        path.reserve(nodes.size());
        for (const NcPathNode& node : nodes) path.push_back({node.x, node.y, node.z, PathNodeColour(node.rapid)});
        view_.appendPath(path);
    }
    view_.setHudText(QString::fromStdString(LangString("754") + FormatMachiningTime(job_.program()->machiningSeconds)));
}

void JobView3D::clearProgram() {
    programShown_ = false;
    view_.clearPath();
    view_.setHudText({});
    view_.parkCutter(static_cast<float>(job_.cutting().feedPlaneZ));
}

}  // namespace calvoro
