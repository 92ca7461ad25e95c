// The questions the language editor asks, behind one small interface so that
// its forms can be driven by scripted answers.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace calvoro {

class LanguageDialogs {
public:
    virtual ~LanguageDialogs() = default;
    // A Yes/No question with a warning icon; true for Yes. `defaultYes` picks
    // the button that Enter presses.
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text, bool defaultYes) = 0;
    virtual void warn(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void inform(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A one-line input box; nothing when cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                                           const QString& initial) = 0;
};

// Message boxes and the input box of Qt.
class QtLanguageDialogs : public LanguageDialogs {
public:
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text, bool defaultYes) override;
    void warn(QWidget* parent, const QString& caption, const QString& text) override;
    void showError(QWidget* parent, const QString& caption, const QString& text) override;
    void inform(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& initial) override;
};

}  // namespace calvoro
