// The job wizard in the real main window (offscreen, scripted dialogs, stub 3D
// view): one row per control of the wizard's pages, reached the way a person
// reaches it, with the effect it must have; the open, new and save commands; a
// refused computation, a large picture and the picks made in the 2D view. The
// wizard's rules are pinned by the controller's own tests, the road from a
// picture to a program and back from its document by the end-to-end run.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <memory>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/ToolDialog.h"
#include "engine/picture/PictureRaster.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/view/TQVViewport2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/CuttingHelpPictures.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/lang/MessageTable.h"
#include "tests/shell/gui/WizardRig.h"

namespace fs = std::filesystem;
using namespace calvoro;
using namespace calvoro::testing;

namespace {

using Step = std::function<void(Rig&)>;

// A row's control is reached off the wizard's pages (tool bar, File menu),
// with the picture opened on its first page.
constexpr int kOffThePages = -1;

struct Row {
    const char* names;  // the controls' objectNames; an empty act clicks the first
    int page;           // the wizard's page it is reached on, or kOffThePages
    Step act, check;
};

template <class T = QWidget>
T* Control(Rig& r, const QString& name) { return r.w().findChild<T*>(name); }

Step Click(const char* name) { return [name](Rig& r) { r.click(Control<QAbstractButton>(r, name)); }; }
Step Type(const char* name, const char* text) { return [=](Rig& r) { r.type(Control<QLineEdit>(r, name), text); }; }
Step Focus(const char* name) {
    return [name](Rig& r) {
        r.w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&r.w()));
        Control(r, name)->setFocus();
    };
}
Step OnPage(int page) { return [page](Rig& r) { QCOMPARE(r.page(), page); }; }
Step Text(const char* name, const char* text) {
    return [=](Rig& r) { QCOMPARE(Control<QLineEdit>(r, name)->text(), QString(text)); };
}
Step Origin(float x0, float y0) {
    return [=](Rig& r) { QVERIFY(r.wiring().CurrentJob().info().X0 == x0 && r.wiring().CurrentJob().info().Y0 == y0); };
}
// "a b / c": a and b enabled, c disabled.
Step Enabled(const char* names) {
    return [names](Rig& r) {
        bool on = true;
        for (const QString& name : QString(names).split(' ', Qt::SkipEmptyParts)) {
            if (name == "/") on = false;
            else QVERIFY2(Control(r, name)->isEnabled() == on, qPrintable(name));
        }
    };
}
Step All(std::vector<Step> steps) {
    return [steps](Rig& r) {
        for (std::size_t i = 0; i < steps.size() && !QTest::currentTestFailed(); ++i) steps[i](r);
    };
}
// Where on the screen the picture's lower left corner is.
QPointF PictureOnScreen(Rig& r) {
    const ImageInfo& info = r.wiring().CurrentJob().info();
    const TPoint2D at = r.w().View2D().Viewport().WorldToScreen(TPoint2D{info.X0, info.Y0, 1.0});
    return {at.X, at.Y};
}
// The act, with the picture's place on the screen kept first; the check that
// it is still there.
Step KeepingPictureOnScreen(Step act, std::shared_ptr<QPointF> seen) {
    return [=](Rig& r) {
        *seen = PictureOnScreen(r);
        act(r);
    };
}
Step PictureStill(std::shared_ptr<QPointF> seen) {
    return [=](Rig& r) {
        const QPointF now = PictureOnScreen(r);
        QVERIFY2(std::abs(now.x() - seen->x()) < 0.5 && std::abs(now.y() - seen->y()) < 0.5,
                 qPrintable(QString("(%1, %2) moved to (%3, %4)").arg(seen->x()).arg(seen->y()).arg(now.x()).arg(now.y())));
    };
}
Step Asked() { return [](Rig& r) { QCOMPARE(r.dialogs.questions, QStringList({Lang("452")})); }; }
Step OpenTheRamp(bool discard, Step how) {
    return [=](Rig& r) {
        r.dialogs.fileToOpen = QString::fromStdString(r.ramp.string());
        r.dialogs.answers = {discard};
        how(r);
    };
}
Step SaveAs(const char* name, Step how) {
    return [=](Rig& r) {
        r.dialogs.filesToSave = {QString::fromStdString(r.file(name).string())};
        how(r);
    };
}

// The mouse in the 2D view at a drawing point: a move, or a click there.
QPoint ViewPixel(Rig& r, double x, double y) {
    const TPixelPoint p = r.h.viewport().WorldToPixel(MakePoint2D(x, y));
    return {p.X, p.Y};
}
Step MoveInView(double x, double y) {
    return [=](Rig& r) {
        const QPoint at = ViewPixel(r, x, y);
        QMouseEvent move(QEvent::MouseMove, at, r.h.view2d()->mapToGlobal(at), Qt::NoButton, {}, {});
        QApplication::sendEvent(r.h.view2d(), &move);
    };
}
Step ClickInView(double x, double y) {
    return [=](Rig& r) {
        MoveInView(x, y)(r);
        QTest::mouseClick(r.h.view2d(), Qt::LeftButton, {}, ViewPixel(r, x, y));
    };
}
// A read-out's number within a view pixel or two of the value.
Step Near(const char* name, double value) {
    return [=](Rig& r) {
        const double pixel = (r.h.viewport().VisualRect().Right - r.h.viewport().VisualRect().Left) /
                             r.h.view2d()->width();
        const QString text = Control<QLineEdit>(r, name)->text();
        QVERIFY2(std::abs(text.toDouble() - value) <= 2 * pixel + 1e-9, qPrintable(QString(name) + ": " + text));
    };
}

// The ramp picture is 40 x 30 pixels, 39 x 29 mm.
std::vector<Row> Rows() {
    const Step pick = [](Rig& r) { r.wiring().OriginPicked(3, 4); };
    const auto seen = std::make_shared<QPointF>();
    std::vector<Row> rows = {
        // The open asks before the picture in the drawing goes; No keeps it.
        {"sbtOpen", kOffThePages, OpenTheRamp(true, [](Rig& r) { QTest::mouseClick(r.ui().sbtOpen, Qt::LeftButton); }),
         All({Asked(), OnPage(page::kSize), [](Rig& r) { QVERIFY(r.w().windowTitle().endsWith("ramp.bmp")); }})},
        {"mnuOpen", kOffThePages, OpenTheRamp(false, [](Rig& r) { r.ui().mnuOpen->trigger(); }),
         All({Asked(), [](Rig& r) { QCOMPARE(r.w().LocalCad().ObjectCount(), 1); }})},
        {"sbtModify", page::kSize, {}, OnPage(page::kDistance)},
        {"sbtFlipH", page::kDistance, {}, [](Rig& r) { QCOMPARE(int(r.wizard().picture().row(0)[0]), 39 * 6); }},
        // A relief built on page 46 is outdated by a flip.
        {"sbtFlipV", page::kDepth, [](Rig& r) { r.click({r.p().sbtPrevB3, r.p().sbtPrevB2, r.p().sbtModify, r.p().sbtFlipV}); },
         [](Rig& r) { QVERIFY(r.wizard().reliefOutdated()); }},
        // The upper right corner chosen holds for the turned picture.
        {"sbtRotate", page::kReference,
         [](Rig& r) { r.click({r.p().rbtOrigine[3], r.p().sbtPrevB2, r.p().sbtModify, r.p().sbtRotate}); },
         All({Origin(-29, -39), [](Rig& r) { QCOMPARE(r.wizard().picture().width, 30); }})},
        {"sbt2Gray", page::kDistance, {}, [](Rig& r) { QVERIFY(r.wizard().reliefOutdated() && r.wizard().ncOutdated()); }},
        // A rectangle picked corner to corner, either way round.
        {"sbtCutSel txtCutDx txtPixelW", page::kDistance,
         All({Enabled("/ sbtCutSel"), [](Rig& r) { r.wiring().CropRectanglePicked(30, 25, 10, 5); },
              Text("txtCutDx", "20.000"), Text("txtPixelW", "21"), Click("sbtCutSel"), Enabled("/ sbtCutSel")}),
         [](Rig& r) { QVERIFY(r.wizard().picture().width == 21 && r.wizard().picture().height == 21); }},
        // Dragged with the mouse, the rectangle shows its size while its second
        // corner moves (a pixel of the picture is a millimetre, and its pixels
        // count both ends); it counts once that corner is clicked, and no
        // longer once the next click starts another.
        {"txtCutDy txtPixelH", page::kDistance,
         All({ClickInView(10, 5), MoveInView(30, 25), Near("txtCutDx", 20), Near("txtCutDy", 20),
              Near("txtPixelW", 21), Near("txtPixelH", 21), Enabled("/ sbtCutSel"), MoveInView(34, 20),
              Near("txtCutDx", 24), Near("txtPixelH", 16), Enabled("/ sbtCutSel"), ClickInView(34, 20),
              Enabled("sbtCutSel"), ClickInView(5, 5)}),
         All({Enabled("/ sbtCutSel"), [](Rig& r) {
             r.wizard().crop();  // the rectangle left behind crops nothing
             QCOMPARE(r.wizard().picture().width, 40);
         }})},
        {"sbtNextB0", page::kDistance, {}, OnPage(page::kSize)},
        {"txtVecLarg sbtDimApply", page::kSize, All({Type("txtVecLarg", "78"), Text("txtVecAlt", "58.500"),
                                            Enabled("sbtDimApply / sbtNextB1"), Click("sbtDimApply")}),
         Enabled("sbtNextB1 / sbtDimApply")},
        {"txtVecAlt", page::kSize, Type("txtVecAlt", "0"), [](Rig& r) { QCOMPARE(r.wiring().CurrentJob().info().SizeY, 29.0f); }},
        {"chkRatio", page::kSize, All({Click("chkRatio"), Type("txtVecLarg", "100")}), Text("txtVecAlt", "29.000")},
        {"cboUnits", page::kSize, [](Rig& r) { emit r.ui().cboUnits->activated(1); },  // inches
         All({Text("txtVecLarg", "39.0000"), [](Rig& r) { QCOMPARE(r.wizard().post().unitsFlag, 1); }})},
        {"sbtNextB1", page::kSize, {}, OnPage(page::kReference)},
        {"txtOriginX sbtOrigineApply", page::kReference,
         All({Type("txtOriginX", "5"), Enabled("sbtOrigineApply / sbtNextB2"), Click("sbtOrigineApply")}),
         All({Origin(-5, 0), Enabled("sbtNextB2")})},
        // A click in the view moves the origin only after Select Pt.
        {"sbtSetOrigin", page::kReference, KeepingPictureOnScreen(All({pick, Click("sbtSetOrigin"), pick}), seen),
         All({Origin(-3, -4), [](Rig& r) { QVERIFY(!r.wiring().PickingOrigin()); }, PictureStill(seen)})},
        {"sbtPrevB2", page::kReference, {}, OnPage(page::kSize)},
        {"sbtNextB2", page::kReference, {}, All({OnPage(page::kDepth), [](Rig& r) { QVERIFY(r.w().State().View3D && r.h.view3d->reliefWidth == 40); }})},
        {"txtBlackD sbtProfApply", page::kDepth,
         All({Type("txtBlackD", "-10"), Enabled("sbtProfApply / sbtNextB3"), Click("sbtProfApply")}),
         All({Enabled("sbtNextB3 sbtSave"), [](Rig& r) { QCOMPARE(r.h.view3d->boxSizeZ, 10.0f); }})},
        {"sbtPrevB3", page::kDepth, {}, [](Rig& r) { QCOMPARE(r.page(), page::kReference); QVERIFY(!r.w().State().View3D); }},
        // The NC file is asked for once, on the way to page 47.
        {"sbtNextB3", page::kDepth, SaveAs("job", Click("sbtNextB3")), All({OnPage(page::kNcFile), [](Rig& r) {
             QCOMPARE(r.dialogs.saveFilters.size(), 1);
             QVERIFY(r.p().stxNcFileName->text().endsWith("job.nc", Qt::CaseInsensitive));
         }})},
        {"sbtNewNc", page::kNcFile, SaveAs("b.nc", Click("sbtNewNc")),
         [](Rig& r) { QCOMPARE(r.wizard().ncFileName(), r.file("b.nc")); }},
        {"cboPostName", page::kNcFile, [](Rig& r) { emit r.p().cboPostName->textActivated("Fanuc_mm"); },
         [](Rig& r) { QVERIFY(!r.p().stxPstCommento->text().isEmpty()); }},
        {"sbtPrevB4", page::kNcFile, {}, OnPage(page::kDepth)},
        {"sbtNextB4", page::kNcFile, {}, OnPage(page::kTool)},
        {"sbtSelecTool", page::kTool, {}, [](Rig& r) { QVERIFY(qobject_cast<ToolDialog*>(r.dialogs.modal.value(0))); }},
        {"sbtEditTool", page::kTool, {}, [](Rig& r) { QCOMPARE(r.dialogs.modal.size(), 1); }},
        {"sbtPrevB5", page::kTool, {}, OnPage(page::kNcFile)},
        {"sbtNextB5", page::kTool, {}, All({OnPage(page::kCutting), Enabled("sbtNcCalc / sbtNextB6")})},
        {"sbtNcCalc", page::kCutting, {}, All({Enabled("sbtNextB6 / sbtNcCalc"), [](Rig& r) {
             QCOMPARE(r.w().NcPages().Controller().programText(), ReadWholeFile(r.file("a.nc")));
             QVERIFY(!r.ui().ProgressBar1->isVisible());
         }})},
        {"sbtNextB6", page::kCutting, All({Click("sbtNcCalc"), Click("sbtNextB6")}),
         All({OnPage(page::kProgram), [](Rig& r) { QVERIFY(r.w().NcPages().Page().isVisible()); }})},
        {"sbtPrevB7", page::kProgram, {}, OnPage(page::kCutting)},
        {"sbtPrevB6", page::kCutting, {}, OnPage(page::kTool)},
        {"chkVerticale chkOrizzontale", page::kCutting,
         All({Click("chkVerticale"), [](Rig& r) { QVERIFY(r.wizard().cutting().rasterAlongY); }, Click("chkOrizzontale")}),
         [](Rig& r) { QVERIFY(!r.wizard().cutting().rasterAlongX && r.wizard().cutting().rasterAlongY); }},
        {"chkCutColor", page::kCutting, {}, Enabled("btnZNC sbtZNCRegen")},
        {"btnZNC", page::kCutting, All({Click("chkCutColor"), Click("btnZNC")}), [](Rig& r) {
             QVERIFY(r.w().State().ActiveCommand == kZncPickMode && !r.w().State().View3D);
             QCOMPARE(r.ui().pnlStatus2->text(), Lang("932"));
         }},
        {"txtFiltroZNC", page::kCutting, All({Click("chkCutColor"), Click("sbtNcCalc"), Type("txtFiltroZNC", "0.5")}),
         [](Rig& r) { QVERIFY(r.wizard().ncOutdated() && r.wizard().zncFilter().tolerance == 0.5f); }},
        {"sedPass_Z", page::kCutting, All({Click("sbtNcCalc"), [](Rig& r) { r.p().sedPass_Z->setValue(2); }}),
         All({Enabled("/ sbtNextB6"), [](Rig& r) { QCOMPARE(r.wizard().cutting().passCount, 2); }})},
        {"sbtZNCRegen", page::kCutting, All({Click("chkCutColor"), Click("sbtZNCRegen")}), [](Rig&) {}},
        {"sbtNew", page::kProgram, [](Rig& r) { r.dialogs.answers = {true}; QTest::mouseClick(r.ui().sbtNew, Qt::LeftButton); },
         All({Asked(), Enabled("/ sbtSave"), [](Rig& r) { QVERIFY(!r.wizard().hasPicture()); }})},
        {"sbtSave", page::kProgram, SaveAs("job", Click("sbtSave")), [](Rig& r) { QVERIFY(fs::exists(r.file("job.pxm"))); }},
        // The STL dialog names the file the relief goes to.
        {"sbtSave mnuSave", page::kProgram, SaveAs("relief.stl", Click("sbtSave")), [](Rig& r) {
             QCOMPARE(r.dialogs.stlCaption, QString::fromStdString(r.file("relief.stl").string()));
             QVERIFY(fs::file_size(r.file("relief.stl")) > 84);
         }},
        {"mnuSave", page::kProgram, SaveAs("drawing.dxf", [](Rig& r) { r.ui().mnuSave->trigger(); }),
         [](Rig& r) { QVERIFY(ReadWholeFile(r.file("drawing.dxf")).find("EOF") != std::string::npos); }},
    };
    // The cutter simulated on the NC page and the machining time leave the 3D
    // view with the program they belong to: when another picture is opened
    // and when a cutting value outdates the program.
    const Step simulate = [](Rig& r) {
        r.ui().mnuShowTool->setChecked(true);
        QVERIFY(!r.h.view3d->hud.isEmpty());
        for (int i = 0; i < 20; ++i) r.w().NcPages().Page().sbtIsoStep->click();
        QVERIFY(r.h.view3d->cutterInSight);
    };
    const Step noOldProgramIn3D = [](Rig& r) {
        QVERIFY(!r.h.view3d->cutterInSight);
        QCOMPARE(r.h.view3d->hud, QString());
    };
    // Another picture: nothing of the last job's program, nor its relief, in 3D.
    rows.push_back({"sbtOpen", page::kProgram, All({simulate, OpenTheRamp(true, Click("sbtOpen"))}),
                    All({noOldProgramIn3D, [](Rig& r) { QCOMPARE(r.h.view3d->reliefWidth, 0); }})});
    rows.push_back({"txtIncXY", page::kProgram, All({simulate, Click("sbtPrevB7"), Type("txtIncXY", "2")}), noOldProgramIn3D});
    // A new size taken after the relief was built: the 3D relief is drawn at it.
    rows.push_back({"sbtNextB2", page::kDepth,
                    All({Click("sbtPrevB3"), Click("sbtPrevB2"), Type("txtVecLarg", "78"), Click("sbtDimApply"),
                         Click("sbtNextB1"), Click("sbtNextB2")}),
                    [](Rig& r) { QCOMPARE(r.h.view3d->reliefPixelSize, 2.0f); }});
    // Another picture: the crop page shows no selection of the last one.
    rows.push_back({"txtCutDx txtCutDy txtPixelW txtPixelH", page::kDistance,
                    All({[](Rig& r) { r.wiring().CropRectanglePicked(30, 25, 10, 5); }, Text("txtCutDx", "20.000"),
                         OpenTheRamp(true, Click("sbtOpen"))}),
                    All({Text("txtCutDx", ""), Text("txtCutDy", ""), Text("txtPixelW", ""), Text("txtPixelH", ""),
                         Enabled("/ sbtCutSel")})});
    // Esc during the Z no-cut pick: the page's own message comes back.
    rows.push_back({"btnZNC", page::kCutting,
                    All({Click("chkCutColor"), Click("btnZNC"),
                         [](Rig& r) { QTest::keyClick(&r.w().View2D().Widget(), Qt::Key_Escape); }}),
                    [](Rig& r) {
                        QCOMPARE(r.ui().pnlStatus2->text(),
                                 QString::fromStdString(MessageTable()[page::kCutting]));
                    }});
    // A new picture starts without the NC file of the last job: Next on the
    // depth page asks for one, proposing the new picture's name.
    rows.push_back({"sbtNextB3", page::kProgram,
                    [](Rig& r) {
                        r.dialogs.answers = {true};
                        QVERIFY(r.wiring().LoadPicture(WriteDome(r.file("dome.bmp"), 20, 10)));
                        r.dialogs.filesToSave = {QString::fromStdString(r.file("dome.nc").string())};
                        r.dialogs.saveProposals.clear();
                        r.click({r.p().sbtNextB1, r.p().sbtNextB2, r.p().sbtNextB3});
                    },
                    All({OnPage(page::kNcFile), [](Rig& r) {
                             QCOMPARE(r.dialogs.saveProposals.size(), 1);
                             QCOMPARE(fs::path(r.dialogs.saveProposals[0].toStdString()).stem(), fs::path("dome"));
                             QCOMPARE(r.wizard().ncFileName(), r.file("dome.nc"));
                         }})});
    // A cutting value that is not a number, or 0 where 0 cannot be: Compute
    // names the field and writes nothing.
    const std::pair<const char*, const char*> badValues[] = {
        {"txtIncXY", "."}, {"txtIncXY", "0"}, {"txtFeedPlane", "."}, {"txtStock", "."},
        {"txtFilter", "."}, {"txtAspor_Z", "."}};
    for (const auto& [edit, text] : badValues) {
        const char* edit_ = edit;
        rows.push_back({edit, page::kCutting, All({Type(edit, text), [](Rig& r) { fs::remove(r.file("a.nc")); }, Click("sbtNcCalc")}),
                        [edit_](Rig& r) {
                            QCOMPARE(r.h.errors.size(), 1);
                            const QString label = r.w().findChild<QLabel*>(QString(edit_).replace("txt", "lbl"))->text();
                            QVERIFY2(r.h.errors[0].contains(label), qPrintable(r.h.errors[0]));
                            QVERIFY(!fs::exists(r.file("a.nc")));
                            QVERIFY(!r.p().sbtNextB6->isEnabled());
                            r.h.errors.clear();
                        }});
    }
    // Leaving a size edit applies the size typed, as Enter does.
    rows.push_back({"txtVecLarg", page::kSize, All({Focus("txtVecLarg"), Type("txtVecLarg", "78"), Focus("txtVecAlt")}),
                    All({Enabled("sbtNextB1 / sbtDimApply"),
                         [](Rig& r) { QCOMPARE(r.wiring().CurrentJob().info().SizeX, 78.0f); }})});
    // A corner chosen or an origin picked moves everything, and the 2D view
    // with it: the picture stays where it was on the screen.
    const auto seenBefore = std::make_shared<TRect2D>();
    const auto viewMovedBy = [seenBefore](double dx, double dy) {
        return [seenBefore, dx, dy](Rig& r) {
            const TRect2D seen = r.w().View2D().Viewport().VisualRect();
            QVERIFY(std::abs(seen.Left - (seenBefore->Left + dx)) < 1e-6);
            QVERIFY(std::abs(seen.Bottom - (seenBefore->Bottom + dy)) < 1e-6);
        };
    };
    const Step remember = [seenBefore](Rig& r) { *seenBefore = r.w().View2D().Viewport().VisualRect(); };
    rows.push_back({"rbtOrigine3", page::kReference, All({remember, Click("rbtOrigine3")}), viewMovedBy(-39, -29)});
    rows.push_back({"sbtSetOrigin", page::kReference, All({remember, Click("sbtSetOrigin"), pick}), viewMovedBy(-3, -4)});
    // The open hides the 3D cutter; the tool page shows the chosen one as Show
    // the cutter says.
    const Step showCutter = [](Rig& r) { r.ui().mnuShowTool->setChecked(true); };
    rows.push_back({"sbtOpen", page::kTool, All({showCutter, OpenTheRamp(true, Click("sbtOpen"))}),
                    [](Rig& r) { QVERIFY(!r.h.view3d->toolVisible); }});
    rows.push_back({"sbtNextB4", page::kNcFile, All({showCutter, [](Rig& r) { r.h.view3d->cuttersBuilt = 0; }, Click("sbtNextB4")}),
                    [](Rig& r) {
                        QVERIFY(r.h.view3d->cuttersBuilt > 0 && r.h.view3d->toolVisible);
                        // Over the work, not parked out of sight.
                        QVERIFY(r.h.view3d->cutterInSight);
                    }});
    // The unit of the work beside width and height, from the open on.
    const Step unitsShown = [](Rig& r) {
        for (const char* name : {"nol_lblUnita1", "nol_lblUnita2"})
            QCOMPARE(Control<QLabel>(r, name)->text(), r.ui().cboUnits->currentText());
        QVERIFY(!r.ui().cboUnits->currentText().isEmpty());
    };
    rows.push_back({"nol_lblUnita1 nol_lblUnita2", page::kSize, unitsShown,
                    All({[](Rig& r) {
                             r.ui().cboUnits->setCurrentIndex(1);
                             emit r.ui().cboUnits->activated(1);
                         },
                         unitsShown})});
    // The centre, then the corners clockwise from the lower left.
    static const char* const origins[] = {"rbtOrigine0", "rbtOrigine1", "rbtOrigine2", "rbtOrigine3", "rbtOrigine4"};
    const float x0[] = {-19.5f, 0, 0, -39, -39}, y0[] = {-14.5f, 0, -29, -29, 0};
    for (int i = 0; i < 5; ++i)
        rows.push_back({origins[i], page::kReference,
                        KeepingPictureOnScreen(
                            [i](Rig& r) { r.click({r.p().rbtOrigine[(i + 1) % 5], r.p().rbtOrigine[i]}); }, seen),
                        All({Origin(x0[i], y0[i]), PictureStill(seen)})});
    // Each cutting value typed outdates the computed program and shows its help beside it.
    const Step help = [](Rig& r) {
        QVERIFY(!r.p().lblCutParHelp->text().isEmpty() && !r.p().imgCutPar->pixmap().isNull());
    };
    for (const char* edit : {"txtIncXY", "txtFeedPlane", "txtStock", "txtFilter", "txtAspor_Z"})
        rows.push_back({edit, page::kCutting, All({Click("sbtNcCalc"), Focus(edit), Type(edit, "1.5")}),
                        All({Enabled("sbtNcCalc / sbtNextB6"), help, Click("sbtNcCalc"), Enabled("sbtNextB6")})});
    // Each shading changes the relief to be built.
    for (const char* shading : {"rbtShResCoarse", "rbtShResMedium", "rbtShResFine"})
        rows.push_back({shading, page::kDepth, {}, Enabled("sbtProfApply / sbtNextB3")});
    return rows;
}

// The named controls of a layout in the order a person reads them: form rows
// top to bottom, label before field, into the groups.
void ReadingOrder(const QLayout* layout, QStringList& names) {
    const auto add = [&](QLayoutItem* item) {
        if (!item) return;
        if (QWidget* widget = item->widget()) {
            if (!widget->objectName().isEmpty()) names << widget->objectName();
            if (qobject_cast<QGroupBox*>(widget) && widget->layout()) ReadingOrder(widget->layout(), names);
        } else if (const QLayout* inner = item->layout()) {
            ReadingOrder(inner, names);
        }
    };
    if (const auto* form = qobject_cast<const QFormLayout*>(layout)) {
        for (int row = 0; row < form->rowCount(); ++row) {
            // A spanning row answers for its label too.
            QLayoutItem* last = nullptr;
            for (const auto role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole}) {
                QLayoutItem* item = form->itemAt(row, role);
                if (item != last) add(item);
                last = item;
            }
        }
    } else {
        for (int i = 0; i < layout->count(); ++i) add(layout->itemAt(i));
    }
}

// The named controls of a page that Tab reaches, in the order it does.
QStringList TabOrder(QWidget* page) {
    QStringList names;
    QWidget* window = page->window();
    for (QWidget* widget = window->nextInFocusChain(); widget != window; widget = widget->nextInFocusChain())
        if (page->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty() &&
            !widget->objectName().startsWith("qt_"))
            names << widget->objectName();
    return names;
}

}  // namespace

class WindowWizardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        InitializeEntityModule();
        InstallPictureDecoder();
    }

    // Each step builds all of its page: the controls stand in the order the
    // page always had (reading order, and the order Tab takes), the picture's
    // edits under the distance read-outs that share their page.
    void eachStepLaysOutItsPageInItsOrder_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("reading");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("picture edit") << page::kDistance
                                      << QStringList{"lblDistX1",  "txtDistX1",  "lblDistY1",       "txtDistY1",
                                                     "lblDistX2",  "txtDistX2",  "lblDistY2",       "txtDistY2",
                                                     "lblDistDx",  "txtDistDx",  "lblDistDy",       "txtDistDy",
                                                     "lblDistLen", "txtDistLen", "lblDistAngle",    "txtDistAngle",
                                                     "lblCutDx",   "txtCutDx",   "lblCutDy",        "txtCutDy",
                                                     "lblPixelW",  "txtPixelW",  "lblPixelH",       "txtPixelH",
                                                     "sbtFlipH",   "sbtFlipV",   "sbtRotate",       "sbtCutSel",
                                                     "sbt2Gray",   "sbtNextB0",  "sbtCloseDistance"}
                                      << QStringList{"txtDistX1", "txtDistY1", "txtDistX2",       "txtDistY2",
                                                     "txtDistDx", "txtDistDy", "txtDistLen",      "txtDistAngle",
                                                     "txtCutDx",  "txtCutDy",  "txtPixelW",       "txtPixelH",
                                                     "sbtFlipH",  "sbtFlipV",  "sbtRotate",       "sbtCutSel",
                                                     "sbt2Gray",  "sbtNextB0", "sbtCloseDistance"};
        QTest::newRow("size") << page::kSize
                              << QStringList{"lblVecLarg", "txtVecLarg",    "nol_lblUnita1", "lblVecAlt",
                                             "txtVecAlt",  "nol_lblUnita2", "chkRatio",      "sbtDimApply",
                                             "sbtModify",  "treInfoRas",    "sbtNextB1"}
                              << QStringList{"treInfoRas",  "txtVecLarg", "txtVecAlt", "chkRatio",
                                             "sbtDimApply", "sbtModify",  "sbtNextB1"};
        QTest::newRow("reference") << page::kReference
                                   << QStringList{"grpOrigine",  "rbtOrigine1", "rbtOrigine2",  "rbtOrigine3",
                                                  "rbtOrigine4", "rbtOrigine0", "lblOriginX",   "txtOriginX",
                                                  "lblOriginY",  "txtOriginY",  "sbtSetOrigin", "sbtOrigineApply",
                                                  "sbtPrevB2",   "sbtNextB2"}
                                   << QStringList{"txtOriginX",      "txtOriginY",  "rbtOrigine1", "rbtOrigine2",
                                                  "rbtOrigine3",     "rbtOrigine4", "rbtOrigine0", "sbtSetOrigin",
                                                  "sbtOrigineApply", "sbtPrevB2",   "sbtNextB2"};
        QTest::newRow("depth") << page::kDepth
                               << QStringList{"lblWhiteD",    "txtWhiteD", "lblBlackD",      "txtBlackD",
                                              "sbtProfApply", "grpShRes",  "rbtShResCoarse", "rbtShResMedium",
                                              "rbtShResFine", "sbtPrevB3", "sbtNextB3"}
                               << QStringList{"txtWhiteD",      "txtBlackD",    "sbtProfApply", "rbtShResCoarse",
                                              "rbtShResMedium", "rbtShResFine", "sbtPrevB3",    "sbtNextB3"};
        QTest::newRow("NC file") << page::kNcFile
                                 << QStringList{"sbtNewNc",       "stxNcFileName", "lblPostName", "cboPostName",
                                                "stxPstCommento", "sbtPrevB4",     "sbtNextB4"}
                                 << QStringList{"sbtNewNc", "cboPostName", "sbtPrevB4", "sbtNextB4"};
        QTest::newRow("tool") << page::kTool
                              << QStringList{"sbtSelecTool",   "sbtEditTool",     "nol_lblUtName", "nol_lblToolN",
                                             "nol_lblSpeed",   "nol_lblFeedrate", "nol_lblPlunge", "nol_lblToolDia",
                                             "nol_lblVariaUt", "nol_lblFlat",     "imgTool",       "sbtPrevB5",
                                             "sbtNextB5"}
                              << QStringList{"sbtSelecTool", "sbtEditTool", "sbtPrevB5", "sbtNextB5"};
        QTest::newRow("cutting") << page::kCutting
                                 << QStringList{"lblIncXY",       "txtIncXY",     "lblFeedPlane", "txtFeedPlane",
                                                "lblFilter",      "txtFilter",    "lblStock",     "txtStock",
                                                "chkOrizzontale", "chkVerticale", "lblPass_Z",    "sedPass_Z",
                                                "lblAspor_Z",     "txtAspor_Z",   "imgCutPar",    "lblCutParHelp",
                                                "grpZNC",         "chkCutColor",  "btnZNC",       "lblZNC",
                                                "txtFiltroZNC",   "sbtZNCRegen",  "sbtNcCalc",    "sbtPrevB6",
                                                "sbtNextB6"}
                                 << QStringList{"txtIncXY",   "txtFeedPlane",   "txtFilter",    "btnZNC",
                                                "txtStock",   "chkOrizzontale", "chkVerticale", "sedPass_Z",
                                                "txtAspor_Z", "chkCutColor",    "txtFiltroZNC", "sbtZNCRegen",
                                                "sbtNcCalc",  "sbtPrevB6",      "sbtNextB6"};
    }
    void eachStepLaysOutItsPageInItsOrder() {
        QFETCH(int, page);
        QFETCH(QStringList, reading);
        QFETCH(QStringList, tabs);
        const Rig rig(false);
        QWidget* widget = rig.h.ui().pages[static_cast<std::size_t>(page)];
        QStringList names;
        ReadingOrder(widget->layout(), names);
        QCOMPARE(names, reading);
        QCOMPARE(TabOrder(widget), tabs);
    }

    void everyControlOfTheWizardIsReachedAndWorks_data() {
        QTest::addColumn<int>("row");
        const std::vector<Row> rows = Rows();
        QStringList tags;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QString tag = QString("%1 (page %2)").arg(rows[i].names).arg(rows[i].page);
            // A control with rows of its own for several faults: each tag once.
            if (tags.contains(tag)) tag += QString(" #%1").arg(i);
            tags << tag;
            QTest::newRow(qPrintable(tag)) << int(i);
        }
    }
    void everyControlOfTheWizardIsReachedAndWorks() {
        QFETCH(int, row);
        const Row r = Rows()[static_cast<std::size_t>(row)];
        Rig rig;
        const QStringList names = QString(r.names).split(' ');
        for (const QString& name : names)
            QVERIFY2(Control(rig, name) || rig.w().findChild<QAction*>(name), qPrintable(name));
        rig.to(r.page);
        (r.act ? r.act : Click(r.names))(rig);
        if (QTest::currentTestFailed()) return;
        r.check(rig);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(rig.h.errors, QStringList());
    }

    // Every help drawing of the cutting values differs from every other.
    void theHelpDrawingsAreAllThereAndAllDifferent() {
        QList<QImage> seen;
        for (int resource = 101; resource <= 112; ++resource) {
            const QPixmap picture = CuttingHelpPicture(resource);
            QCOMPARE(picture.isNull(), resource == 110);  // 110 is asked for by no field
            QVERIFY2(picture.isNull() || !seen.contains(picture.toImage()), qPrintable(QString::number(resource)));
            seen << picture.toImage();
        }
    }

    // The picks of the wizard made with the mouse in the 2D view: the Z no-cut
    // level (a click, then a second pick given up with Esc), the crop
    // rectangle (two corners) and the origin (Select Pt., a click).
    void picksInTheViewReachTheWizard() {
        Rig rig;
        rig.to(page::kCutting);
        rig.click({rig.p().chkCutColor, rig.ui().btnZNC});
        QWidget& view = rig.w().View2D().Widget();
        const auto click = [&view](QPoint at) {
            QTest::mouseMove(&view, at);
            QTest::mouseClick(&view, Qt::LeftButton, {}, at);
        };
        click(view.rect().center());
        QTRY_VERIFY(rig.wizard().zncLevel().has_value());
        QCOMPARE(rig.w().State().ActiveCommand, kNoCommand);
        QVERIFY(rig.ui().btnZNC->text().startsWith(" Z: ") && rig.w().State().View3D);
        const float level = *rig.wizard().zncLevel();
        rig.click(rig.ui().btnZNC);
        QTest::mouseMove(&view, view.rect().center() + QPoint(5, 5));
        QTest::keyClick(&view, Qt::Key_Escape);
        QTRY_COMPARE(rig.w().State().ActiveCommand, kNoCommand);
        QVERIFY(rig.w().State().View3D);
        QCOMPARE(*rig.wizard().zncLevel(), level);

        rig.click({rig.p().sbtPrevB6, rig.p().sbtPrevB5, rig.p().sbtPrevB4, rig.p().sbtPrevB3, rig.p().sbtPrevB2,
                   rig.p().sbtModify});
        const QPoint first = view.rect().center() - QPoint(20, 20);
        click(first);
        click(view.rect().center() + QPoint(20, 20));
        QTRY_VERIFY(rig.p().sbtCutSel->isEnabled());

        rig.click({rig.p().sbtNextB0, rig.p().sbtNextB1, rig.p().sbtSetOrigin});
        const TPoint2D world =
            rig.w().View2D().Viewport().ScreenToWorld(TPoint2D{double(first.x()), double(first.y()), 1.0});
        QTest::mouseClick(&view, Qt::LeftButton, {}, first);
        QCOMPARE(rig.wiring().CurrentJob().info().X0, float(-world.X));
        QCOMPARE(rig.h.errors, QStringList());
    }

    // A computation the engine refuses leaves the program shown and its file
    // as they were, and says why.
    void aRefusedComputationKeepsTheProgramAndItsFile() {
        Rig rig;
        rig.to(page::kCutting);
        rig.click(rig.p().sbtNcCalc);
        const std::string before = ReadWholeFile(rig.file("a.nc"));
        ToolRecord broken = rig.wizard().tool();
        broken.feedRate = 0;
        rig.wizard().setTool(broken);
        rig.click(rig.p().sbtNcCalc);
        QCOMPARE(rig.h.errors.size(), 1);
        QCOMPARE(ReadWholeFile(rig.file("a.nc")), before);
        QCOMPARE(rig.w().NcPages().Controller().programText(), before);
        QVERIFY(!rig.p().sbtNextB6->isEnabled() && rig.p().sbtNcCalc->isEnabled());
    }

    // The 2D view shows the whole picture after the open.
    void theViewIsFittedToThePicture() {
        Rig rig(false);
        QVERIFY(rig.wiring().LoadPicture(WriteDome(rig.file("wide.bmp"), 600, 400)));
        const TRect2D seen = rig.w().View2D().Viewport().VisualRect();
        const ImageInfo& info = rig.wiring().CurrentJob().info();
        QVERIFY(seen.Left <= info.X0 && seen.Right >= info.X0 + info.SizeX);
        QVERIFY(seen.Bottom <= info.Y0 && seen.Top >= info.Y0 + info.SizeY);
        QVERIFY(seen.Right - seen.Left < 2.0 * info.SizeX || seen.Top - seen.Bottom < 2.0 * info.SizeY);
    }

    // The picture is placed on a grid of 10 mm; the spacing of the settings
    // comes back once it is placed, and is the one the settings file keeps
    // when the program ends while a picture is being placed.
    void thePictureIsPlacedOnItsOwnGridAndTheUsersSpacingComesBack() {
        Harness h;
        h.install.write("Calvoro.ini", "[Default]\r\nGridX=2.5\r\nGridY=2.5\r\n");
        h.start();
        const auto spacing = [&h] { return std::pair(h.viewport().GridDeltaX(), h.viewport().GridDeltaY()); };
        const auto step = [&h](QPushButton* button) {
            QTest::mouseClick(button, Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!h.window->Wizard().Working(), 60000);
        };
        const WizardPagesUi& p = h.window->Wizard().Pages();
        QCOMPARE(spacing(), std::pair(2.5, 2.5));
        QVERIFY(h.window->Wizard().LoadPicture(h.install.picture()));
        QCOMPARE(spacing(), std::pair(10.0, 10.0));
        step(p.sbtNextB1);
        QCOMPARE(spacing(), std::pair(10.0, 10.0));
        step(p.sbtNextB2);
        QCOMPARE(spacing(), std::pair(2.5, 2.5));
        step(p.sbtPrevB3);
        QCOMPARE(spacing(), std::pair(10.0, 10.0));
        QVERIFY(h.close(true));
        const std::string written = ReadWholeFile(h.install.ini());
        QVERIFY2(written.find("GridX=2.5") != std::string::npos, written.c_str());
        QCOMPARE(h.errors, QStringList());
    }

    // The depths of the settings are in force before the work box is set.
    void theWorkBoxIsAsDeepAsTheDepthsOfTheSettings() {
        Harness h;
        h.install.write("Calvoro.ini", "[Default]\r\nZBlack=-10\r\n");
        h.start();
        QVERIFY(h.window->Wizard().LoadPicture(h.install.picture()));
        QCOMPARE(h.view3d->boxSizeZ, 10.0f);
        QCOMPARE(h.window->windowTitle(), "Calvoro v0.1 - " + QString::fromStdString(h.install.picture().string()));
    }

    // A large picture is drawn coarsely, and its relief is built off the
    // window's thread while the progress bar and Cancel show; Cancel stops it.
    void aLargePictureOpensCoarseAndItsReliefBuildCanBeCancelled() {
        Rig rig(false);
        const fs::path large = WriteDome(rig.file("large.bmp"), 6000, 4000);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(rig.wiring().LoadPicture(large));
        qInfo("open of a 6000 x 4000 picture: %lld ms", static_cast<long long>(timer.elapsed()));
        QVERIFY(rig.p().rbtShResCoarse->isChecked());
        QVERIFY(!rig.wizard().relief());  // not built by the open
        QTest::mouseClick(rig.p().sbtNextB1, Qt::LeftButton);
        QTest::mouseClick(rig.p().sbtNextB2, Qt::LeftButton);
        QVERIFY(rig.wiring().Working() && rig.ui().ProgressBar1->isVisible());
        QVERIFY(rig.wiring().CancelButton()->isVisible() && !rig.ui().pnlCmd->isEnabled());
        QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        QTest::mouseClick(rig.wiring().CancelButton(), Qt::LeftButton);
        rig.h.errors.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.wiring().Working(), 60000);
        QVERIFY(!rig.wizard().relief() && rig.page() == page::kReference);
        QVERIFY(!rig.ui().ProgressBar1->isVisible() && rig.ui().pnlCmd->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(rig.h.errors.size(), 1);  // the reason is shown
    }
};

QTEST_MAIN(WindowWizardTest)
#include "WindowWizardTest.moc"
