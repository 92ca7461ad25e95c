#include "shell/gui/AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "shell/app/AboutText.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/FormTranslation.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {
QLabel* LinkLabel(const QString& caption, const QString& target, const char* name, QWidget* parent) {
    auto* label = new QLabel(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), caption.toHtmlEscaped()), parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return label;
}
}  // namespace

AboutDialog::AboutDialog(DialogServices& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName("frmAbout");
    setWindowTitle("About Calvoro");
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);

    nol_lblAboutInfo = new QLabel(QString::fromStdString(AboutInfoText()), this);
    nol_lblAboutInfo->setObjectName("nol_lblAboutInfo");
    nol_lblAboutInfo->hide();
    auto* title = new QLabel(QString::fromStdString(AboutInfoText()), this);
    title->setObjectName("nol_lblTitle");
    lblAbout1 = new QLabel(
        "Calvoro turns a picture into a milling program. Check every program before you run it "
        "on a machine.",
        this);
    lblAbout1->setObjectName("lblAbout1");
    lblAbout1->setWordWrap(true);
    const QString web = QString::fromUtf8(kMakerWebAddress.data(), kMakerWebAddress.size());
    const QString mail = QString::fromUtf8(kMakerMailAddress.data(), kMakerMailAddress.size());
    nol_JDUrlLblwww = LinkLabel(web, "https://" + web, "nol_JDUrlLblwww", this);
    nol_JDUrlLblmailto = LinkLabel(mail, "mailto:" + mail, "nol_JDUrlLblmailto", this);
    for (QLabel* link : {nol_JDUrlLblwww, nol_JDUrlLblmailto})
        connect(link, &QLabel::linkActivated, this, [this](const QString& target) { services_.openUrl(QUrl(target)); });
    nol_lbltTranslation = new QLabel(this);
    nol_lbltTranslation->setObjectName("nol_lbltTranslation");
    nol_lbltTranslation->setWordWrap(true);
    setMinimumWidth(360);
    auto* btnOk = new QPushButton("OK", this);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : std::initializer_list<QWidget*>{nol_lblAboutInfo, title, lblAbout1, nol_JDUrlLblwww,
                                                           nol_JDUrlLblmailto, nol_lbltTranslation})
        layout->addWidget(widget);
    layout->addWidget(btnOk, 0, Qt::AlignRight);
}

void AboutDialog::showEvent(QShowEvent* event) {
    TranslateForms({this});
    nol_lbltTranslation->setText(QString::fromStdString(TranslatorCredit(LanguageName(), LangString("Autor"))));
    adjustSize();  // the credit may need more room than the last language's
    QDialog::showEvent(event);
}

}  // namespace calvoro
