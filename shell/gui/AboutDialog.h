// The About box: the program and its version, the maker's web and mail links
// and, when the language file names one, the translator. It stays above the
// other windows and does not block them.
#pragma once

#include <QDialog>

class QLabel;

namespace calvoro {

class DialogServices;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(DialogServices& services, QWidget* parent = nullptr);

    QLabel* nol_lblAboutInfo = nullptr;  // hidden: product, version and maker for the caption
    QLabel* nol_JDUrlLblwww = nullptr;
    QLabel* nol_JDUrlLblmailto = nullptr;
    QLabel* nol_lbltTranslation = nullptr;
    QLabel* lblAbout1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    DialogServices& services_;
};

}  // namespace calvoro
