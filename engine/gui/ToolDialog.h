// The tool form over the tool library: the list of stored cutters and the
// fields of the current cutter, which are the program's one live copy of it
// (the engine takes a snapshot of them, currentTool(), when it needs them).
// Add, Modify, Delete and the two arrows change the library file at once;
// Ok keeps the fields, Cancel puts back the cutter the form was opened with.
#pragma once

#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "engine/tools/ToolLibraryFile.h"
#include "engine/tools/ToolTable.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace calvoro {

class ToolDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the library; the record at currentToolIndex fills the fields, or
    // they keep their defaults when there is none.
    ToolDialog(std::filesystem::path libraryFile, int currentToolIndex, QWidget* parent = nullptr);
    ~ToolDialog() override;

    // The compact form shows the current cutter only, without the library.
    void setEditOnly(bool editOnly);
    bool editOnly() const { return editOnly_; }

    // The library index of the current cutter; -1 when it is not in the library
    // (its record was deleted: the fields keep it).
    int currentToolIndex() const { return currentToolIndex_; }
    bool toolDialogOk() const { return ok_; }

    // The cutter in use: the fields as a record. While a field is unfinished
    // (its text not a number, as while it is being retyped) the last values
    // that were all numbers stand; they are checked when the form is
    // confirmed, so the form never closes with such a field.
    ToolRecord currentTool() const { return inUse_; }
    // The fields read whole; empty when one is not a number, with that field
    // and the reason in `failed` and `why`.
    std::optional<ToolRecord> readFields(QLineEdit** failed = nullptr, QString* why = nullptr) const;
    void setCurrentTool(const ToolRecord& record);
    ToolFieldTexts fieldTexts() const;
    const ToolLibraryFile& library() const { return *library_; }

    // Where messages go (a message box unless a test says otherwise).
    void setErrorReporter(std::function<void(const QString&)> reporter) { reportError_ = std::move(reporter); }

    // The handlers of the buttons and the list.
    void selectRow(int row);
    void addTool();
    void modifyTool();
    void deleteTool();
    void moveUp();
    void moveDown();

    QListWidget* ListView1 = nullptr;
    QLabel* imgTool = nullptr;
    QGroupBox *grpToolList = nullptr, *grpToolInfo = nullptr;
    QSpinBox* sedToolNum = nullptr;
    QLineEdit *txtGiri = nullptr, *txtFeedrate = nullptr, *txtPlungeRate = nullptr, *txtUtName = nullptr;
    QLineEdit *txtDiametro = nullptr, *txtC_Raggio = nullptr, *txtAngolo = nullptr, *txtDiamFlat = nullptr;
    QLineEdit* txtUtLen = nullptr;
    QCheckBox* chkCoolant = nullptr;
    QComboBox* cboTipoUt = nullptr;
    QLabel *lblC_Radius = nullptr, *lblAngle = nullptr, *lblFlatDiam = nullptr;
    QPushButton *sbtAddTool = nullptr, *sbtModify = nullptr, *btnDelRecord = nullptr;
    QWidget* UpDown1 = nullptr;
    QToolButton *btnToolUp = nullptr, *btnToolDown = nullptr;
    QPushButton *sbtOk = nullptr, *bntCancel = nullptr;

signals:
    // A field of the current cutter changed: the computed paths are outdated.
    void toolChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildForm();
    QList<QLineEdit*> textFields() const;
    void fillList();
    void showFieldsOf(ToolType type);  // which fields the type has
    void swapWith(int offset);
    int selectedRow() const;
    bool reportFailure(const std::function<void()>& action);
    // The fields read whole for Ok, Add and Modify; when one is not a number
    // the user is told which, it takes the focus, and the result is empty.
    std::optional<ToolRecord> confirmedFields();
    void fieldEdited();
    void report(const QString& text);
    // Why a stored record cannot be the cutter in use, naming its field;
    // empty for a sound record.
    QString refusalOf(const ToolRecord& record) const;
    void addListItem(const ToolRecord& record);
    void showInList(QListWidgetItem* item, const ToolRecord& record) const;

    std::unique_ptr<ToolLibraryFile> library_;
    ToolRecord inUse_;  // the fields when they last were all numbers
    int currentToolIndex_ = 0;
    bool editOnly_ = false;
    bool ok_ = false;
    bool firstFullShow_ = true;
    // The fields as the form was opened, as typed.
    QStringList openedTexts_;
    int openedNumber_ = 1;
    bool openedCoolant_ = false;
    int openedType_ = 0;
    int openedIndex_ = 0;    // follows its record like currentToolIndex_
    std::function<void(const QString&)> reportError_;
    QString pendingRefusal_;  // the current cutter's record is damaged: said at the first show
};

// The labels of the NC page's tool table.
struct ToolTableLabels {
    QLabel *name = nullptr, *number = nullptr, *speed = nullptr, *feedRate = nullptr, *plunge = nullptr;
    QLabel *diameter = nullptr, *shapeValue = nullptr, *flatValue = nullptr, *picture = nullptr;
};

// Fills the tool table from the tool form's fields.
void ShowToolTable(const ToolTableLabels& labels, const ToolDialog& dialog);

}  // namespace calvoro
