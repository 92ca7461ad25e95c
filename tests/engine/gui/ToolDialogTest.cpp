// The tool form over a library of its own: the current cutter's index through
// deletes and moves, Cancel and Ok, Add, the number fields and the compact form.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <bit>
#include <filesystem>
#include <limits>

#include "engine/gui/ToolDialog.h"
#include "engine/gui/ToolPictures.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

// A library of bull-nose cutters named as given, in a folder removed with it.
struct FreshLibrary {
    QTemporaryDir dir;
    fs::path file{dir.filePath("tools.db").toStdString()};
    explicit FreshLibrary(const std::vector<std::string>& names) {
        ToolLibraryFile library(file);
        library.load();
        for (std::size_t i = 0; i < names.size(); ++i) {
            ToolRecord record;
            record.name = names[i];
            record.toolNumber = int(i) + 1;
            record.spindleSpeed = 1000 * (int(i) + 1);
            record.toolType = ToolType::BullNose;
            record.cornerRadius = 0.5f;
            library.add(record);
        }
    }
};

class ToolDialogTest : public QObject {
    Q_OBJECT
private slots:
    void theCurrentCutterIndexFollowsItsRecord_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("index");
        // The library holds A B C D and C is the current cutter (index 2).
        QTest::newRow("delete before it") << "delete" << 0 << 1;
        QTest::newRow("delete after it") << "delete" << 3 << 2;
        QTest::newRow("delete it") << "delete" << 2 << -1;
        QTest::newRow("move it up") << "up" << 2 << 1;
        QTest::newRow("move the row above down") << "down" << 1 << 1;
        QTest::newRow("move the top row up") << "up" << 0 << 2;
        QTest::newRow("move the last row down") << "down" << 3 << 2;
    }
    void theCurrentCutterIndexFollowsItsRecord() {
        QFETCH(QString, operation);
        QFETCH(int, row);
        QFETCH(int, index);
        const FreshLibrary tools({"A", "B", "C", "D"});
        ToolDialog dialog(tools.file, 2);
        QCOMPARE(dialog.txtUtName->text(), QString("C"));
        dialog.ListView1->setCurrentRow(row);
        if (operation == "delete") dialog.deleteTool();
        if (operation == "up") dialog.moveUp();
        if (operation == "down") dialog.moveDown();
        QCOMPARE(dialog.currentToolIndex(), index);
        if (index >= 0) QCOMPARE(dialog.library().record(std::size_t(index)).name, std::string("C"));
        // The fields are the cutter in use whatever happens to the library.
        QCOMPARE(dialog.txtUtName->text(), QString("C"));
        QCOMPARE(dialog.txtGiri->text(), QString("3000"));
        QCOMPARE(dialog.ListView1->count(), int(dialog.library().size()));
        ToolLibraryFile reread(tools.file);
        reread.load();
        QCOMPARE(reread.size(), dialog.library().size());
    }

    void cancelPutsBackTheCutterTheFormOpenedWithAndOkKeepsTheEdits() {
        const FreshLibrary tools({"A", "B"});
        for (const bool ok : {false, true}) {
            ToolDialog dialog(tools.file, 0);
            dialog.show();
            dialog.txtUtName->setText("changed");
            dialog.cboTipoUt->setCurrentIndex(int(ToolType::Spherical));
            dialog.txtDiametro->setText("8");
            dialog.selectRow(1);  // another cutter picked in the list
            dialog.txtGiri->setText("777");
            if (ok)
                dialog.accept();
            else
                dialog.reject();
            QCOMPARE(dialog.toolDialogOk(), ok);
            QCOMPARE(dialog.txtUtName->text(), ok ? QString("B") : QString("A"));
            QCOMPARE(dialog.txtGiri->text(), ok ? QString("777") : QString("1000"));
            QCOMPARE(dialog.cboTipoUt->currentIndex(), int(ToolType::BullNose));
            QCOMPARE(dialog.txtDiametro->text(), QString("5"));
            QCOMPARE(dialog.currentToolIndex(), ok ? 1 : 0);
        }
    }

    void addStoresTheFieldsAtTheEndAndBadNumbersAreRefused() {
        const FreshLibrary tools({"A"});
        ToolDialog dialog(tools.file, 0);
        QStringList errors;
        dialog.setErrorReporter([&](const QString& text) { errors << text; });
        dialog.txtUtName->setText("New cutter");
        dialog.txtFeedrate->setText("1250.5");
        dialog.addTool();
        QCOMPARE(dialog.library().size(), std::size_t(2));
        QCOMPARE(dialog.library().record(1).name, std::string("New cutter"));
        QCOMPARE(dialog.library().record(1).feedRate, 1250.5f);
        QCOMPARE(dialog.currentToolIndex(), 0);
        dialog.txtGiri->clear();
        dialog.addTool();
        QCOMPARE(errors.size(), 1);
        QCOMPARE(dialog.library().size(), std::size_t(2));  // nothing added
        // Typing: no sign, no second point.
        for (QLineEdit* field : {dialog.txtFeedrate, dialog.txtGiri}) {
            field->clear();
            QTest::keyClicks(field, "-1.2.3");
        }
        QCOMPARE(dialog.txtFeedrate->text(), QString("1.23"));
        QCOMPARE(dialog.txtGiri->text(), QString("123"));
    }

    // Emptying a field while typing only says the paths are outdated: the
    // cutter in use stays the last whole one, and no message appears. The
    // values are checked when the form is confirmed (Ok, Add, Modify): one
    // message naming the field, the focus on it, nothing kept or stored.
    void anUnfinishedValueWaitsUntilTheFormIsConfirmed_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("button");
        QTest::newRow("feed rate, Ok") << "txtFeedrate" << "Feed rate" << "sbtOk";
        QTest::newRow("spindle speed, Ok") << "txtGiri" << "Spindle speed" << "sbtOk";
        QTest::newRow("diameter, Add") << "txtDiametro" << "Diameter" << "sbtAddTool";
        QTest::newRow("pass depth, Modify") << "txtUtLen" << "Pass depth" << "sbtModify";
    }
    void anUnfinishedValueWaitsUntilTheFormIsConfirmed() {
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QFETCH(QString, button);
        const FreshLibrary tools({"A"});
        ToolDialog dialog(tools.file, 0);
        QStringList messages;
        dialog.setErrorReporter([&](const QString& text) { messages << text; });
        // The window takes the cutter in use at every change, as the wizard does.
        QList<ToolRecord> taken;
        connect(&dialog, &ToolDialog::toolChanged, &dialog, [&] {
            try {
                taken << dialog.currentTool();
            } catch (const std::exception& error) {
                messages << QString::fromStdString(error.what());
            }
        });
        dialog.show();
        dialog.ListView1->setCurrentRow(0);
        const ToolRecord before = dialog.currentTool();
        auto* edit = dialog.findChild<QLineEdit*>(field);
        QVERIFY(edit);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString());
        QVERIFY(!taken.isEmpty());
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
        QVERIFY(taken.last() == before);

        dialog.ListView1->setFocus();
        dialog.findChild<QPushButton*>(button)->click();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains("\"" + caption + "\""), qPrintable(messages[0]));
        QCOMPARE(dialog.focusWidget(), edit);
        QVERIFY(dialog.isVisible());
        QVERIFY(!dialog.toolDialogOk());
        QCOMPARE(dialog.library().size(), std::size_t(1));
        QVERIFY(dialog.library().record(0) == before);

        // Finished, the same button does its work with the value typed.
        QTest::keyClicks(edit, "7");
        QVERIFY(taken.last() != before);
        dialog.findChild<QPushButton*>(button)->click();
        QCOMPARE(messages.size(), 1);
        if (button == "sbtOk") {
            QVERIFY(dialog.toolDialogOk());
            QVERIFY(!dialog.isVisible());
        } else {
            const std::size_t stored = button == "sbtAddTool" ? 1 : 0;
            QCOMPARE(dialog.library().size(), stored + 1);
            QVERIFY(dialog.library().record(stored) == dialog.currentTool());
        }
    }

    // Stored names are Windows-1252 bytes, as the NC program reads them: the
    // form shows them as such and stores what is typed the same way.
    void aToolNameIsShownAndStoredInTheLibrarysEncoding() {
        const FreshLibrary tools({"\x80 Fr\xE4ser"});
        ToolDialog dialog(tools.file, 0);
        QCOMPARE(dialog.txtUtName->text(), QString::fromUtf8("\u20AC Fr\u00E4ser"));
        QCOMPARE(dialog.ListView1->item(0)->text(), QString::fromUtf8("\u20AC Fr\u00E4ser"));
        QCOMPARE(dialog.currentTool().name, std::string("\x80 Fr\xE4ser"));
        dialog.txtUtName->setText(QString::fromUtf8("Kugelfr\u00E4ser \u20AC \u03A9"));
        QCOMPARE(dialog.currentTool().name, std::string("Kugelfr\xE4ser \x80 ?"));
    }

    void aSphericalCuttersRadiusFollowsItsDiameter() {
        const FreshLibrary tools({});
        ToolDialog dialog(tools.file, 0);
        dialog.cboTipoUt->setCurrentIndex(int(ToolType::Spherical));
        QVERIFY(!dialog.txtC_Raggio->isEnabled());
        dialog.txtDiametro->setText("6.5");
        QCOMPARE(dialog.txtC_Raggio->text(), QString("3.25"));
        dialog.cboTipoUt->setCurrentIndex(int(ToolType::ConicalFlat));
        QVERIFY(dialog.txtC_Raggio->isHidden());
        QVERIFY(!dialog.txtAngolo->isHidden());
    }

    void aDamagedRecordIsShownButNeverBecomesTheCutter_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("caption");
        const float nan = std::bit_cast<float>(0x7FC00000u);  // the bytes 00 00 C0 7F
        QTest::newRow("diameter not a number") << int(ToolField::Diameter) << nan << "Diameter";
        QTest::newRow("infinite feed rate") << int(ToolField::FeedRate) << std::numeric_limits<float>::infinity()
                                            << "Feed rate";
        QTest::newRow("negative corner radius") << int(ToolField::CornerRadius) << -0.5f << "Corner radius";
        QTest::newRow("negative pass depth") << int(ToolField::PassDepth) << -3.0f << "Pass depth";
        QTest::newRow("taper angle not a number") << int(ToolField::TaperAngle) << nan << "Angle";
    }
    void aDamagedRecordIsShownButNeverBecomesTheCutter() {
        QFETCH(int, field);
        QFETCH(float, value);
        QFETCH(QString, caption);
        const FreshLibrary tools({"A", "B"});
        ToolRecord damaged;
        damaged.name = "Broken";
        damaged.spindleSpeed = 4242;
        float* values[] = {&damaged.feedRate,   &damaged.plungeRate,   &damaged.diameter, &damaged.cornerRadius,
                           &damaged.taperAngle, &damaged.flatDiameter, &damaged.passDepth};
        *values[field] = value;
        {
            ToolLibraryFile library(tools.file);
            library.load();
            library.add(damaged);
        }
        const std::string before = [&] {
            ToolLibraryFile library(tools.file);
            library.load();
            const ToolRecordBytes& bytes = library.storedBytes(2);
            return std::string(bytes.begin(), bytes.end());
        }();
        QVERIFY(DamagedToolField(damaged) == ToolField(field));

        // The settings name it as the current cutter: the form still opens,
        // with its defaults, and says why once it is shown.
        QStringList errors;
        {
            ToolDialog dialog(tools.file, 2);
            dialog.setErrorReporter([&](const QString& text) { errors << text; });
            QCOMPARE(dialog.ListView1->count(), 3);
            QVERIFY(dialog.ListView1->item(2)->text().startsWith("Broken"));
            QVERIFY(dialog.ListView1->item(2)->text().contains("(damaged)"));
            QVERIFY(!dialog.ListView1->item(0)->text().contains("(damaged)"));
            QCOMPARE(dialog.currentToolIndex(), -1);
            QCOMPARE(dialog.txtGiri->text(), QString("1000"));
            QCOMPARE(dialog.txtDiametro->text(), QString("5"));
            dialog.show();
            QTRY_COMPARE(errors.size(), 1);
            QVERIFY2(errors[0].contains("\"Broken\"") && errors[0].contains("\"" + caption + "\""), qPrintable(errors[0]));
            dialog.reject();
        }

        // Picked in the list: refused, the fields stay those of the cutter in use.
        errors.clear();
        ToolDialog dialog(tools.file, 1);
        dialog.setErrorReporter([&](const QString& text) { errors << text; });
        dialog.selectRow(2);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("\"" + caption + "\""));
        QCOMPARE(dialog.currentToolIndex(), 1);
        QCOMPARE(dialog.txtUtName->text(), QString("B"));
        QCOMPARE(dialog.txtGiri->text(), QString("2000"));
        QCOMPARE(dialog.txtDiametro->text(), QString("5"));
        QCOMPARE(dialog.txtC_Raggio->text(), QString("0.5"));
        QCOMPARE(dialog.currentTool().name, std::string("B"));

        ToolLibraryFile reread(tools.file);
        reread.load();
        const ToolRecordBytes& after = reread.storedBytes(2);
        QCOMPARE(std::string(after.begin(), after.end()), before);  // kept as it was
    }

    // Every cutter's body is drawn solid: a pixel in the middle of it has the
    // body's colour, at the list's size and at the form's.
    void eachCutterPictureIsSolidInsideItsBody_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("size");
        for (const int size : {16, 90}) {
            QTest::newRow(qPrintable(QString("flat %1").arg(size))) << int(ToolType::Flat) << size;
            QTest::newRow(qPrintable(QString("bull-nose %1").arg(size))) << int(ToolType::BullNose) << size;
            QTest::newRow(qPrintable(QString("spherical %1").arg(size))) << int(ToolType::Spherical) << size;
        }
    }
    void eachCutterPictureIsSolidInsideItsBody() {
        QFETCH(int, type);
        QFETCH(int, size);
        const QImage picture = ToolPicture(ToolType(type), size).toImage();
        // (8, 10) of the 16-unit drawing: below the shank, inside every body.
        const QColor inside = picture.pixelColor(int(size * 8.0 / 16), int(size * 10.0 / 16));
        QCOMPARE(inside.alpha(), 255);
        QCOMPARE(inside.rgb(), QColor(170, 180, 195).rgb());
    }

    void theCompactFormShowsTheCurrentCutterOnly() {
        const FreshLibrary tools({"A"});
        ToolDialog dialog(tools.file, 0);
        dialog.setEditOnly(true);
        dialog.show();
        QVERIFY(dialog.grpToolList->isHidden());
        dialog.reject();
        dialog.setEditOnly(false);
        dialog.show();
        QVERIFY(!dialog.grpToolList->isHidden());
        QCOMPARE(dialog.ListView1->currentRow(), 0);
        dialog.reject();
    }
};

}  // namespace

QTEST_MAIN(ToolDialogTest)
#include "ToolDialogTest.moc"
