#include "engine/gui/NcPageController.h"

#include <QAbstractListModel>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QTextDocument>
#include <QToolButton>
#include <algorithm>
#include <charconv>
#include <filesystem>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcSimulationViews.h"
#include "engine/nc/NcFileChoice.h"
#include "engine/nc/NcProgram.h"
#include "engine/nc/NcText.h"
#include "engine/post/NumberFormat.h"
#include "kernel/platform/LanguageText.h"
#include "kernel/platform/NumberReading.h"

namespace calvoro {

namespace {

// At the fastest speed a tick reads lines in slices until this much time has
// gone, then lets the window paint and take input.
constexpr qint64 kFastTickMs = 15;
constexpr int kFastSlice = 512;

QString Lang(std::string_view number) {
    return QString::fromStdString(LangString(number));
}

QString Shown(std::string_view bytes, TextEncoding encoding) {
    return QString::fromStdString(NcTextToShow(bytes, encoding));
}

// The rows of a program too long for the editor.
class NcLinesModel : public QAbstractListModel {
public:
    NcLinesModel(const NcLines& lines, TextEncoding encoding, QObject* parent)
        : QAbstractListModel(parent), lines_(lines), encoding_(encoding) {}
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(lines_.size()); }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return Shown(lines_.line(std::size_t(index.row())), encoding_);
    }

private:
    const NcLines& lines_;
    TextEncoding encoding_;
};

// Reports one kind of event of a widget after the widget has handled it (a
// click once the caret has moved to it, a resize once the size is known).
class EventWatch : public QObject {
public:
    EventWatch(QObject* parent, QEvent::Type type, std::function<void()> seen)
        : QObject(parent), type_(type), seen_(std::move(seen)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == type_) seen_();
        return QObject::eventFilter(watched, event);
    }

private:
    QEvent::Type type_;
    std::function<void()> seen_;
};

}  // namespace

NcPageController::NcPageController(NcPage* page, NcSimulationViews& views, NcPageDialogs& dialogs,
                                   NcFileSource ncFile)
    : QObject(page),
      page_(page),
      views_(views),
      dialogs_(dialogs),
      stepper_(std::make_unique<NcStepper>(post_)),
      ncFile_(std::move(ncFile)) {
    connect(&timer_, &QTimer::timeout, this, &NcPageController::tick);
    connect(page->sbtIsoStep, &QToolButton::clicked, this, &NcPageController::step);
    connect(page->sbtIsoPlay, &QToolButton::clicked, this, &NcPageController::play);
    connect(page->sbtIsoStop, &QToolButton::clicked, this, &NcPageController::stop);
    connect(page->sbtIsoRev, &QToolButton::clicked, this, &NcPageController::rewind);
    connect(page->sbtIsoEnd, &QToolButton::clicked, this, &NcPageController::end);
    connect(page->sbtIsoSave, &QToolButton::clicked, this, &NcPageController::save);
    connect(page->sbtIsoFind, &QToolButton::clicked, this, &NcPageController::showFind);
    connect(page->btnIsoFindNext, &QToolButton::clicked, this, &NcPageController::findNext);
    connect(page->txtIsoFind, &QLineEdit::returnPressed, this, &NcPageController::findNext);
    connect(page->btnIsoFindClose, &QToolButton::clicked, page->FindDialog1, &QWidget::hide);
    connect(page->sbtIsoExit, &QToolButton::clicked, this, &NcPageController::closePage);
    connect(page->TrackBar1, &QSlider::valueChanged, this, &NcPageController::speedChanged);
    connect(page->ricIso, &QPlainTextEdit::textChanged, this, [this] {
        showStatus(caretLine());
        page_->sbtIsoSave->setEnabled(true);
    });
    connect(page->ricIso, &QPlainTextEdit::cursorPositionChanged, this, [this] { showStatus(caretLine()); });
    // A click chooses the line after it as the next one Step reads.
    page->ricIso->viewport()->installEventFilter(new EventWatch(this, QEvent::MouseButtonRelease, [this] {
        stepper_->setLineIndex(caretLine() + 1);
        showStatus(caretLine() + 1);
    }));
    // The file name is shortened to the label's width, whatever it becomes.
    page->nol_lblNomeNcFile1->installEventFilter(
        new EventWatch(this, QEvent::Resize, [this] { showNcFileName(); }));
    connect(page->lstIsoView, &QListView::clicked, this, [this](const QModelIndex& index) {
        stepper_->setLineIndex(index.row() + 1);
        showStatus(index.row() + 1);
    });
    // Leaving the page or closing the window ends Play at once.
    connect(page, &NcPage::hidden, this, [this] {
        if (running_) finishPlay(false);
    });
}

NcPageController::~NcPageController() {
    timer_.stop();
}

void NcPageController::setProgram(std::string text) {
    programEncoding_ = post_.encoding;
    if (running_) finishPlay(false);
    // The moves drawn belong to the program that goes, and so does the point
    // where it ended: the new one is read from its start.
    views_.clearOverlay();
    views_.overlayChanged();
    stepper_->forgetStart();
    stepper_->setLineIndex(0);
    pathHoldsSimulation_ = false;
    bufferedBlock_ = QTextBlock();
    const auto lineEnds = std::count(text.begin(), text.end(), '\n');
    if (lineEnds > kEditableLines) {
        page_->lstIsoView->setModel(nullptr);
        delete large_;
        largeLines_ = std::make_unique<NcLines>(std::move(text));
        large_ = new NcLinesModel(*largeLines_, programEncoding_, this);
        page_->lstIsoView->setModel(large_);
        page_->ricIso->clear();
        page_->editors->setCurrentWidget(page_->lstIsoView);
        page_->lblReadOnly->show();
    } else {
        if (large_) {
            page_->lstIsoView->setModel(nullptr);
            delete large_;
            large_ = nullptr;
            largeLines_.reset();
        }
        // The last line end closes the last line; it opens no empty line.
        if (text.ends_with('\n')) text.pop_back();
        if (text.ends_with('\r')) text.pop_back();
        QString shown = Shown(text, programEncoding_);
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        page_->ricIso->setPlainText(shown);
        page_->editors->setCurrentWidget(page_->ricIso);
        page_->lblReadOnly->hide();
    }
    showStatus(0);
}

std::string NcPageController::programText() const {
    if (largeLines_) return largeLines_->joined();
    const QTextDocument* document = page_->ricIso->document();
    if (document->isEmpty()) return {};
    std::string out;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        out += block.text().toStdString();
        out += "\r\n";
    }
    return EncodeEditedNcText(out, programEncoding_);
}

int NcPageController::lineCount() const {
    return largeLines_ ? int(largeLines_->size()) : page_->ricIso->document()->blockCount();
}

void NcPageController::setPost(const PostSettings& post) {
    if (running_) finishPlay(false);
    // The start point and the next line belong to the page, not the definition.
    const SimPoint start = stepper_->start();
    const bool startKnown = stepper_->startKnown();
    const int line = stepper_->lineIndex();
    post_ = post;
    stepper_ = std::make_unique<NcStepper>(post_);
    stepper_->setStart(start);
    if (!startKnown) stepper_->forgetStart();
    stepper_->setLineIndex(line);
    page_->nol_IsoStatus2->setText(QString::fromStdString(post_.postName));
}

void NcPageController::showNcFileName() {
    const QString fileName = QString::fromStdString(ncFile_ ? ncFile_().string() : std::string());
    const QFontMetrics metrics = page_->nol_lblNomeNcFile1->fontMetrics();
    const std::string shortened = ShortenToWidth(fileName.toStdString(), page_->nol_lblNomeNcFile1->width(),
                                                 [&](std::string_view text) {
                                                     return metrics.horizontalAdvance(QString::fromUtf8(
                                                         text.data(), qsizetype(text.size())));
                                                 });
    page_->nol_lblNomeNcFile1->setText(QString::fromStdString(shortened));
    page_->nol_lblNomeNcFile1->setToolTip(fileName);
}

void NcPageController::enterPage() {
    showNcFileName();
    page_->nol_IsoStatus2->setText(QString::fromStdString(post_.postName));
    stepper_->resetRun(feedPlaneText_.toStdString());
    showExtents();
    simulationButtons(true);
}

void NcPageController::simulationButtons(bool enabled) {
    const bool on = enabled && post_.simulate;
    for (QToolButton* button : {page_->sbtIsoRev, page_->sbtIsoPlay, page_->sbtIsoEnd, page_->sbtIsoStep})
        button->setEnabled(on);
}

bool NcPageController::playing() const {
    return running_;
}

std::string_view NcPageController::lineAt(int index) {
    if (largeLines_) {
        // The reader, like the definition it knows, speaks UTF-8.
        const std::string_view bytes = largeLines_->line(std::size_t(index));
        if (programEncoding_ == TextEncoding::Utf8) return bytes;
        lineBuffer_ = NcTextToShow(bytes, programEncoding_);
        return lineBuffer_;
    }
    // Play reads the lines in order: the next block is found from the last one.
    if (bufferedBlock_.isValid() && bufferedBlock_.blockNumber() + 1 == index &&
        bufferedBlock_.document() == page_->ricIso->document())
        bufferedBlock_ = bufferedBlock_.next();
    else
        bufferedBlock_ = page_->ricIso->document()->findBlockByNumber(index);
    lineBuffer_ = bufferedBlock_.text().toStdString();
    return lineBuffer_;
}

int NcPageController::caretLine() const {
    if (largeLines_) {
        const QModelIndex current = page_->lstIsoView->currentIndex();
        return current.isValid() ? current.row() : 0;
    }
    return page_->ricIso->textCursor().blockNumber();
}

void NcPageController::selectLine(int index, bool whole) {
    index = std::clamp(index, 0, std::max(0, lineCount() - 1));
    if (large_) {
        const QModelIndex row = large_->index(index, 0);
        page_->lstIsoView->setCurrentIndex(row);
        page_->lstIsoView->scrollTo(row);
        showStatus(index);
        return;
    }
    QTextCursor cursor(page_->ricIso->document()->findBlockByNumber(index));
    // Selected from its end back to its start, so that the caret, which the
    // editor scrolls to, stands where the line's block number can be read.
    if (whole) {
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    }
    page_->ricIso->setTextCursor(cursor);
    page_->ricIso->ensureCursorVisible();
}

void NcPageController::showStatus(int line) {
    page_->nol_IsoStatus1->setText(Lang("717") + QString::number(line + 1) + "/" + QString::number(lineCount()));
}

QString NcPageController::number(float value) const {
    return QString::fromStdString(FormatFixed(value, NumberFormat{NumberFormat::Kind::Fixed, 0, inches_ ? 4 : 3}));
}

void NcPageController::showExtents() {
    const SimExtents& extents = stepper_->extents();
    page_->stxLimXmin->setText(extents.empty ? QString() : number(extents.minX));
    page_->stxLimXmax->setText(extents.empty ? QString() : number(extents.maxX));
    page_->stxLimYmin->setText(extents.empty ? QString() : number(extents.minY));
    page_->stxLimYmax->setText(extents.empty ? QString() : number(extents.maxY));
}

void NcPageController::draw(const SimMove& move, bool in3D) {
    if (in3D) {
        const std::vector<SimNode> nodes = PathNodesOf(move);
        pendingNodes_.insert(pendingNodes_.end(), nodes.begin(), nodes.end());
    }
    cutter_ = SimNode{move.end.x, move.end.y, move.z};
    movedCutter_ = true;
    // The drawing keeps every move read, whichever view shows the run, so
    // that going back to the 2D view shows how far the program has come.
    const std::uint32_t colour = OverlayColour(move.kind);
    if (move.arc) {
        const SimArc& arc = *move.arc;
        const SimPoint centre{float(arc.centreX), float(arc.centreY)};
        // A clockwise move is the counter-clockwise arc from its end to its start.
        if (move.kind == 2)
            views_.addOverlayArc(centre, arc.radius, arc.endAngle, arc.startAngle, colour);
        else
            views_.addOverlayArc(centre, arc.radius, arc.startAngle, arc.endAngle, colour);
    } else {
        if (move.kind >= 81 && move.kind <= 86) views_.addOverlayPoint(move.end, colour);
        views_.addOverlayLine(move.start, move.end, colour);
    }
    pendingOverlay_ = true;
}

void NcPageController::flushDrawing() {
    if (!pendingNodes_.empty()) {
        // The computed program's path and the simulated moves are one line in
        // 3D: joined, the simulation would start with a line that no move
        // makes, and retrace a path already drawn. It draws its own.
        if (!pathHoldsSimulation_) views_.clearPath();
        pathHoldsSimulation_ = true;
        views_.appendPath(pendingNodes_);
    }
    pendingNodes_.clear();
    if (movedCutter_) views_.moveCutter(cutter_.x, cutter_.y, cutter_.z);
    movedCutter_ = false;
    if (pendingOverlay_) views_.overlayChanged();
    pendingOverlay_ = false;
}

void NcPageController::fail(const std::exception& error) {
    flushDrawing();
    if (running_) finishPlay(false);
    showExtents();
    dialogs_.showError(page_, QString::fromStdString(error.what()));
}

void NcPageController::step() {
    if (running_ || lineCount() == 0) return;
    views_.show3D();
    (large_ ? static_cast<QWidget*>(page_->lstIsoView) : page_->ricIso)->setFocus();
    const int line = stepper_->lineIndex();
    if (line >= lineCount()) return;
    selectLine(line);
    try {
        if (const std::optional<SimMove> move = stepper_->step(lineAt(line))) draw(*move, true);
        flushDrawing();
    } catch (const std::exception& error) {
        fail(error);
        return;
    }
    showExtents();
}

void NcPageController::play() {
    if (running_ || lineCount() == 0) return;
    if (post_.dialect != PostDialect::Iso && post_.dialect != PostDialect::Csh) dialogs_.inform(page_, Lang("782"));
    running_ = true;
    simulationButtons(false);
    emit simulationRunning(true);
    // Play goes on where Step or an earlier Play stopped while the caret
    // stays on the line read last; from any other line the first coordinate
    // only sets the start point.
    const int caret = caretLine();
    if (caret == stepper_->lastLineRead())
        stepper_->continuePlay();
    else
        stepper_->startPlay(caret);
    lastRead_ = stepper_->lineIndex();
    (large_ ? static_cast<QWidget*>(page_->lstIsoView) : page_->ricIso)->setFocus();
    timer_.start(0);
}

void NcPageController::tick() {
    if (!stepper_->playing()) {
        finishPlay(stepper_->finished());
        return;
    }
    const int speed = page_->TrackBar1->value();
    const bool in3D = views_.is3DShown();
    const int count = lineCount();
    const auto lines = [this](int index) { return lineAt(index); };
    const auto drawMove = [this, in3D](const SimMove& move) { draw(move, in3D); };
    try {
        if (speed < 10) {
            stepper_->tick(count, lines, 1, drawMove);
        } else {
            QElapsedTimer clock;
            clock.start();
            while (stepper_->playing() && clock.elapsed() < kFastTickMs)
                stepper_->tick(count, lines, kFastSlice, drawMove);
        }
    } catch (const std::exception& error) {
        lastRead_ = stepper_->lineIndex() - 1;
        selectLine(lastRead_);
        fail(error);
        return;
    }
    flushDrawing();
    lastRead_ = std::max(0, stepper_->lineIndex() - 1);
    selectLine(lastRead_);
    showExtents();
    if (!stepper_->playing())
        finishPlay(stepper_->finished());
    else
        timer_.setInterval(SimulationDelayMs(speed));
}

void NcPageController::finishPlay(bool ranToEnd) {
    timer_.stop();
    stepper_->stop();
    if (!running_) return;
    running_ = false;
    if (ranToEnd) selectLine(lastRead_);
    simulationButtons(true);
    emit simulationRunning(false);
}

void NcPageController::stop() {
    stepper_->stop();  // the next tick ends Play
}

void NcPageController::speedChanged() {
    if (running_) timer_.setInterval(SimulationDelayMs(page_->TrackBar1->value()));
    (large_ ? static_cast<QWidget*>(page_->lstIsoView) : page_->ricIso)->setFocus();
}

void NcPageController::rewind() {
    if (running_) return;
    views_.clearPath();
    // A feed plane that is no number parks the cutter at 0, never at a
    // prefix of the text.
    views_.parkCutter(ReadSingleNumber(feedPlaneText_.toStdString()).value_or(0.0f));
    views_.clearOverlay();
    views_.overlayChanged();
    if (large_) {
        page_->lstIsoView->setFocus();
        page_->lstIsoView->setCurrentIndex(large_->index(0, 0));
        page_->lstIsoView->scrollToTop();
    } else {
        page_->ricIso->setFocus();
        page_->ricIso->moveCursor(QTextCursor::Start);
        page_->ricIso->verticalScrollBar()->setValue(0);
    }
    stepper_->setLineIndex(0);
}

void NcPageController::end() {
    if (running_) return;
    if (large_) {
        page_->lstIsoView->setFocus();
        const QModelIndex last = large_->index(std::max(0, lineCount() - 1), 0);
        page_->lstIsoView->setCurrentIndex(last);
        page_->lstIsoView->scrollToBottom();
    } else {
        page_->ricIso->setFocus();
        page_->ricIso->moveCursor(QTextCursor::End);
        page_->ricIso->ensureCursorVisible();
    }
    stepper_->setLineIndex(std::max(0, lineCount() - 1));
}

void NcPageController::save() {
    const QString extension = QString::fromStdString(post_.fileExtension.empty() ? "NC" : post_.fileExtension);
    QString proposed;
    const std::filesystem::path ncFile = ncFile_ ? ncFile_() : std::filesystem::path();
    if (!ncFile.empty()) {
        const QFileInfo info(QString::fromStdString(ncFile.string()));
        proposed = info.path() + "/" + info.completeBaseName();
    }
    const QString filter = QString::fromStdString(NcFileFilter(LangString("701"), extension.toStdString()));
    QString chosen = dialogs_.saveFileName(page_, proposed, filter, extension);
    if (chosen.isEmpty()) return;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += "." + extension;
    try {
        SaveNcProgram(std::filesystem::path(chosen.toStdString()), programText());
    } catch (const std::exception& error) {
        dialogs_.showError(page_, QString::fromStdString(error.what()));
        return;
    }
    // What was saved is the NC file from now on: the host takes it, and the
    // label shows what the host holds.
    emit ncFileSaved(chosen);
    showNcFileName();
}

void NcPageController::showFind() {
    page_->FindDialog1->show();
    page_->txtIsoFind->setFocus();
    page_->txtIsoFind->selectAll();
}

void NcPageController::findNext() {
    const QString text = page_->txtIsoFind->text();
    if (text.isEmpty()) return;
    if (largeLines_) {
        const QModelIndex current = page_->lstIsoView->currentIndex();
        const std::int64_t hit =
            largeLines_->find(NcSearchBytes(text.toStdString(), programEncoding_),
                              current.isValid() ? std::size_t(current.row() + 1) : 0);
        selectLine(hit >= 0 ? int(hit) : lineCount() - 1);
        return;
    }
    const QTextCursor cursor = page_->ricIso->textCursor();
    const int from = cursor.hasSelection() ? cursor.selectionEnd() : 0;
    const QTextCursor hit = page_->ricIso->document()->find(text, from, QTextDocument::FindCaseSensitively);
    if (hit.isNull()) {
        page_->ricIso->moveCursor(QTextCursor::End);
    } else {
        page_->ricIso->setTextCursor(hit);
    }
    page_->ricIso->ensureCursorVisible();
}

void NcPageController::closePage() {
    if (running_) finishPlay(false);
    views_.clearPath();
    views_.clearOverlay();
    views_.overlayChanged();
    page_->FindDialog1->hide();
    emit closeRequested();
}

}  // namespace calvoro
