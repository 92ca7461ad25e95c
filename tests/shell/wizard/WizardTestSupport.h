// Generated pictures and a controller with fakes around it, for the wizard tests.
#pragma once

#include <cmath>
#include <filesystem>
#include <memory>

#include "engine/picture/BmpCodec.h"
#include "shell/wizard/WizardController.h"
#include "tests/shell/wizard/FakeWizardServices.h"
#include "tests/support/SourceTree.h"
#include "tests/support/TempFolder.h"

namespace calvoro::test {

// A grey wave that is not symmetric in either direction, so flips and turns
// change the relief.
inline Picture WavePicture(int width, int height, int dpi) {
    Picture picture;
    picture.allocate(width, height, PixelFormat::Grey8);
    picture.dpiX = picture.dpiY = dpi;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            picture.row(r)[c] = static_cast<std::uint8_t>(
                127.5 + 100 * std::sin(c * 0.11 + r * 0.03) * std::cos(r * 0.07) + (c * 30) / width);
    return picture;
}

inline std::filesystem::path WriteWave(const TempFolder& folder, const std::string& name, int width, int height,
                                       int dpi = 254) {
    const auto file = folder / name;
    SaveBmpFile(file, WavePicture(width, height, dpi));
    return file;
}

struct WizardRig {
    explicit WizardRig(unsigned threads = 0) {
        WizardSettings settings;
        settings.programFolder = ShippedData();
        settings.threads = threads;
        controller = std::make_unique<WizardController>(fakes.services(), settings);
    }
    // Pages 44 to 49 with the values as they stand; the NC file dialog answers ncFile.
    void walkToCutting(const std::filesystem::path& ncFile) {
        fakes.ncAnswer = ncFile;
        controller->nextFromSize();
        controller->nextFromReference();
        controller->waitForWork();
        controller->applyDepth();
        controller->nextFromDepth();
        controller->nextFromNcFile();
        controller->nextFromTool();
    }
    void compute() {
        controller->computeNc();
        controller->waitForWork();
    }

    FakeWizardServices fakes;
    std::unique_ptr<WizardController> controller;
};

}  // namespace calvoro::test
