// The main window's life: the start in its fixed order, the confirmed close,
// starting over with a new job, opening a picture, and the small services
// every panel calls (status line, tool-bar enabling, page switching, placing
// the picture, the picture information). Help, About and the web page are
// HelpCommands'; the locks of the commands are CommandActions'.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "engine/picture/ImageInfo.h"
#include "engine/picture/Picture.h"
#include "shell/app/CommandLocks.h"
#include "shell/app/MainState.h"
#include "shell/app/PageSwitcher.h"
#include "shell/gui/HelpCommands.h"

namespace calvoro {

class CommandActions;
class DialogServices;
class SettingsController;
class TQVCmp2D;
class View3D;
struct MainWindowUi;


class MainLifeCycle : public QObject {
    Q_OBJECT
public:
    MainLifeCycle(MainWindowUi& ui, MainState& state, TQVCmp2D& cad, DialogServices& dialogs, View3D& view3d);
    void setSettingsController(SettingsController* settings) { settings_ = settings; }

    // The start of the window, in two parts: the number format, the tolerance
    // and the block library while the window is made, then the settings,
    // language, first page, caption and post-processor. Every step runs under
    // its own guard: a step that fails is reported and the next one runs, so a
    // damaged block library or post-processor never leaves the window half
    // made.
    void LoadBlockLibrary();
    void Start();
    // Asks whether to quit. Yes: the settings are written first (a failure is
    // reported and the program still ends), then the pictures are let go.
    bool ConfirmClose();

    void NewJob();           // sbtNewClick
    bool CancellatoTutto();  // asks, then empties the drawing and the job

    void Messaggio(const QString& text);
    // A CAD task takes the tool bars (false) or gives them back (true); what
    // else locks them is left as it is.
    void AbilitaPnl(bool enable);
    // The window's commands and the reasons that lock them.
    CommandActions& Actions() { return *actions_; }
    void SetLock(LockReason reason, bool on);
    void VisPagine(std::initializer_list<int> pages);
    void VisPagina(int page);
    void ShowAside(int page);  // see PageSwitcher
    void CloseAside();
    void PageTabClicked(int tabIndex);  // PageControl1Change
    PageSwitcher& Pages() { return pages_; }

    // Puts the picture alone on layer 0 of the drawing and shows it.
    void PlaceImageBitmap(const Picture& picture, const ImageInfo& info, bool zoomToFit);
    void AggAlbero(const std::string& imageFileName, const std::string& bitDepthText, int pixelWidth,
                   int pixelHeight, int dpi);
    // Makes a page of the shown list current, as the wizard's Next and Prev
    // do: no handler of the user's runs; with status, the status line shows
    // the page's message.
    void ShowPageNow(int page, bool withStatus);

    HelpCommands& Help() { return *help_; }
    // Shows the 2D view or the 3D view; the standard views work in 3D only.
    void SetView3D(bool show3D);

signals:
    // The picture and the job were let go (a new job).
    void jobDiscarded();

private:
    void ShowPages();
    void ConnectView3D();

    MainWindowUi& ui_;
    MainState& state_;
    TQVCmp2D& cad_;
    DialogServices& dialogs_;
    View3D& view3d_;
    SettingsController* settings_ = nullptr;
    PageSwitcher pages_;
    CommandActions* actions_ = nullptr;
    HelpCommands* help_ = nullptr;
};

}  // namespace calvoro
