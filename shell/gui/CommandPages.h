// The parameter pages of the CAD commands: their controls, each under its own
// name, laid onto the pages of the work panel that carry them. The command
// panels give them life.
#pragma once

class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace calvoro {

struct MainWindowUi;

// The controls of the command pages, each under its own name, laid onto the
// pages of the work panel that carry them.
struct CommandPagesUi {
    QLineEdit* txtDiamArco = nullptr;  // circle by centre and diameter
    QLineEdit* txtDiamArcoPolare = nullptr;
    QDoubleSpinBox *rseArcoPolareSa = nullptr, *rseArcoPolareEa = nullptr;
    QPushButton *sbtClosePoly = nullptr, *sbtPolyOk = nullptr;
    QLineEdit* txtRaccordo = nullptr;  // fillet radius
    QRadioButton *rbtTanTo1 = nullptr, *rbtTanTo2 = nullptr;
    QGroupBox* grpArcTan = nullptr;
    QLineEdit* txtArcTanRadius = nullptr;
    QCheckBox* chkArcTanTrim = nullptr;
    QLineEdit* txtSmallX = nullptr;
    QPushButton* sbtDelSmall = nullptr;
    QLabel* stxReportSmall = nullptr;
    QLineEdit *txtLinePolLen = nullptr, *txtLinePolAngle = nullptr;
    QLineEdit *txtLenTanAng = nullptr, *txtLinTanAngle = nullptr;
    QLineEdit* txtPtGridDx = nullptr;
    QLineEdit *txtTransDx = nullptr, *txtTransDy = nullptr, *txtTransRepeat = nullptr;
    QRadioButton *rbtTransMove = nullptr, *rbtTransCopy = nullptr;
    QPushButton* sbtTranslateOk = nullptr;
    QLineEdit *txtRotateAngle = nullptr, *txtRotateRepeat = nullptr;
    QRadioButton *rbtRotateMove = nullptr, *rbtRotateCopy = nullptr;
    QPushButton* sbtRotateOk = nullptr;
    QRadioButton *rbtScaleUniform = nullptr, *rbtScaleXy = nullptr;
    QLabel *lblScaleX = nullptr, *lblScaleY = nullptr;
    QLineEdit *txtScaleX = nullptr, *txtScaleY = nullptr, *txtScaleRepeat = nullptr;
    QLineEdit* txtOffsetDist = nullptr;
    QPushButton *sbtOffsetOk = nullptr, *sbtFlipOffset = nullptr;
};

// Lays the controls onto their pages; the close button of the distance page,
// shown only while it stands beside the work for a measurement.
QToolButton* BuildCommandPages(MainWindowUi& ui, CommandPagesUi& pages);

}  // namespace calvoro
