// Lets only the characters of a number through to an edit (see KeyPasses);
// keys that type nothing, such as arrows, Delete and shortcuts, pass.
#pragma once

#include <QObject>

#include "shell/app/ShellText.h"

class QLineEdit;

namespace calvoro {

class NumericKeyFilter : public QObject {
    Q_OBJECT
public:
    NumericKeyFilter(NumericKeys kind, QObject* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NumericKeys kind_;
};

// SoloNumeriPos, SoloNumeriPosEEnter, SoloNumeriEMeno, SoloNumeriEMenoEEnter.
void InstallNumericKeys(QLineEdit* edit, NumericKeys kind);

}  // namespace calvoro
