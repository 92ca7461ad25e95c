// The real main window on the offscreen platform for tests: scripted answers
// in place of the message boxes and file dialogs, a stub in place of the 3D
// view, and a program folder of the test's own with the English texts and one
// post-processor. Shared by every test that drives the whole window.
#pragma once

#include <QDialog>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/Picture.h"
#include "engine/relief/HeightMap.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/view/TQVViewport2D.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/GridDialog.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/View3D.h"
#include "shell/lang/UnitLang.h"

namespace calvoro::testing {

namespace fs = std::filesystem;

class FakeDialogs : public DialogServices {
public:
    std::deque<bool> answers;  // Yes/No answers in the order asked
    QStringList questions;
    QString fileToOpen;
    QList<QUrl> opened;
    bool openSucceeds = true;
    int informed = 0;

    bool askYesNo(QWidget*, const QString&, const QString& text) override {
        questions << text;
        if (answers.empty()) throw std::logic_error("unexpected question: " + text.toStdString());
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void inform(QWidget*, const QString&, const QString&) override { ++informed; }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override { return fileToOpen; }
    // The names the save dialog answers with, in the order asked (empty: Cancel).
    std::deque<QString> filesToSave;
    QStringList saveFilters;    // the filter of every save dialog shown
    QStringList saveProposals;  // the name each save dialog proposed
    QString saveFile(QWidget*, const QString&, const QString& proposed, const QString& filter,
                     QString* chosen) override {
        saveFilters << filter;
        saveProposals << proposed;
        if (filesToSave.empty()) return {};
        const QString name = filesToSave.front();
        filesToSave.pop_front();
        if (chosen) *chosen = filter.section(QStringLiteral(";;"), 0, 0);
        return name;
    }
    bool openUrl(const QUrl& url) override {
        opened << url;
        return openSucceeds;
    }
    QList<QDialog*> modal;
    QStringList gridShown;  // the grid dialog's X spacing when it was shown
    // What the person does in a modal dialog while it shows; its result is
    // the dialog's. Without it the dialog is only shown and hidden.
    std::function<int(QDialog&)> modalScript;
    int runModal(QDialog& dialog) override {
        modal << &dialog;
        dialog.show();
        if (auto* grid = qobject_cast<GridDialog*>(&dialog)) gridShown << grid->nol_cboGridX->currentText();
        if (modalScript) {
            const int result = modalScript(dialog);
            dialog.hide();
            return result;
        }
        dialog.hide();
        return QDialog::Rejected;
    }
    // The answers of the text input box in the order asked (none: Cancel).
    std::deque<QString> texts;
    QStringList textPrompts;
    bool getText(QWidget*, const QString& caption, const QString& prompt, QString& text) override {
        textPrompts << caption + "|" + prompt + "|" + text;
        if (texts.empty()) return false;
        text = texts.front();
        texts.pop_front();
        return true;
    }
};

class StubView3D : public View3D {
public:
    explicit StubView3D(QWidget* parent) : widget_(new QWidget(parent)) {}
    QWidget* widget() override { return widget_; }
    void setBackgroundColor(const QColor& color) override { background = color; }
    void setRelief(std::shared_ptr<const HeightMap> map, const ReliefValues& values) override {
        reliefWidth = map->width();
        reliefHeight = map->height();
        reliefPixelSize = values.PixelSize;
    }
    void clearRelief() override { reliefWidth = reliefHeight = 0; }
    void setWorkBox(const WorkBox& box) override {
        boxSizeX = box.SizeX;
        boxSizeZ = box.SizeZ;
    }
    void clearPath() override { ++pathClears; }
    void setSurface(Surface s) override { surface = s; }
    void setToolVisible(bool visible) override { toolVisible = visible; }
    void setAxesVisible(bool visible) override { axesVisible = visible; }
    void standardView(Standard view) override { views << int(view); }
    void zoomBy(double factor) override { zoomFactors << factor; }
    void zoomToWorkBox() override { ++workBoxZooms; }
    void setPanMode(bool on) override { panMode = on; }
    void cancelPan() override {
        panMode = false;
        ++pansCancelled;
    }
    int pansCancelled = 0;
    void setCutter(const ToolRecord&, float) override { ++cuttersBuilt; }
    void moveCutter(float x, float, float) override { cutterInSight = x < 9000; }
    void parkCutter(float) override { cutterInSight = false; }
    void setHudText(const QString& text) override { hud = text; }
    QList<double> zoomFactors;
    int cuttersBuilt = 0;
    bool cutterInSight = false;
    QString hud;
    float reliefPixelSize = 0;
    int workBoxZooms = 0;
    bool panMode = false;

    Surface surface = Surface::Shaded;
    bool toolVisible = false, axesVisible = true;
    QList<int> views;

    QColor background;
    int reliefWidth = 0, reliefHeight = 0, pathClears = 0;
    float boxSizeX = 0, boxSizeZ = 0;

private:
    QWidget* widget_;
};

fs::path SourceData() {
    return fs::path(qEnvironmentVariable("CALVORO_SOURCE_DIR").toStdString()) / "data";
}

// A program folder of the test's own, with the English texts and one post.
class Installation {
public:
    Installation() : root_(fs::temp_directory_path() / ("calvoro_mainwindow_" + std::to_string(::getpid()))) {
        fs::remove_all(root_);
        fs::create_directories(root_ / "language");
        fs::create_directories(root_ / "pst");
        fs::create_directories(root_ / "hlp");
        fs::copy_file(SourceData() / "language" / "english.lng", root_ / "language" / "english.lng");
        fs::copy_file(SourceData() / "pst" / "Fanuc_mm.pst", root_ / "pst" / "Fanuc_mm.pst");
        fs::copy_file(SourceData() / "hlp" / "index.html", root_ / "hlp" / "index.html");
        SetProgramFolder(root_);
    }
    ~Installation() {
        std::error_code ignored;
        fs::permissions(ini(), fs::perms::owner_all, ignored);
        fs::remove_all(root_, ignored);
    }
    const fs::path& root() const { return root_; }
    fs::path ini() const { return root_ / "Calvoro.ini"; }
    void write(const fs::path& name, const std::string& bytes) const { WriteFileAtomically(root_ / name, bytes); }
    // A picture 40 x 30 in a grey ramp.
    fs::path picture() const {
        Picture picture;
        picture.allocate(40, 30, PixelFormat::Grey8);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) picture.row(y)[x] = static_cast<std::uint8_t>(x * 6);
        SaveBmpFile(root_ / "ramp.bmp", picture);
        return root_ / "ramp.bmp";
    }

private:
    fs::path root_;
};

// One window of the test with its fakes; errors shown are collected.
struct Harness {
    Installation install;
    FakeDialogs dialogs;
    StubView3D* view3d = nullptr;
    QStringList errors;
    std::unique_ptr<MainWindow> window;

    Harness() { Application::setErrorReporter([this](const QString& message) { errors << message; }); }
    ~Harness() {
        window.reset();
        Application::setErrorReporter(nullptr);
    }
    MainWindow& start() {
        MainWindowOptions options;
        options.dialogs = &dialogs;
        options.make3D = [this](QWidget* parent) {
            auto stub = std::make_unique<StubView3D>(parent);
            view3d = stub.get();
            return stub;
        };
        options.settingsFile = install.ini();
        window = std::make_unique<MainWindow>(options);
        window->Start();
        window->show();
        return *window;
    }
    const MainWindowUi& ui() const { return window->Ui(); }
    // The 2D view: its mapping, its widget and the width of the world it shows.
    TQVViewport2D& viewport() { return window->View2D().Viewport(); }
    QWidget* view2d() { return &window->View2D().Widget(); }
    double viewWidth() { return viewport().VisualRect().Right - viewport().VisualRect().Left; }
    // Closes the window with the given answer; true when it closed.
    bool close(bool answer) {
        dialogs.answers.push_back(answer);
        return window->close();
    }
};

QString Lang(const char* number) {
    return QString::fromStdString(LangString(number));
}

}  // namespace calvoro::testing
