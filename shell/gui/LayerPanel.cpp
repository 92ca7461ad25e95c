#include "shell/gui/LayerPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "kernel/drawing/QVCmp.h"
#include "shell/app/LayerPanelModel.h"
#include "shell/gui/ColorBox.h"

namespace calvoro {

namespace {
template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QString RowText(int index, const QString& name) {
    return QString::fromStdString(LayerRowText(index, name.toStdString()));
}
}  // namespace

LayerPanel::LayerPanel(TQVCmp& cad, QWidget* parent) : QWidget(parent), cad_(cad) {
    setObjectName("tabLayer");
    LayersList = Named(new QListWidget(this), "LayersList");
    txtLayerNome = Named(new QLineEdit(this), "txtLayerNome");
    PenSizeEdt = Named(new QSpinBox(this), "PenSizeEdt");
    PenSizeEdt->setRange(1, 10);
    PenSizeEdt->setValue(1);
    chkLayerVis = Named(new QCheckBox("Layer Visible", this), "chkLayerVis");
    cboLayerColor = Named(new ColorBox(this), "cboLayerColor");
    cboCurrentLayer = Named(new QComboBox(this), "cboCurrentLayer");
    SpeedButton12 = Named(new QToolButton(this), "SpeedButton12");
    SpeedButton12->setText("Close");

    auto* form = new QFormLayout;
    form->addRow(Named(new QLabel("Name:", this), "lblLayerNome"), txtLayerNome);
    form->addRow(Named(new QLabel("Pen width:", this), "lblPenSize"), PenSizeEdt);
    form->addRow(Named(new QLabel("Colour:", this), "lblLayerColor"), cboLayerColor);
    form->addRow(chkLayerVis);
    form->addRow(Named(new QLabel("Current layer:", this), "lblCurrentLayer"), cboCurrentLayer);
    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(SpeedButton12);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LayersList, 1);
    layout->addLayout(form);

    // Handlers act only on the user's own changes and never with no row
    // selected.
    connect(LayersList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) LoadLayerPanel(row);
    });
    connect(cboLayerColor, &ColorBox::colorPicked, this, [this] { ApplyAndReload(); });
    connect(PenSizeEdt, &QSpinBox::valueChanged, this, [this] { ApplyAndReload(); });
    connect(chkLayerVis, &QCheckBox::toggled, this, [this] { ApplyAndReload(); });
    connect(cboCurrentLayer, &QComboBox::activated, this, [this](int index) { SetCurrentLayer(index); });
    connect(txtLayerNome, &QLineEdit::textChanged, this, &LayerPanel::NameChanged);
    connect(SpeedButton12, &QToolButton::clicked, this, &LayerPanel::closeRequested);
    FillLists();
}

int LayerPanel::SelectedRow() const {
    return LayersList->currentRow();
}

void LayerPanel::FillLists() {
    const QSignalBlocker listBlocker(LayersList);
    const QSignalBlocker comboBlocker(cboCurrentLayer);
    const int selected = SelectedRow();
    LayersList->clear();
    cboCurrentLayer->clear();
    for (int i = 0; i < TLayers::Count; ++i) {
        const QString row =
            RowText(i, QString::fromStdString(cad_.Layers().LayerByIndex(static_cast<std::uint8_t>(i)).Name()));
        LayersList->addItem(row);
        cboCurrentLayer->addItem(row);
    }
    cboCurrentLayer->setCurrentIndex(cad_.CurrentLayer());
    const int row = selected >= 0 ? selected : cad_.CurrentLayer();
    LayersList->setCurrentRow(row);
    LoadLayerPanel(row);
}

void LayerPanel::SetCurrentLayer(int index) {
    if (index < 0 || index >= TLayers::Count) return;
    cad_.SetCurrentLayer(index);
}

void LayerPanel::ApplyLayerPanel(int index) {
    if (index < 0 || index >= TLayers::Count) return;
    calvoro::ApplyLayerPanel(
        cad_.Layers().LayerByIndex(static_cast<std::uint8_t>(index)),
        {txtLayerNome->text().toStdString(), PenSizeEdt->value(), cboLayerColor->color(), chkLayerVis->isChecked()});
}

void LayerPanel::LoadLayerPanel(int index) {
    if (index < 0 || index >= TLayers::Count) return;
    const LayerPanelValues values =
        calvoro::LoadLayerPanel(cad_.Layers().LayerByIndex(static_cast<std::uint8_t>(index)));
    const bool wasUpdating = updatingControls_;
    updatingControls_ = true;
    {
        const QSignalBlocker spinBlocker(PenSizeEdt);
        const QSignalBlocker checkBlocker(chkLayerVis);
        txtLayerNome->setText(QString::fromStdString(values.Name));
        PenSizeEdt->setValue(values.PenWidth);
        // A colour outside the standard list shows as the box's custom entry,
        // so writing the layer back keeps its colour.
        cboLayerColor->setColor(values.Color);
        chkLayerVis->setChecked(values.Visible);
    }
    updatingControls_ = wasUpdating;
    emit repaintRequested();
}

void LayerPanel::ApplyAndReload() {
    if (updatingControls_) return;
    const int row = SelectedRow();
    if (row < 0) return;
    updatingControls_ = true;
    ApplyLayerPanel(row);
    LoadLayerPanel(row);
    updatingControls_ = false;
}

void LayerPanel::NameChanged(const QString& text) {
    if (updatingControls_) return;
    const int row = SelectedRow();
    if (row < 0) return;
    // The lists show the name as typed; the layer keeps what fits.
    const QString rowText = RowText(row, text);
    LayersList->item(row)->setText(rowText);
    const QSignalBlocker blocker(cboCurrentLayer);
    cboCurrentLayer->setItemText(row, rowText);
    cboCurrentLayer->setCurrentIndex(cad_.CurrentLayer());
    cad_.Layers().LayerByIndex(static_cast<std::uint8_t>(row)).SetLayerName(CutLayerName(text.toStdString()));
}

void LayerPanel::showEvent(QShowEvent* event) {
    // The page opens at the layer that new drawing goes on.
    {
        const QSignalBlocker blocker(LayersList);
        LayersList->setCurrentRow(-1);
    }
    FillLists();
    QWidget::showEvent(event);
}

}  // namespace calvoro
