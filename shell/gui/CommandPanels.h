// The CAD command panels of the main window: the linked buttons of the CAD
// tool bar and their menus (choosing a command gives its button the command's
// glyph and hint, and a click on the button repeats it), the commands
// themselves, started as tasks of the 2D view's interaction program, the
// parameter pages they read, the transform pages, delete small entities and
// the snap button.
#pragma once

#include <QObject>
#include <array>
#include <optional>

#include "shell/app/CommandTable.h"
#include "shell/gui/CommandPages.h"

class QAction;
class QLineEdit;
class QToolButton;

namespace calvoro {

class MainLifeCycle;
class SettingsController;
class TObject2D;
class TQVCmp2D;
class TQVD2D_SelectObjectsParam;
class ViewHandlers;
class View2DHost;
struct MainState;
struct MainWindowUi;
struct StateClass;

// The user events the transform pages hand to the running task.
inline constexpr std::uint16_t kEventRotate = 4;
inline constexpr std::uint16_t kEventScale = 5;
inline constexpr std::uint16_t kEventTranslate = 6;

class CommandPanels : public QObject {
    Q_OBJECT
public:
    CommandPanels(MainWindowUi& ui, MainState& state, TQVCmp2D& cad, View2DHost& view, MainLifeCycle& life,
                  SettingsController& settings, ViewHandlers& readouts);

    // A command chosen from its menu: the button takes its glyph, hint and
    // click, then the command runs.
    void Choose(CadCommand command);
    void Run(CadCommand command);

    const CommandPagesUi& Pages() const { return pages_; }
    const LinkedCommands& Linked() const { return linked_; }
    // The transform pages' values, which no task reads yet.
    bool CopyFlag() const { return copy_; }
    int RepeatCount() const { return repeat_; }
    float OffsetDistance() const { return offset_; }

    // Delete small entities with the limit on its page; the number deleted.
    int DeleteSmall();
    void SnapClicked();
    // Two points picked in the view, their distance on its page beside the
    // work; the drawing stays as it was.
    void MeasureDistance();

private:
    void Connect();
    QAction* ActionOf(const CommandRow& row) const;
    void ShowPageOf(const CommandRow& row);
    void StartPick(std::int32_t code, const StateClass& task, std::unique_ptr<TQVD2D_SelectObjectsParam> param,
                   bool highlight);
    void StartPick(std::int32_t code, const StateClass& task, const StateClass& after, bool highlight);
    void StartPlacing(const StateClass& task, std::unique_ptr<class TCADPrgParam> param);
    void ArcTangent(bool twoObjects);
    void Fillet();
    void CircleByDiameter();
    void ArcByAngles();
    void LineByLengthAndAngle();
    void OnSelectedObj(TObject2D& object);
    void Post(std::uint16_t event);
    std::optional<double> Positive(QLineEdit* edit);

    MainWindowUi& ui_;
    MainState& state_;
    TQVCmp2D& cad_;
    View2DHost& view_;
    MainLifeCycle& life_;
    SettingsController& settings_;
    ViewHandlers& readouts_;
    QToolButton* closeDistance_ = nullptr;
    CommandPagesUi pages_;
    LinkedCommands linked_;
    std::array<bool, kLinkedGroupCount> chosen_{};  // a command was chosen from the group's menu
    bool copy_ = false;
    int repeat_ = 1;
    float offset_ = 0.0f;
};

}  // namespace calvoro
