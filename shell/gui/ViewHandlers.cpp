// The main window's answers to the 2D view.
#include "shell/gui/ViewHandlers.h"

#include <QLabel>

#include "shell/app/MainState.h"
#include "shell/app/ViewReadout.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

void ViewHandlers::CursorMoved(const TPoint2D& point) {
    std::string text = CursorText(point.X, point.Y, state_.settings.Unit);
    if (state_.ActiveCommand == kCommandZNoCutPick)
        text += DepthAt(point.X, point.Y, state_.Relief, state_.Info, state_.Map.get(), state_.settings.Unit,
                        LangString("752"))
                    .text;
    if (ui_.nol_pnlStatus1 != nullptr) ui_.nol_pnlStatus1->setText(QString::fromStdString(text));
}

}  // namespace calvoro
