// The questions and windows the main window asks the desktop for, behind one
// small interface so the controllers can be driven by scripted answers.
#pragma once

#include <QString>
#include <QUrl>

class QDialog;
class QWidget;

namespace calvoro {

class DialogServices {
public:
    virtual ~DialogServices() = default;
    // A Yes/No question with a warning icon; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A plain information box.
    virtual void inform(QWidget* parent, const QString& caption, const QString& text) = 0;
    // The file-open dialog; empty when cancelled. `start` is a file or folder.
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& start,
                             const QString& filter) = 0;
    // The file-save dialog; empty when cancelled. `filter` lists the kinds as
    // "Name (*.ext);;..."; the kind chosen is written to `chosenFilter` when given.
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& start, const QString& filter,
                             QString* chosenFilter = nullptr);
    // Hands a file or web address to the desktop; false when nothing opened it.
    virtual bool openUrl(const QUrl& url) = 0;
    // Shows a dialog of the program modally and gives its result.
    virtual int runModal(QDialog& dialog);
    // A one-line text input box holding `text`; false when cancelled, and
    // `text` is then left as it was.
    virtual bool getText(QWidget* parent, const QString& caption, const QString& prompt, QString& text);
};

// Message boxes, the file dialog and the desktop's own handlers.
class QtDialogServices : public DialogServices {
public:
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    void inform(QWidget* parent, const QString& caption, const QString& text) override;
    QString openFile(QWidget* parent, const QString& caption, const QString& start, const QString& filter) override;
    bool openUrl(const QUrl& url) override;
};

}  // namespace calvoro
