// The 3D view follows the job: the relief as it was built and at the size the
// picture is placed at, the work box, and the computed program's path with
// its machining time. When the program goes (another picture, another NC
// file) or no longer matches the pages, its path, its machining time and the
// cutter that simulated it leave the view with it.
#pragma once

#include "shell/wizard/Job.h"

namespace calvoro {

class View3D;
struct MainState;

class JobView3D : public JobObserver {
public:
    JobView3D(Job& job, View3D& view, const MainState& state);
    ~JobView3D() override;
    JobView3D(const JobView3D&) = delete;
    JobView3D& operator=(const JobView3D&) = delete;

    // The 3D view is about to be shown: a relief drawn for another placement
    // is drawn again first.
    void aboutToShow();

    void jobChanged(const Job& job, JobChanges changes) override;

private:
    void showRelief();
    void showWorkBox();
    void showProgram();
    void clearProgram();

    Job& job_;
    View3D& view_;
    const MainState& state_;
    bool reliefStale_ = false;   // the mesh was drawn at another placement
    bool programShown_ = false;  // the path and time of a current program are drawn
};

}  // namespace calvoro
