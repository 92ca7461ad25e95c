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

void Select(LayerPanel& panel, int row) {
    panel.LayersList->setCurrentRow(row);
}

void TypeName(LayerPanel& panel, const QString& name) {
    panel.txtLayerNome->selectAll();
    QTest::keyClicks(panel.txtLayerNome, name);
}

class LayerPanelTest : public QObject {
    Q_OBJECT
private slots:
    void listsShowEveryLayerAndTheCurrentOne() {
        TQVCmp2D cad;
        cad.SetCurrentLayer(1);
        LayerPanel panel(cad);
        panel.show();
        QCOMPARE(panel.LayersList->count(), 256);
        QCOMPARE(panel.cboCurrentLayer->count(), 256);
        QCOMPARE(panel.LayersList->item(255)->text(), QString("255 - Layer_255"));
        QCOMPARE(panel.cboCurrentLayer->currentIndex(), 1);
        panel.cboCurrentLayer->activated(255);
        QCOMPARE(int(cad.CurrentLayer()), 255);
    }

    void aLongNameShowsWholeAndIsStoredCut() {
        TQVCmp2D cad;
        LayerPanel panel(cad);
        const QString forty(40, 'N');
        Select(panel, 3);
        TypeName(panel, forty);
        QCOMPARE(panel.LayersList->item(3)->text(), "3 - " + forty);
        QCOMPARE(panel.cboCurrentLayer->itemText(3), "3 - " + forty);
        QCOMPARE(QString::fromStdString(Layer(cad, 3).Name()), QString(31, 'N'));
        Select(panel, 4);
        Select(panel, 3);
        QCOMPARE(panel.txtLayerNome->text(), QString(31, 'N'));
    }

    void renamingTheCurrentLayerKeepsItCurrent() {
        TQVCmp2D cad;
        cad.SetCurrentLayer(2);
        LayerPanel panel(cad);
        Select(panel, 2);
        TypeName(panel, "Walls");
        QCOMPARE(panel.cboCurrentLayer->currentIndex(), 2);
        QCOMPARE(panel.cboCurrentLayer->currentText(), QString("2 - Walls"));
        QCOMPARE(int(cad.CurrentLayer()), 2);
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
        Select(panel, row);
        repaints.clear();
        panel.chkLayerVis->setChecked(false);
        QVERIFY(!Layer(cad, row).Visible());
        QVERIFY(!Layer(cad, row).Active());
        QCOMPARE(repaints.count(), 1);
        panel.PenSizeEdt->setValue(7);
        QCOMPARE(Layer(cad, row).Pen().Width, 7);
        panel.cboLayerColor->setCurrentIndex(panel.cboLayerColor->findText("Red"));
        emit panel.cboLayerColor->colorPicked(clRed);
        QCOMPARE(Layer(cad, row).Pen().Color, clRed);
        QCOMPARE(Layer(cad, row).Brush().Color, clRed);
        panel.chkLayerVis->setChecked(true);
        QVERIFY(Layer(cad, row).Visible() && Layer(cad, row).Active());
        QCOMPARE(Layer(cad, 1).Pen().Width, 1);  // the others stay as they were
    }

    void aColourOutsideTheStandardListSurvivesAnEdit() {
        TQVCmp2D cad;
        const TColor own = RGBColor(18, 52, 86);
        cad.SetDefaultLayersColor(own);  // the default layer colour may be any value
        PenAttributes red;
        red.Color = clRed;
        Layer(cad, 10).SetPen(red);
        LayerPanel panel(cad);
        Select(panel, 9);
        QCOMPARE(panel.cboLayerColor->color(), own);
        panel.PenSizeEdt->setValue(3);
        panel.chkLayerVis->setChecked(false);
        QCOMPARE(Layer(cad, 9).Pen().Color, own);
        QCOMPARE(Layer(cad, 9).Brush().Color, own);
        Select(panel, 10);  // a standard colour, then back
        Select(panel, 9);
        QCOMPARE(panel.cboLayerColor->color(), own);
    }

    void withNoRowSelectedNothingIsWritten() {
        TQVCmp2D cad;
        LayerPanel panel(cad);
        panel.LayersList->setCurrentRow(-1);
        panel.chkLayerVis->setChecked(!panel.chkLayerVis->isChecked());
        panel.PenSizeEdt->setValue(9);
        TypeName(panel, "Lost");
        for (int i = 0; i < 256; ++i) {
            QVERIFY(Layer(cad, i).Visible());
            QCOMPARE(Layer(cad, i).Pen().Width, 1);
            QVERIFY(!Layer(cad, i).Modified());
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    LayerPanelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LayerPanelTest.moc"
