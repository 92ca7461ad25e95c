// Asks how the relief goes out as STL: its surface alone, or a closed solid.
// The caller shows it modally and writes the file only when StlDxfOk().
#pragma once

#include <QDialog>

class QRadioButton;

namespace calvoro {

class StlOutputDialog : public QDialog {
    Q_OBJECT
public:
    explicit StlOutputDialog(QWidget* parent = nullptr);

    // Whether the dialog was last left with OK.
    bool StlDxfOk() const { return ok_; }
    bool Solid() const;

    QRadioButton* rbtOutSh = nullptr;
    QRadioButton* rbtOutSo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool ok_ = false;
};

}  // namespace calvoro
