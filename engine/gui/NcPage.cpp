#include "engine/gui/NcPage.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace calvoro {

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* button = Named(new QToolButton(parent), name);
    button->setText(text);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

}  // namespace

NcPage::NcPage(QWidget* parent) : QWidget(parent) {
    setObjectName("NcPage");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);

    nol_lblNomeNcFile1 = Named(new QLabel(this), "nol_lblNomeNcFile1");
    // The page sets the width and the name is shortened to it, never the other way round.
    nol_lblNomeNcFile1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(nol_lblNomeNcFile1);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    editors = Named(new QStackedWidget(this), "pnlIsoEditors");
    ricIso = Named(new QPlainTextEdit(editors), "ricIso");
    ricIso->setLineWrapMode(QPlainTextEdit::NoWrap);
    ricIso->setFont(fixed);
    lstIsoView = Named(new QListView(editors), "lstIsoView");
    lstIsoView->setUniformItemSizes(true);  // millions of rows without measuring each
    lstIsoView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstIsoView->setFont(fixed);
    editors->addWidget(ricIso);
    editors->addWidget(lstIsoView);
    layout->addWidget(editors, 1);
    lblReadOnly = Named(new QLabel("This program is too long to edit here; it can be simulated, searched and saved.", this),
                        "lblReadOnly");
    lblReadOnly->setWordWrap(true);
    lblReadOnly->hide();
    layout->addWidget(lblReadOnly);

    FindDialog1 = Named(new QWidget(this), "FindDialog1");
    auto* find = new QHBoxLayout(FindDialog1);
    find->setContentsMargins(0, 0, 0, 0);
    txtIsoFind = Named(new QLineEdit(FindDialog1), "txtIsoFind");
    btnIsoFindNext = Button(FindDialog1, "btnIsoFindNext", "Find next", "Find the next place");
    btnIsoFindClose = Button(FindDialog1, "btnIsoFindClose", "x", "Close the find bar");
    find->addWidget(txtIsoFind, 1);
    find->addWidget(btnIsoFindNext);
    find->addWidget(btnIsoFindClose);
    FindDialog1->hide();
    layout->addWidget(FindDialog1);

    auto* status = new QHBoxLayout;
    nol_IsoStatus1 = Named(new QLabel(this), "nol_IsoStatus1");
    nol_IsoStatus2 = Named(new QLabel(this), "nol_IsoStatus2");
    status->addWidget(nol_IsoStatus1, 1);
    status->addWidget(nol_IsoStatus2);
    layout->addLayout(status);

    TrackBar1 = Named(new QSlider(Qt::Horizontal, this), "TrackBar1");
    TrackBar1->setRange(1, 10);
    TrackBar1->setValue(10);
    TrackBar1->setPageStep(1);
    TrackBar1->setToolTip("Slow/Fast");
    layout->addWidget(TrackBar1);

    auto* buttons = new QGridLayout;
    sbtIsoRev = Button(this, "sbtIsoRev", "|<", "Rewind");
    sbtIsoPlay = Button(this, "sbtIsoPlay", ">", "Simulate");
    sbtIsoStop = Button(this, "sbtIsoStop", "[]", "Stop");
    sbtIsoStep = Button(this, "sbtIsoStep", ">|", "Step");
    sbtIsoEnd = Button(this, "sbtIsoEnd", ">>|", "End");
    sbtIsoSave = Button(this, "sbtIsoSave", "Save", "Save nc file");
    sbtIsoFind = Button(this, "sbtIsoFind", "Find", "Find");
    sbtIsoExit = Button(this, "sbtIsoExit", "Close", "Close nc section");
    const QList<QToolButton*> order{sbtIsoRev, sbtIsoPlay, sbtIsoStop, sbtIsoStep,
                                    sbtIsoEnd, sbtIsoSave, sbtIsoFind, sbtIsoExit};
    for (int i = 0; i < order.size(); ++i) buttons->addWidget(order[i], i / 4, i % 4);
    layout->addLayout(buttons);

    auto* limits = new QGridLayout;
    stxLimXmin = Named(new QLabel(this), "stxLimXmin");
    stxLimXmax = Named(new QLabel(this), "stxLimXmax");
    stxLimYmin = Named(new QLabel(this), "stxLimYmin");
    stxLimYmax = Named(new QLabel(this), "stxLimYmax");
    limits->addWidget(Named(new QLabel("X", this), "lblIsoLimX"), 0, 0);
    limits->addWidget(stxLimXmin, 0, 1);
    limits->addWidget(stxLimXmax, 0, 2);
    limits->addWidget(Named(new QLabel("Y", this), "lblIsoLimY"), 1, 0);
    limits->addWidget(stxLimYmin, 1, 1);
    limits->addWidget(stxLimYmax, 1, 2);
    layout->addLayout(limits);
}

void NcPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // The page or its window was closed or another page chosen; a minimised
    // window hides its page too, but the user has not left it.
    if (!event->spontaneous()) emit hidden();
}

}  // namespace calvoro
