#include "shell/wizard/WizardContext.h"

#include <utility>

#include "shell/lang/UnitLang.h"
#include "shell/wizard/NumberText.h"

namespace calvoro {

namespace {
constexpr int kControlCount = static_cast<int>(WizardControl::ZncControls) + 1;
}  // namespace

std::string Say(std::string_view key, std::string_view fallback) {
    std::string text = LangString(key);
    return text.empty() ? std::string(fallback) : text;
}

WizardContext::WizardContext(Job& theJob, WizardServices theServices, WizardSettings theSettings)
    : job(theJob), services(theServices), settings(std::move(theSettings)), enabled_(kControlCount, false) {}

bool WizardContext::isEnabled(WizardControl control) const {
    return enabled_[static_cast<std::size_t>(control)];
}

void WizardContext::setEnabled(WizardControl control, bool on) {
    enabled_[static_cast<std::size_t>(control)] = on;
    services.window.setEnabled(control, on);
}

void WizardContext::showPage(int page, bool withStatus) {
    currentPage = page;
    services.window.showPage(page, withStatus);
}

void WizardContext::report(const std::string& text) {
    services.dialogs.showMessage(text);
}

// The program no longer matches what the pages say.
void WizardContext::togliAssoc() {
    job.outdateProgram();
    setEnabled(WizardControl::NextB6, false);
    setEnabled(WizardControl::NcCalc, true);
}

void WizardContext::showPlacement() {
    const ImageInfo& info = job.info();
    services.window.showSize(formatta(info.SizeX, settings.inches), formatta(info.SizeY, settings.inches));
    // Adding 0 turns the -0 of an origin at 0 into 0: the edits never say "-0.000".
    services.window.showOrigin(formatta(-info.X0 + 0.0, settings.inches), formatta(-info.Y0 + 0.0, settings.inches));
    services.window.showCheckedCorner(job.placement().checkedCorner());
}

void WizardContext::placePictureAgain() {
    services.drawing.placePicture(job.picture(), job.info());
    showPlacement();
}

void WizardContext::applyShift(const DrawingShift& shift) {
    if (shift.dx != 0.0 || shift.dy != 0.0) services.drawing.moveAll(shift.dx, shift.dy);
    showPlacement();
    // Where the picture lies is where the cutter goes: a program computed for
    // another placement would cut elsewhere.
    togliAssoc();
}

void WizardContext::set3DMode(bool on) {
    showing3D = on;
    services.view3d.set3DMode(on);
}

}  // namespace calvoro
