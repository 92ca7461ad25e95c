#include "shell/gui/steps/ReferenceStepPage.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "kernel/gui/ViewportWidget.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/Pages.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

ReferenceStepPage::ReferenceStepPage(StepHost& host) : StepPage(host, page::kReference) {}

void ReferenceStepPage::Build() {
    MainWindowUi& ui = host_.Ui();
    WizardPagesUi& p = host_.Widgets();
    QWidget* page = Page();
    auto* form = new QFormLayout(page);
    ui.txtOriginX = Edit(form, page, "txtOriginX", "lblOriginX", "Origin X:", NumericKeys::SignedOrEnter);
    ui.txtOriginY = Edit(form, page, "txtOriginY", "lblOriginY", "Origin Y:", NumericKeys::SignedOrEnter);
    auto* group = Named(new QGroupBox("Origin", page), "grpOrigine");
    auto* corners = new QVBoxLayout(group);
    static const char* const kNames[5] = {"rbtOrigine0", "rbtOrigine1", "rbtOrigine2", "rbtOrigine3", "rbtOrigine4"};
    static const char* const kTexts[5] = {"Centre", "Lower left", "Upper left", "Upper right", "Lower right"};
    auto* exclusive = new QButtonGroup(group);
    for (int corner : {1, 2, 3, 4, 0}) {
        p.rbtOrigine[corner] = Named(new QRadioButton(QString::fromLatin1(kTexts[corner]), group), kNames[corner]);
        exclusive->addButton(p.rbtOrigine[corner], corner);
        corners->addWidget(p.rbtOrigine[corner]);
    }
    // The corners above the typed origin.
    form->insertRow(0, group);
    p.sbtSetOrigin = Button(page, "sbtSetOrigin", "Select Pt.");
    p.sbtOrigineApply = Button(page, "sbtOrigineApply", "Apply");
    form->addRow(p.sbtSetOrigin, p.sbtOrigineApply);
    p.sbtPrevB2 = Button(page, "sbtPrevB2", "Prev");
    p.sbtNextB2 = Button(page, "sbtNextB2", "Next");
    PrevNext(form, p.sbtPrevB2, p.sbtNextB2);
}

void ReferenceStepPage::Connect() {
    const MainWindowUi& ui = host_.Ui();
    const WizardPagesUi& p = host_.Widgets();
    OnClick(p.sbtPrevB2, &WizardController::prevFromReference);
    OnClick(p.sbtNextB2, &WizardController::nextFromReference);
    for (int corner = 0; corner < 5; ++corner) {
        const int tag = corner == 0 ? 5 : corner;
        connect(p.rbtOrigine[corner], &QRadioButton::clicked, this,
                [this, tag] { host_.Forward([tag](WizardController& w) { w.cornerClicked(tag); }); });
    }
    for (QLineEdit* edit : {ui.txtOriginX, ui.txtOriginY}) {
        connect(edit, &QLineEdit::textEdited, this,
                [this] { host_.Forward([](WizardController& w) { w.originEdited(); }); });
        connect(edit, &QLineEdit::returnPressed, this, [this] { emit host_.Widgets().sbtOrigineApply->clicked(); });
    }
    connect(p.sbtSetOrigin, &QPushButton::clicked, this, [this] { pickingOrigin_ = host_.Wizard() != nullptr; });
    connect(p.sbtOrigineApply, &QPushButton::clicked, this, [this] {
        const MainWindowUi& ui = host_.Ui();
        const std::string x = ui.txtOriginX->text().toStdString(), y = ui.txtOriginY->text().toStdString();
        host_.Forward([&](WizardController& w) { w.applyTypedOrigin(x, y); });
    });
    host_.View2D().Widget().installEventFilter(this);
}

void ReferenceStepPage::OriginPicked(double x, double y) {
    if (!pickingOrigin_) return;
    pickingOrigin_ = false;
    host_.Forward([&](WizardController& wizard) { wizard.originPicked(x, y); });
}

bool ReferenceStepPage::eventFilter(QObject* watched, QEvent* event) {
    if (!host_.Wizard() || !pickingOrigin_ || watched != &host_.View2D().Widget()) return false;
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const QPointF at = mouse->position();
        const TPoint2D world = host_.View2D().Viewport().ScreenToWorld(TPoint2D{at.x(), at.y(), 1.0});
        OriginPicked(world.X / world.W, world.Y / world.W);
    }
    return true;
}

}  // namespace calvoro
