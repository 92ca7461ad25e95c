// The controls of the job wizard's pages (picture edit, size, reference point,
// depth, NC file and post-processor, cutter, cutting parameters) and the
// "back" button of the NC program page, each under the object name the
// language file uses. Each step in shell/gui/steps builds its page's controls
// and fills its pointers here; the job value edits the settings fill (origin,
// depths, feed plane, step over, filter, Z no-cut button) and the picture's
// facts are reached through the main window's members of the same names.
#pragma once

#include "engine/gui/ToolDialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace calvoro {

struct WizardPagesUi {
    // Page 43: picture editing.
    QLineEdit *txtCutDx = nullptr, *txtCutDy = nullptr, *txtPixelW = nullptr, *txtPixelH = nullptr;
    QPushButton *sbtFlipH = nullptr, *sbtFlipV = nullptr, *sbtRotate = nullptr, *sbtCutSel = nullptr,
                *sbt2Gray = nullptr, *sbtNextB0 = nullptr;
    // Page 44: size.
    QLineEdit *txtVecLarg = nullptr, *txtVecAlt = nullptr;
    QLabel *nol_lblUnita1 = nullptr, *nol_lblUnita2 = nullptr;  // the unit beside width and height
    QCheckBox* chkRatio = nullptr;
    QPushButton *sbtDimApply = nullptr, *sbtModify = nullptr, *sbtNextB1 = nullptr;
    // Page 45: reference point; rbtOrigine[0] is the centre, 1..4 the corners.
    QRadioButton* rbtOrigine[5] = {};
    QPushButton *sbtSetOrigin = nullptr, *sbtOrigineApply = nullptr, *sbtPrevB2 = nullptr, *sbtNextB2 = nullptr;
    // Page 46: depth and shading resolution.
    QPushButton *sbtProfApply = nullptr, *sbtPrevB3 = nullptr, *sbtNextB3 = nullptr;
    QRadioButton *rbtShResCoarse = nullptr, *rbtShResMedium = nullptr, *rbtShResFine = nullptr;
    // Page 47: NC file and post-processor.
    QPushButton *sbtNewNc = nullptr, *sbtPrevB4 = nullptr, *sbtNextB4 = nullptr;
    QLabel *stxNcFileName = nullptr, *stxPstCommento = nullptr;
    QComboBox* cboPostName = nullptr;
    // Page 48: the cutter and its table.
    QPushButton *sbtSelecTool = nullptr, *sbtEditTool = nullptr, *sbtPrevB5 = nullptr, *sbtNextB5 = nullptr;
    ToolTableLabels toolTable;
    // Page 49: cutting parameters and the Z no-cut zone.
    QLineEdit *txtStock = nullptr, *txtAspor_Z = nullptr, *txtFiltroZNC = nullptr;
    QCheckBox *chkOrizzontale = nullptr, *chkVerticale = nullptr, *chkCutColor = nullptr;
    QSpinBox* sedPass_Z = nullptr;
    QLabel *imgCutPar = nullptr, *lblCutParHelp = nullptr, *lblZNC = nullptr;
    QGroupBox* grpZNC = nullptr;
    QPushButton *sbtNcCalc = nullptr, *sbtZNCRegen = nullptr, *sbtPrevB6 = nullptr, *sbtNextB6 = nullptr;
    // Page 50: back to the cutting parameters.
    QPushButton* sbtPrevB7 = nullptr;
};

}  // namespace calvoro
