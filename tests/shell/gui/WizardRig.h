// The real main window with a picture opened, for the wizard's window tests:
// scripted dialogs that also confirm the STL choice, a cutter library, and
// the steps a person takes from page to page.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QStackedWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

#include "kernel/platform/AtomicFile.h"
#include "shell/gui/StlOutputDialog.h"
#include "shell/gui/WizardWiring.h"
#include "tests/shell/gui/WindowHarness.h"

namespace calvoro::testing {

// A dome of grey levels, lighter in the middle.
fs::path WriteDome(const fs::path& file, int width, int height) {
    Picture picture;
    picture.allocate(width, height, PixelFormat::Grey8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = (x - width / 2.0) / width, dy = (y - height / 2.0) / height;
            picture.row(y)[x] = static_cast<std::uint8_t>(std::max(0.0, 255.0 * (1.0 - 3.0 * (dx * dx + dy * dy))));
        }
    SaveBmpFile(file, picture);
    return file;
}

// Every edge of a binary STL file's facets, counted.
std::map<std::tuple<float, float, float, float, float, float>, int> StlEdges(const fs::path& file) {
    const std::string bytes = ReadWholeFile(file);
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    std::map<std::tuple<float, float, float, float, float, float>, int> edges;
    for (std::uint32_t facet = 0; facet < count; ++facet) {
        float v[3][3];
        std::memcpy(v, bytes.data() + 84 + 50 * facet + 12, sizeof v);
        for (int i = 0; i < 3; ++i) {
            auto a = std::make_tuple(v[i][0], v[i][1], v[i][2]);
            auto b = std::make_tuple(v[(i + 1) % 3][0], v[(i + 1) % 3][1], v[(i + 1) % 3][2]);
            if (b < a) std::swap(a, b);
            ++edges[std::tuple_cat(a, b)];
        }
    }
    return edges;
}

// The scripted dialogs, which also confirm the STL choice as a solid.
struct WizardDialogs : FakeDialogs {
    int runModal(QDialog& dialog) override {
        if (auto* stl = qobject_cast<StlOutputDialog*>(&dialog)) {
            dialog.show();
            stlCaption = dialog.windowTitle();
            stl->rbtOutSo->setChecked(true);
            dialog.findChild<QPushButton*>("sbtOk")->click();
            return QDialog::Accepted;
        }
        return FakeDialogs::runModal(dialog);
    }
    QString stlCaption;  // as the STL dialog showed it
};

// The window with a picture opened, a cutter library and an NC folder.
struct Rig {
    Harness h;
    WizardDialogs dialogs;
    fs::path ramp;
    // realView: the program's own 3D view (it needs a display with OpenGL).
    explicit Rig(bool open = true, bool realView = false) {
        fs::copy_file(SourceData() / "Tool.db", h.install.root() / "Tool.db");
        ramp = h.install.picture();
        // The harness's own dialogs stand aside for the ones that confirm the STL choice.
        MainWindowOptions options;
        options.dialogs = &dialogs;
        if (!realView)
            options.make3D = [this](QWidget* parent) {
                auto stub = std::make_unique<StubView3D>(parent);
                h.view3d = stub.get();
                return stub;
            };
        options.settingsFile = h.install.ini();
        h.window = std::make_unique<MainWindow>(options);
        h.window->Start();
        h.window->show();
        if (open) QVERIFY(wiring().LoadPicture(ramp));
    }
    MainWindow& w() { return *h.window; }
    const MainWindowUi& ui() { return h.ui(); }
    WizardWiring& wiring() { return w().Wizard(); }
    WizardController& wizard() { return wiring().Controller(); }
    const WizardPagesUi& p() { return wiring().Pages(); }
    int page() { return ui().PageControl1->currentIndex(); }
    void click(QAbstractButton* button) {
        QVERIFY2(button->isVisible() && button->isEnabled(), qPrintable(button->objectName()));
        // Radio buttons and check boxes take a click on their box.
        const bool box = qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, box ? QPoint(6, button->height() / 2) : QPoint());
        QTRY_VERIFY_WITH_TIMEOUT(!wiring().Working(), 60000);
    }
    void click(std::initializer_list<QAbstractButton*> buttons) {
        for (QAbstractButton* button : buttons) click(button);
    }
    void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    fs::path file(const char* name) { return h.install.root() / name; }
    // From the page of the open (44) to the page given, by Modify (43) or by
    // Next, the NC file named on the way, the program computed for page 50.
    void to(int page, const fs::path& ncFile = {}) {
        if (page == page::kDistance) click(p().sbtModify);
        if (page >= page::kReference) click({p().sbtNextB1});
        if (page >= page::kDepth) click({p().sbtNextB2});
        if (page >= page::kNcFile) {
            dialogs.filesToSave.push_back(QString::fromStdString((ncFile.empty() ? file("a.nc") : ncFile).string()));
            click(p().sbtNextB3);
        }
        if (page >= page::kTool) click({p().sbtNextB4});
        if (page >= page::kCutting) click({p().sbtNextB5});
        if (page >= page::kProgram) click({p().sbtNcCalc, p().sbtNextB6});
    }
    void walkToCutting(const fs::path& ncFile) { to(page::kCutting, ncFile); }
};

}  // namespace calvoro::testing
