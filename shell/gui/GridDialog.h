// The grid and snap dialog. Every change takes effect in the 2D view at once;
// OK keeps them all, while Cancel, Esc and the close box put back what was in
// force when the dialog was shown. Each show fills the boxes from the values
// in force, so the dialog never shows values the view is not using.
#pragma once

#include <QDialog>
#include <array>

#include "shell/app/GridCoupling.h"

class QCheckBox;
class QComboBox;

namespace calvoro {

class GridDialog : public QDialog {
    Q_OBJECT
public:
    explicit GridDialog(GridHost& host, QWidget* parent = nullptr);

    QComboBox* Combo(GridField field) const { return combos_[static_cast<std::size_t>(field)]; }

    QComboBox* nol_cboGridX = nullptr;
    QComboBox* nol_cboGridY = nullptr;
    QComboBox* nol_cboGridSubX = nullptr;
    QComboBox* nol_cboGridSubY = nullptr;
    QComboBox* nol_cboXSnap = nullptr;
    QComboBox* nol_cboYSnap = nullptr;
    QCheckBox* chkUnisceGrid = nullptr;
    QCheckBox* chkUnisceSubGrid = nullptr;
    QCheckBox* chkSnap = nullptr;
    QCheckBox* chkShowGrid = nullptr;
    QCheckBox* chkSnap2Grid = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The boxes and check boxes as the values in force have them.
    void ShowValues();

    GridCoupling coupling_;
    std::array<QComboBox*, 6> combos_{};
    bool revert_ = false;
};

}  // namespace calvoro
