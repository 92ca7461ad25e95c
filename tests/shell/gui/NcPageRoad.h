// The road a person takes to the NC page in the real window: a picture
// opened, the wizard's pages walked with Next (the NC file named when the
// dialog asks), the program computed and shown.
#pragma once

#include <QAbstractButton>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <filesystem>

#include "engine/picture/BmpCodec.h"
#include "shell/app/Pages.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/WizardWiring.h"

namespace calvoro::testing {

// A grey ramp of width x height pixels at `dpi`.
inline std::filesystem::path WriteRamp(const std::filesystem::path& file, int width, int height, int dpi) {
    Picture picture;
    picture.allocate(width, height, PixelFormat::Grey8);
    picture.dpiX = picture.dpiY = dpi;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.row(y)[x] = static_cast<std::uint8_t>((x * 255) / width);
    SaveBmpFile(file, picture);
    return file;
}

inline void WalkToNcPage(MainWindow& window, const std::filesystem::path& picture) {
    WizardWiring& wizard = window.Wizard();
    QVERIFY(wizard.LoadPicture(picture));
    const WizardPagesUi& p = wizard.Pages();
    for (QAbstractButton* button :
         {p.sbtNextB1, p.sbtNextB2, p.sbtNextB3, p.sbtNextB4, p.sbtNextB5, p.sbtNcCalc, p.sbtNextB6}) {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        button->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.Working(), 60000);
    }
    QCOMPARE(window.Ui().PageControl1->currentIndex(), page::kProgram);
}

}  // namespace calvoro::testing
