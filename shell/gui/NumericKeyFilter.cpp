#include "shell/gui/NumericKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace calvoro {

NumericKeyFilter::NumericKeyFilter(NumericKeys kind, QObject* parent) : QObject(parent), kind_(kind) {}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Control and Alt chords (copy, paste, select all) are shortcuts, not typing.
    if (text.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
    for (const char32_t c : text.toUcs4())
        if (!KeyPasses(kind_, c)) return true;
    return false;
}

void InstallNumericKeys(QLineEdit* edit, NumericKeys kind) {
    edit->installEventFilter(new NumericKeyFilter(kind, edit));
}

}  // namespace calvoro
