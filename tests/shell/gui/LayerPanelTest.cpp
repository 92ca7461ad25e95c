// The layer page on a real drawing: what each control writes into the layer,
// what the two lists show, and that a layer's own colour survives edits.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "kernel/drawing/QVCmp2D.h"
#include "shell/gui/Application.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/LayerPanel.h"

using namespace calvoro;

namespace {

TLayer& Layer(TQVCmp2D& cad, int index) {
    return cad.Layers().LayerByIndex(static_cast<std::uint8_t>(index));
}

void TypeName(LayerPanel& panel, const QString& name) {
    panel.txtLayerNome->selectAll();
    QTest::keyClicks(panel.txtLayerNome, name);
}

class LayerPanelTest : public QObject {
    Q_OBJECT
private slots:
    void aRenamedLayerShowsWholeIsStoredCutAndStaysCurrent() {
        TQVCmp2D cad;
        cad.SetCurrentLayer(3);
        LayerPanel panel(cad);
        QCOMPARE(panel.LayersList->count(), 256);
        QCOMPARE(panel.cboCurrentLayer->itemText(255), QString("255 - Layer_255"));
        const QString forty(40, 'N');
        panel.LayersList->setCurrentRow(3);
        TypeName(panel, forty);
        QCOMPARE(panel.LayersList->item(3)->text(), "3 - " + forty);
        QCOMPARE(panel.cboCurrentLayer->currentText(), "3 - " + forty);
        QCOMPARE(QString::fromStdString(Layer(cad, 3).Name()), QString(31, 'N'));
        panel.LayersList->setCurrentRow(4);
        panel.LayersList->setCurrentRow(3);
        QCOMPARE(panel.txtLayerNome->text(), QString(31, 'N'));
        emit panel.cboCurrentLayer->activated(255);
        QCOMPARE(int(cad.CurrentLayer()), 255);
    }

    void eachControlWritesTheSelectedLayer_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("layer 0") << 0;
        QTest::newRow("layer 255") << 255;
    }
    void eachControlWritesTheSelectedLayer() {
        QFETCH(int, row);
        TQVCmp2D cad;
        LayerPanel panel(cad);
        QSignalSpy repaints(&panel, &LayerPanel::repaintRequested);
        panel.LayersList->setCurrentRow(row);
        repaints.clear();
        panel.chkLayerVis->setChecked(false);
        QVERIFY(!Layer(cad, row).Visible() && !Layer(cad, row).Active());
        QCOMPARE(repaints.count(), 1);
        panel.PenSizeEdt->setValue(7);
        panel.cboLayerColor->setCurrentIndex(panel.cboLayerColor->findText("Red"));
        emit panel.cboLayerColor->colorPicked(clRed);
        QCOMPARE(Layer(cad, row).Pen(), (PenAttributes{clRed, TPenStyle::psSolid, TPenMode::pmCopy, 7}));
        QCOMPARE(Layer(cad, row).Brush().Color, clRed);
        panel.chkLayerVis->setChecked(true);
        QVERIFY(Layer(cad, row).Visible() && Layer(cad, row).Active());
        QVERIFY(!Layer(cad, 1).Modified());  // the others stay as they were
    }

    void aColourOutsideTheStandardListSurvivesAnEdit() {
        TQVCmp2D cad;
        const TColor own = RGBColor(18, 52, 86);
        cad.SetDefaultLayersColor(own);  // the default layer colour may be any value
        LayerPanel panel(cad);
        panel.LayersList->setCurrentRow(9);
        panel.PenSizeEdt->setValue(3);
        panel.chkLayerVis->setChecked(false);
        QCOMPARE(Layer(cad, 9).Pen().Color, own);
        QCOMPARE(Layer(cad, 9).Brush().Color, own);
    }

    void withNoRowSelectedNothingIsWritten() {
        TQVCmp2D cad;
        LayerPanel panel(cad);
        panel.LayersList->setCurrentRow(-1);
        panel.chkLayerVis->setChecked(!panel.chkLayerVis->isChecked());
        panel.PenSizeEdt->setValue(9);
        TypeName(panel, "Lost");
        for (int i = 0; i < 256; ++i) QVERIFY(!Layer(cad, i).Modified() && Layer(cad, i).Visible());
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    LayerPanelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LayerPanelTest.moc"
