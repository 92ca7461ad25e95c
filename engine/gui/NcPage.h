// The NC page: the program editor, the simulation buttons and speed, the find
// bar, and the labels for the file name, the caret line, the post-processor and
// the extents of the simulated moves. It only holds its controls, under the
// names the language file uses; NcPageController does the work.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QSlider;
class QStackedWidget;
class QToolButton;

namespace calvoro {

class NcPage : public QWidget {
    Q_OBJECT
public:
    explicit NcPage(QWidget* parent = nullptr);

    QStackedWidget* editors = nullptr;  // the editor, or the read-only view of a long program
    QPlainTextEdit* ricIso = nullptr;
    QListView* lstIsoView = nullptr;
    QSlider* TrackBar1 = nullptr;
    QToolButton *sbtIsoRev = nullptr, *sbtIsoEnd = nullptr, *sbtIsoPlay = nullptr, *sbtIsoStop = nullptr;
    QToolButton *sbtIsoStep = nullptr, *sbtIsoSave = nullptr, *sbtIsoFind = nullptr, *sbtIsoExit = nullptr;
    QWidget* FindDialog1 = nullptr;  // the find bar
    QLineEdit* txtIsoFind = nullptr;
    QToolButton *btnIsoFindNext = nullptr, *btnIsoFindClose = nullptr;
    QLabel *nol_lblNomeNcFile1 = nullptr, *nol_IsoStatus1 = nullptr, *nol_IsoStatus2 = nullptr;
    QLabel *stxLimXmin = nullptr, *stxLimXmax = nullptr, *stxLimYmin = nullptr, *stxLimYmax = nullptr;
    QLabel* lblReadOnly = nullptr;  // says why a long program cannot be edited

signals:
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;
};

}  // namespace calvoro
