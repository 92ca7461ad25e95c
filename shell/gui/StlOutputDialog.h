// Asks how the relief goes out as STL: its surface alone, or a closed solid.
// The caller shows it modally and writes the file only when StlDxfOk(); its
// caption names the file the relief goes to.
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
    // The caption while the dialog shows, in place of the translated one.
    void SetDocumentName(const QString& name) { documentName_ = name; }

    QRadioButton* rbtOutSh = nullptr;
    QRadioButton* rbtOutSo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool ok_ = false;
    QString documentName_;
};

}  // namespace calvoro
