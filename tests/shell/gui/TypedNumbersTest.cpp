// One grammar for every number a person types or the settings file stores:
// each text of the table is read, to the same value, or refused by every
// reader of the program alike (the wizard's edits, the tool form, the CAD
// pages' spin edits, the grid spacings, the no-cut tolerance, the feed rate,
// the feed plane the NC simulation starts from and the settings file). The values are all positive, so the readers that
// take only positive numbers answer like the others.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/gui/ToolDialog.h"
#include "engine/nc/NcProgram.h"
#include "engine/nc/NcSimulation.h"
#include "engine/preview/ReliefGrid.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFile.h"
#include "kernel/platform/NumberReading.h"
#include "shell/app/GridCoupling.h"
#include "shell/gui/Application.h"
#include "shell/gui/RealSpinBox.h"
#include "shell/wizard/NumberText.h"

using namespace calvoro;

namespace {

using Reader = std::function<std::optional<double>(const std::string&)>;

struct NamedReader {
    const char* name;
    Reader read;
};

class TypedNumbersTest : public QObject {
    Q_OBJECT
private slots:
    void everyReaderTakesOrRefusesTheTextAlike_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");  // NaN: refused
        const double refused = std::numeric_limits<double>::quiet_NaN();
        const std::pair<const char*, double> rows[] = {
            {"5", 5.0},         {"+5", 5.0},      {" 5", 5.0},       {"5 ", 5.0},      {"1e1", 10.0},
            {"2.5E-1", 0.25},   {"2.5", 2.5},     {"5.", 5.0},       {".5", 0.5},      {"2,5", refused},
            {"1.2.3", refused}, {"", refused},    {" ", refused},    {".", refused},   {"+", refused},
            {"1e", refused},    {"e1", refused},  {"0x10", refused}, {"inf", refused}, {"nan", refused},
            {"1 2", refused},   {"5a", refused},  {"++5", refused},  {"+-5", refused}, {"1e999", refused},
            {"1,000", refused}, {"5..", refused},
        };
        for (const auto& [text, value] : rows) QTest::newRow(text[0] != '\0' ? text : "(empty)") << text << value;
    }

    void everyReaderTakesOrRefusesTheTextAlike() {
        QFETCH(QString, text);
        QFETCH(double, value);
        const bool refused = std::isnan(value);
        for (const NamedReader& reader : readers_) {
            const std::optional<double> read = reader.read(text.toStdString());
            QVERIFY2(read.has_value() != refused,
                     qPrintable(QString("%1 %2 \"%3\"").arg(reader.name, read ? "takes" : "refuses", text)));
            if (read) {
                // Single-precision fields give the float nearest the value.
                const double tolerance = 1e-6 * std::abs(value);
                QVERIFY2(std::abs(*read - value) <= tolerance,
                         qPrintable(QString("%1 reads \"%2\" as %3").arg(reader.name, text).arg(*read)));
            }
        }
    }

private:
    QTemporaryDir dir_;
    std::filesystem::path settingsFile_{dir_.filePath("Calvoro.ini").toStdString()};
    ToolDialog toolForm_{dir_.filePath("Tool.db").toStdString(), 0};
    RealSpinBox angle_;

    std::optional<double> fromSettingsFile(const std::string& text) {
        WriteFileAtomically(settingsFile_, "[Default]\r\nGridX=" + text + "\r\n");
        const double read = IniFile(settingsFile_).ReadFloat("Default", "GridX", -1.0);
        if (read == -1.0) return std::nullopt;  // the default stays: refused
        return read;
    }

    std::optional<double> fromToolForm(const std::string& text) {
        toolForm_.txtDiametro->setText(QString::fromStdString(text));
        // What Ok, Add and Modify would keep; the cutter in use stays the
        // last whole one while a field is unfinished.
        if (const auto record = toolForm_.readFields()) return record->diameter;
        return std::nullopt;
    }

    std::optional<double> fromSpinEdit(const std::string& text) {
        angle_.setRange(-1e9, 1e9);
        angle_.setDecimals(6);
        QString input = QString::fromStdString(text);
        int position = 0;
        if (angle_.validate(input, position) != QValidator::Acceptable) return std::nullopt;
        return angle_.valueFromText(input);
    }

    // The simulation draws its first feed move at the feed plane until the
    // program names a Z.
    static std::optional<double> fromSimulatedFeedPlane(const std::string& text) {
        NcStepper stepper{PostSettings{}};
        stepper.resetRun(text);
        try {
            if (const std::optional<SimMove> move = stepper.step("G1 X1 Y1")) return move->z;
        } catch (const NcSimulationError&) {
        }
        return std::nullopt;
    }

    const std::vector<NamedReader> readers_{
        {"ReadNumber (CAD pages)", [](const std::string& t) { return ReadNumber(t); }},
        {"settings file", [this](const std::string& t) { return fromSettingsFile(t); }},
        {"wizard edit", [](const std::string& t) { return ParseEditNumber(t); }},
        {"tool form", [this](const std::string& t) { return fromToolForm(t); }},
        {"CAD spin edit", [this](const std::string& t) { return fromSpinEdit(t); }},
        {"grid spacing", [](const std::string& t) { return GridCoupling::ParseSpacing(t); }},
        {"no-cut tolerance",
         [](const std::string& t) -> std::optional<double> {
             if (const auto v = ParseNoCutTolerance(t)) return *v;
             return std::nullopt;
         }},
        {"feed rate", [](const std::string& t) { return ParseRateText(t); }},
        {"simulated feed plane", [](const std::string& t) { return fromSimulatedFeedPlane(t); }},
    };
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    TypedNumbersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TypedNumbersTest.moc"
