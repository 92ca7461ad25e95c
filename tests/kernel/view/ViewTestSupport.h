// Shared helpers of the view, program and task tests: a surface that records
// what is drawn on it, and a 2D viewport of 200 x 100 pixels showing the world
// box (0, 0)-(200, 100) of a drawing, one unit a pixel.
#pragma once

#include "kernel/draw/RecordingCanvas.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/view/TQVViewport2D.h"

#include <gtest/gtest.h>

#include <memory>

namespace calvoro::test {

class RecordingSurface : public ViewSurface {
public:
    void Resize(int width, int height) override {
        width_ = width;
        height_ = height;
        canvas_ = std::make_unique<RecordingCanvas>(TPixelRect{0, 0, width, height});
    }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    Canvas& GetCanvas() override { return *canvas_; }
    void CopyRect(const ViewSurface& /*source*/, const TPixelRect& /*rect*/) override { ++copies; }
    void CopyRectTransparent(const ViewSurface& /*source*/, const TPixelRect& /*rect*/, TColor /*key*/) override {
        ++copies;
    }
    RecordingCanvas& Recording() { return *canvas_; }
    int copies = 0;

private:
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<RecordingCanvas> canvas_ = std::make_unique<RecordingCanvas>();
};

class ViewTest : public ::testing::Test {
protected:
    ViewTest() {
        InitializeEntityModule();
        auto offscreen = std::make_unique<RecordingSurface>();
        auto screen = std::make_unique<RecordingSurface>();
        offscreen_ = offscreen.get();
        screen_ = screen.get();
        view = std::make_unique<TQVViewport2D>(std::move(offscreen), std::move(screen));
        view->SetCADCmp2D(&drawing);
        view->Resize(200, 100);
        view->ZoomWindow(MakeRect2D(0.0, 0.0, 200.0, 100.0));
    }

    template <class T, class... Args>
    T* Add(Args&&... args) {
        return static_cast<T*>(drawing.AddObject2D(-1, std::make_unique<T>(-1, std::forward<Args>(args)...)));
    }
    RecordingCanvas& Offscreen() { return offscreen_->Recording(); }
    RecordingCanvas& Screen() { return screen_->Recording(); }

    TQVCmp2D drawing;
    std::unique_ptr<TQVViewport2D> view;
    RecordingSurface* offscreen_ = nullptr;
    RecordingSurface* screen_ = nullptr;
};

}  // namespace calvoro::test
