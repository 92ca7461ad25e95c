// One step of the job wizard in the window: the controls of its page and the
// handlers that hand the user's clicks and edits to the WizardController. A
// step builds every control of its page, under the object names the language
// file uses, and connects them; the list in StepPages.cpp says which steps
// there are. What the steps share (the worker, its progress and Cancel, the
// window's services) stays with the WizardWiring, the StepHost here.
#pragma once

#include <QObject>
#include <functional>

#include "shell/gui/NumericKeyFilter.h"

class QBoxLayout;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace calvoro {

class NcPageWiring;
class View2DHost;
class View3D;
class WizardController;
class WizardPagesView;
struct MainWindowUi;
struct WizardPagesUi;

// What a step needs of the wizard in the window.
class StepHost {
public:
    virtual ~StepHost() = default;
    virtual MainWindowUi& Ui() = 0;
    // Every step's controls, for the steps that read another's (the cutter's
    // Next takes the cutting values as typed) and for the pages' view.
    virtual WizardPagesUi& Widgets() = 0;
    // Runs a user's action on the controller and follows what it started;
    // nothing happens before the start or while the worker computes.
    virtual void Forward(const std::function<void(WizardController&)>& action) = 0;
    // The controller, null before the start.
    virtual WizardController* Wizard() = 0;
    virtual bool Working() const = 0;
    virtual WizardPagesView& PagesView() = 0;
    virtual View2DHost& View2D() = 0;
    virtual View3D& View3d() = 0;
    virtual NcPageWiring& NcPages() = 0;
};

class StepPage : public QObject {
public:
    // page: the page of the work panel the step lays its controls on.
    StepPage(StepHost& host, int page);

    // Lays the controls onto the page; Connect then gives them their handlers.
    virtual void Build() = 0;
    virtual void Connect() = 0;
    // Once the controller is there (the settings are read).
    virtual void Start() {}
    // A picture or job was opened: the step shows the job's values.
    virtual void JobOpened() {}
    // A page the wizard shows: what the step was waiting for ends.
    virtual void PageShown() {}

protected:
    QWidget* Page() const;
    // A button of the controller's: a click runs that step of the wizard.
    void OnClick(QPushButton* button, void (WizardController::*action)());

    StepHost& host_;
    const int page_;
};

// The little builders the pages share.
namespace step_widgets {

template <class T>
T* Named(T* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}
QPushButton* Button(QWidget* page, const char* name, const char* text);
// A number edit under its label.
QLineEdit* Edit(QFormLayout* form, QWidget* page, const char* name, const char* labelName, const char* label,
                NumericKeys keys);
QLineEdit* ReadOnly(QFormLayout* form, QWidget* page, const char* name, const char* labelName, const char* label);
// A job's value in an edit, as the user would type it.
void ShowValue(QLineEdit* edit, double value);
// Prev and Next at the foot of a page; either may be absent.
void PrevNext(QFormLayout* form, QPushButton* prev, QPushButton* next);
// The page's form: its own, a new one under the column a page shared with
// other panels already has, or a new one.
QFormLayout* FormOf(QWidget* page);

}  // namespace step_widgets

}  // namespace calvoro
