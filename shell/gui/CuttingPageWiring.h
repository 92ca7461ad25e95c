// The cutting-parameter page (page 49) in the window: its edits and boxes
// read as typed, every change and the Z no-cut controls handed to the wizard,
// the help picture and text beside the field that has the focus, and the
// caption of a field for a message that names it.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "shell/wizard/CuttingValues.h"

namespace calvoro {

class WizardController;
struct MainWindowUi;
struct WizardPagesUi;

class CuttingPageWiring : public QObject {
public:
    // forward runs a user's action on the wizard (nothing while it computes);
    // wizard gives the controller for what only shows (the help pictures).
    using Forward = std::function<void(const std::function<void(WizardController&)>&)>;
    CuttingPageWiring(const MainWindowUi& ui, const WizardPagesUi& pages, Forward forward,
                      std::function<WizardController*()> wizard, QObject* parent);

    CuttingTexts Read() const;
    std::string FieldCaption(CuttingField field) const;
    void ShowHelpPicture(int resource);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    const MainWindowUi& ui_;
    const WizardPagesUi& pages_;
    Forward forward_;
    std::function<WizardController*()> wizard_;
};

}  // namespace calvoro
