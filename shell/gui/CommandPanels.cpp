// The CAD command panels.
#include "shell/gui/CommandPanels.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>
#include <utility>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/EditStates.h"
#include "kernel/editing/ExplodeAndCopy.h"
#include "kernel/editing/PickCommands.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/platform/NumberReading.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/PlacingTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/MainState.h"
#include "shell/app/ShellText.h"
#include "shell/gui/Application.h"
#include "shell/gui/CommandGlyphs.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/NumericKeyFilter.h"
#include "shell/gui/PageTabStyle.h"
#include "shell/gui/RealSpinBox.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/ViewHandlers.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

// The pick aperture of every command, in pixels.
constexpr int kAperture = 5;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CommandPanels::CommandPanels(MainWindowUi& ui, MainState& state, TQVCmp2D& cad, View2DHost& view, MainLifeCycle& life,
                             SettingsController& settings, ViewHandlers& readouts)
    : QObject(ui.form),
      ui_(ui),
      state_(state),
      cad_(cad),
      view_(view),
      life_(life),
      settings_(settings),
      readouts_(readouts) {
    closeDistance_ = BuildCommandPages(ui_, pages_);
    // Each command is one action, in its menu with its glyph; a linked button
    // shows the action of the last command chosen in its group.
    for (const CommandRow& row : CommandRows()) ActionOf(row)->setIcon(CommandGlyph(row.Glyph));
    for (int g = 0; g < kLinkedGroupCount; ++g) {
        const CommandRow& row = linked_.Current(static_cast<LinkedGroup>(g));
        QToolButton* button = ui_.linkedButtons[static_cast<std::size_t>(g)];
        button->setDefaultAction(ActionOf(row));
        button->setProperty("glyph", row.Glyph);
    }
    ui_.sbmSnap->setIcon(SnapGlyph(false));
    auto* tabs = new PageTabStyle();
    tabs->setParent(ui_.tabPages);
    ui_.tabPages->setStyle(tabs);
    ui_.sbmSnap->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Connect();
}

QAction* CommandPanels::ActionOf(const CommandRow& row) const {
    return ui_.form->findChild<QAction*>(QString::fromLatin1(row.MenuName));
}

void CommandPanels::Connect() {
    // A click on a linked button triggers the action it shows: the menu's road.
    for (const CommandRow& row : CommandRows()) {
        const CadCommand command = row.Command;
        connect(ActionOf(row), &QAction::triggered, this, [this, command] { Choose(command); });
    }
    CommandPagesUi& p = pages_;
    // mnuDone is the view handlers' accept.
    connect(p.sbtPolyOk, &QPushButton::clicked, this, [this] { Post(kCommandAccept); });
    connect(p.sbtClosePoly, &QPushButton::clicked, this, [this] { Post(kCommandClosePolyline); });
    connect(p.sbtTranslateOk, &QPushButton::clicked, this, [this] { Post(kCommandAccept); });
    connect(p.sbtRotateOk, &QPushButton::clicked, this, [this] { Post(kCommandAccept); });
    connect(p.txtRotateAngle, &QLineEdit::returnPressed, this, [this] { Post(kCommandAccept); });
    connect(p.rbtTanTo1, &QRadioButton::clicked, this, [this](bool on) {
        if (on) ArcTangent(false);
    });
    connect(p.rbtTanTo2, &QRadioButton::clicked, this, [this](bool on) {
        if (on) ArcTangent(true);
    });
    connect(p.sbtDelSmall, &QPushButton::clicked, this, [this] { DeleteSmall(); });
    connect(ui_.sbmSnap, &QToolButton::clicked, this, [this] { SnapClicked(); });
    connect(ui_.form->findChild<QAction*>("mnuMeasure"), &QAction::triggered, this, [this] { MeasureDistance(); });
    connect(ui_.PageControl1, &QStackedWidget::currentChanged, closeDistance_, [this](int page) {
        if (page != page::kDistance) closeDistance_->hide();
    });
    connect(closeDistance_, &QToolButton::clicked, this, [this] {
        closeDistance_->hide();
        life_.CloseAside();
    });
    // A new language puts the buttons' own hints back; a button that carries
    // a chosen command shows that command's hint again, in the new language.
    connect(ui_.nol_cboLang, &QComboBox::textActivated, this, [this] {
        for (int g = 0; g < kLinkedGroupCount; ++g) {
            if (!chosen_[static_cast<std::size_t>(g)]) continue;
            const CommandRow& row = linked_.Current(static_cast<LinkedGroup>(g));
            ActionOf(row)->setToolTip(QString::fromStdString(CommandHint(row)));
        }
        pages_.lblScaleX->setText(Text(pages_.rbtScaleUniform->isChecked() ? LangString("310") : LangString("311")));
    });
    connect(ui_.sbmSnap, &QWidget::customContextMenuRequested, &settings_, &SettingsController::ShowGridDialog);
    // The layer, grid and snap pages come with a tab, like the settings page,
    // and leave a running command and the job's steps alone.
    // The tool bar's Layers button shows the menu's action.
    const std::pair<QAction*, int> pageCommands[] = {
        {ui_.mnuLayer, page::kLayer}, {ui_.mnuGridPage, page::kGridSet}, {ui_.mnuSnapPage, page::kSnap}};
    for (const auto& [action, page] : pageCommands)
        connect(action, &QAction::triggered, this, [this, page = page] { life_.ShowAside(page); });
    connect(ui_.sbtCloseGridPage, &QToolButton::clicked, this, [this] { life_.CloseAside(); });

    // Typing a new diameter or radius starts the running command again with
    // it; the caret stays where the user types.
    const auto rerun = [this](QLineEdit* edit, CadCommand command) {
        connect(edit, &QLineEdit::textEdited, this, [this, edit, command] {
            if (!NumeroOk(edit->text().toStdString())) return;
            const int caret = edit->cursorPosition();
            Run(command);
            edit->setFocus();
            edit->setCursorPosition(caret);
        });
    };
    rerun(p.txtDiamArco, CadCommand::CircleCtDia);
    rerun(p.txtRaccordo, CadCommand::Fillet);
    rerun(p.txtDiamArcoPolare, CadCommand::ArcPolar);
    rerun(p.txtLinePolLen, CadCommand::LinePolar);
    rerun(p.txtLinePolAngle, CadCommand::LinePolar);
    for (QDoubleSpinBox* angle : {p.rseArcoPolareSa, p.rseArcoPolareEa})
        connect(angle, &QDoubleSpinBox::valueChanged, this, [this] { Run(CadCommand::ArcPolar); });

    // The transform pages: copy flag, repeat count and the events of a change.
    for (QRadioButton* copy : {p.rbtTransCopy, p.rbtRotateCopy})
        connect(copy, &QRadioButton::toggled, this, [this](bool on) {
            if (on) copy_ = true;
        });
    for (QRadioButton* move : {p.rbtTransMove, p.rbtRotateMove})
        connect(move, &QRadioButton::toggled, this, [this](bool on) {
            if (on) copy_ = false;
        });
    for (QLineEdit* repeat : {p.txtTransRepeat, p.txtRotateRepeat, p.txtScaleRepeat})
        connect(repeat, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (const auto n = ReadWholeNumber(text.toStdString()); n && NumeroOk(text.toStdString())) repeat_ = *n;
        });
    const auto posting = [this](QLineEdit* edit, std::uint16_t event) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit, event](const QString& text) {
            if (edit->hasFocus() && NumeroOk(text.toStdString())) Post(event);
        });
    };
    posting(p.txtTransDx, kEventTranslate);
    posting(p.txtTransDy, kEventTranslate);
    posting(p.txtRotateAngle, kEventRotate);
    posting(p.txtScaleX, kEventScale);
    posting(p.txtScaleY, kEventScale);
    connect(p.txtScaleX, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (pages_.rbtScaleUniform->isChecked()) pages_.txtScaleY->setText(text);
    });
    connect(p.rbtScaleUniform, &QRadioButton::toggled, this, [this](bool uniform) {
        pages_.txtScaleY->setVisible(!uniform);
        pages_.lblScaleY->setVisible(!uniform);
        pages_.lblScaleX->setText(Text(uniform ? LangString("310") : LangString("311")));
    });
    connect(p.txtOffsetDist, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto d = ReadSingleNumber(text.toStdString()); d && NumeroOk(text.toStdString()))
            offset_ = static_cast<float>(*d);
    });
}

void CommandPanels::Choose(CadCommand command) {
    if (command == CadCommand::Delete) {
        state_.ActiveCommand.StartFromPanels(kCommandDelete);
        view_.SetObjectSnapActive(false);
    }
    const CommandRow& row = linked_.Choose(command);
    QToolButton* button = ui_.linkedButtons[static_cast<std::size_t>(row.Group)];
    QAction* action = ActionOf(row);
    action->setToolTip(QString::fromStdString(CommandHint(row)));
    button->setDefaultAction(action);
    button->setProperty("glyph", row.Glyph);
    chosen_[static_cast<std::size_t>(row.Group)] = true;
    Run(command);
    if (command == CadCommand::CircleCtDia) pages_.txtDiamArco->setFocus();
    if (command == CadCommand::ArcPolar) pages_.txtDiamArcoPolare->setFocus();
    if (command == CadCommand::ArcTangent && pages_.grpArcTan->isVisible()) pages_.txtArcTanRadius->setFocus();
}

void CommandPanels::ShowPageOf(const CommandRow& row) {
    life_.VisPagine({row.Page});
}

void CommandPanels::Run(CadCommand command) {
    const CommandRow& row = RowOf(command);
    using C = CadCommand;
    switch (command) {
        case C::Trim:
            life_.VisPagine({page::kHide});
            StartPick(kCommandTrim, TCAD2DSeleziona2Ogg::Class, TMyRaccordo::Class, true);
            return;
        case C::Break:
            life_.VisPagine({page::kHide});
            StartPick(kCommandBreak, TCAD2DSeleziona2Ogg::Class, TMyBreak::Class, true);
            return;
        case C::MoveNode: {
            life_.VisPagine({page::kHide});
            view_.Program().StopOperation();
            auto param = std::make_unique<TQVD2D_SelectObjectsParam>(kAperture, &TCAD2DEditSelectedPrimitive::Class);
            // Only an entity with control points of its own can have them moved.
            param->FilterClass = &TPrimitive2D::Class;
            StartPick(kCommandMoveNode, TQV2D_Select1Object::Class, std::move(param), false);
            return;
        }
        case C::LineTangent2Arc:
            life_.VisPagine({page::kHide});
            StartPick(kCommandLineTangent2Arc, TCAD2DSeleziona2Ogg::Class, TMyLineaTan2A::Class, true);
            return;
        case C::LinePerp:
            state_.ActiveCommand.StartFromPanels(kCommandLinePerp);
            RunGuarded([this] {
                auto param = std::make_unique<TQVD2D_SelectObjectsParam>(kAperture, &TMyLineaPer::Class);
                param->OnSelected = [this](TQVD2D_SelectObjectsParam&, TObject2D& o, bool, int) { OnSelectedObj(o); };
                view_.Program().StartOperation(TQV2D_Select1Object::Class, std::move(param));
            });
            return;
        case C::Delete:
            life_.VisPagine({page::kHide});
            StartPick(kCommandDelete, TQV2D_Select1Object::Class, TDeletePicked::Class, true);
            return;
        case C::Explode:
            ShowPageOf(row);
            StartPick(kNoCommand, TQV2D_Select1Object::Class, TExplodePicked::Class, true);
            return;
        case C::ChangeLayer:
            life_.VisPagine({page::kHide});
            StartPick(kNoCommand, TQV2D_Select1Object::Class, TChangeLayerPicked::Class, true);
            return;
        case C::ArcCtPtSaEa:
            life_.VisPagine({page::kHide});
            StartPlacing(TQV2D_DrawArc3::Class, std::make_unique<TCAD2DCommonParam>());
            return;
        case C::Copy:
            life_.VisPagine({page::kHide});
            StartPick(kNoCommand, TQV2D_Select1Object::Class, TCopyPicked::Class, true);
            return;
        case C::Fillet:
            ShowPageOf(row);
            Fillet();
            return;
        case C::Line: {
            life_.VisPagine({page::kHide});
            auto param = std::make_unique<TQV2D_DrawSizedPrimitiveParam>(
                nullptr, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0, 0)), 0, true);
            // The line's page shows from the first click on and follows the rubber line.
            param->OnRubber = [this, shown = false](const TPoint2D& a, const TPoint2D& b) mutable {
                if (!std::exchange(shown, true)) life_.VisPagine({page::kLineInfo});
                readouts_.InfoLinea(a, b);
            };
            StartPlacing(TQV2D_DrawSizedPrimitive::Class, std::move(param));
            return;
        }
        case C::Polyline: {
            ShowPageOf(row);
            const TPoint2D first = MakePoint2D(0, 0);
            StartPlacing(TQV2D_DrawPolyline::Class,
                         std::make_unique<TQV2D_DrawUnSizedPrimitiveParam>(
                             nullptr, std::make_unique<TPolyline2D>(-1, std::span(&first, 1)), 0, true));
            return;
        }
        case C::CircleCtPt:
            ShowPageOf(row);
            StartPlacing(
                TQV2D_DrawSizedPrimitive::Class,
                std::make_unique<TQV2D_DrawSizedPrimitiveParam>(
                    nullptr, std::make_unique<TCerchio2D>(-1, MakePoint2D(0, 0), MakePoint2D(0, 0)), 0, false));
            return;
        case C::CircleCtDia:
            ShowPageOf(row);
            CircleByDiameter();
            return;
        case C::ArcPolar:
            ShowPageOf(row);
            ArcByAngles();
            return;
        case C::LinePolar:
            ShowPageOf(row);
            LineByLengthAndAngle();
            return;
        default:
            // The others have a page at most; choosing one leaves a running
            // command alone.
            if (row.Page != page::kHide) ShowPageOf(row);
            return;
    }
}

void CommandPanels::StartPick(std::int32_t code, const StateClass& task,
                              std::unique_ptr<TQVD2D_SelectObjectsParam> param, bool highlight) {
    view_.SetObjectSnapActive(false);
    state_.ActiveCommand.StartFromPanels(code);
    if (highlight)
        param->OnSelected = [this](TQVD2D_SelectObjectsParam&, TObject2D& o, bool, int) { OnSelectedObj(o); };
    RunGuarded([&] { view_.Program().StartOperation(task, std::move(param)); });
    view_.Widget().setFocus();
}

void CommandPanels::StartPick(std::int32_t code, const StateClass& task, const StateClass& after, bool highlight) {
    StartPick(code, task, std::make_unique<TQVD2D_SelectObjectsParam>(kAperture, &after), highlight);
}

void CommandPanels::MeasureDistance() {
    view_.Program().StopOperation();
    life_.ShowAside(page::kDistance);
    closeDistance_->show();
    auto param = std::make_unique<TQV2D_DrawSizedPrimitiveParam>(
        nullptr, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0, 0)), 0, false);
    param->AddToDrawing = false;
    param->OnRubber = [this](const TPoint2D& a, const TPoint2D& b) { readouts_.InfoDistanza(a, b); };
    StartPlacing(TQV2D_DrawSizedPrimitive::Class, std::move(param));
}

void CommandPanels::StartPlacing(const StateClass& task, std::unique_ptr<TCADPrgParam> param) {
    state_.ActiveCommand.StartFromPanels(kNoCommand);
    RunGuarded([&] { view_.Program().StartOperation(task, std::move(param)); });
    view_.Widget().setFocus();
}

std::optional<double> CommandPanels::Positive(QLineEdit* edit) {
    const std::string text = edit->text().toStdString();
    const std::optional<double> value = NumeroOk(text) ? ReadNumber(text) : std::nullopt;
    if (!value || !(*value > 0.0)) {
        life_.Messaggio(Text(LangString("1124")));
        return std::nullopt;
    }
    return value;
}

void CommandPanels::CircleByDiameter() {
    const std::optional<double> diameter = Positive(pages_.txtDiamArco);
    if (!diameter) return;
    const double r = *diameter / 2.0;
    StartPlacing(TQV2D_PlaceShape::Class, std::make_unique<TPlaceShapeParam>([r](const TPoint2D& c) {
                     return std::make_unique<TCerchio2D>(-1, c, MakePoint2D(c.X + r, c.Y));
                 }));
}

void CommandPanels::ArcByAngles() {
    const std::optional<double> diameter = Positive(pages_.txtDiamArcoPolare);
    if (!diameter) return;
    const double r = *diameter / 2.0;
    const double start = pages_.rseArcoPolareSa->value() * std::numbers::pi / 180.0;
    const double end = pages_.rseArcoPolareEa->value() * std::numbers::pi / 180.0;
    StartPlacing(TQV2D_PlaceShape::Class, std::make_unique<TPlaceShapeParam>([r, start, end](const TPoint2D& c) {
                     return std::make_unique<TArco2D>(-1, c, MakePoint2D(c.X + r, c.Y), start, end);
                 }));
}

void CommandPanels::LineByLengthAndAngle() {
    const std::optional<double> length = Positive(pages_.txtLinePolLen);
    const std::string angleText = pages_.txtLinePolAngle->text().toStdString();
    const std::optional<double> angle = NumeroOk(angleText) ? ReadNumber(angleText) : std::nullopt;
    if (!length || !angle) return;
    const double a = *angle * std::numbers::pi / 180.0;
    const double dx = *length * std::cos(a), dy = *length * std::sin(a);
    StartPlacing(TQV2D_PlaceShape::Class, std::make_unique<TPlaceShapeParam>([dx, dy](const TPoint2D& p) {
                     return std::make_unique<TLine2D>(-1, p, MakePoint2D(p.X + dx, p.Y + dy));
                 }));
}

void CommandPanels::Fillet() {
    const std::optional<double> radius = Positive(pages_.txtRaccordo);
    if (!radius) return;
    StartPick(kNoCommand, TCAD2DSeleziona2Ogg::Class,
              std::make_unique<TEditPickParam>(kAperture, &TMyArcoTan2::Class, FilletParameters{*radius, true}), true);
}

void CommandPanels::ArcTangent(bool twoObjects) {
    pages_.grpArcTan->setVisible(twoObjects);
    if (!twoObjects) {
        StartPick(kNoCommand, TQV2D_Select1Object::Class, TMyArcoTan1::Class, true);
    } else {
        const std::optional<double> radius = Positive(pages_.txtArcTanRadius);
        if (!radius) return;
        StartPick(kNoCommand, TCAD2DSeleziona2Ogg::Class,
                  std::make_unique<TEditPickParam>(kAperture, &TMyArcoTan2::Class,
                                                   FilletParameters{*radius, pages_.chkArcTanTrim->isChecked()}),
                  true);
    }
}

void CommandPanels::OnSelectedObj(TObject2D& object) {
    view_.Viewport().DrawRubberObject2D(object, true);
}

void CommandPanels::Post(std::uint16_t event) {
    RunGuarded([this, event] { view_.Program().PostCommandEvent(event); });
}

int CommandPanels::DeleteSmall() {
    const std::string text = pages_.txtSmallX->text().toStdString();
    const std::optional<double> limit = NumeroOk(text) ? ReadNumber(text) : std::nullopt;
    if (!limit) {
        life_.Messaggio(Text(LangString("1124")));
        return 0;
    }
    int deleted = 0;
    RunGuarded([&] {
        deleted = DeleteSmallObjects(cad_, *limit);
        view_.Viewport().Repaint();
    });
    pages_.stxReportSmall->setText(QString::number(deleted) + " " + Text(LangString("411")));
    return deleted;
}

void CommandPanels::SnapClicked() {
    GridValues values = settings_.Grid();
    values.UseSnap = !view_.Program().UseSnap();
    settings_.SetGrid(values);
}

}  // namespace calvoro
