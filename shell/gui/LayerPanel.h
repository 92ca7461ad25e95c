// The layer page of the work panel: the 256 layers of the drawing, the name,
// pen width, colour and visibility of the one selected in the list, and the
// current layer that new objects go on. Changes go into the layer at once and
// the view is redrawn.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QToolButton;

namespace calvoro {

class ColorBox;
class TQVCmp;

class LayerPanel : public QWidget {
    Q_OBJECT
public:
    explicit LayerPanel(TQVCmp& cad, QWidget* parent = nullptr);

    // Fills both lists from the drawing and keeps the selected row (the
    // current layer when none is); each show of the page starts at the
    // current layer.
    void FillLists();

    void SetCurrentLayer(int index);
    void ApplyLayerPanel(int index);
    void LoadLayerPanel(int index);

    QListWidget* LayersList = nullptr;
    QLineEdit* txtLayerNome = nullptr;
    QSpinBox* PenSizeEdt = nullptr;
    QCheckBox* chkLayerVis = nullptr;
    ColorBox* cboLayerColor = nullptr;
    QComboBox* cboCurrentLayer = nullptr;
    QToolButton* SpeedButton12 = nullptr;

signals:
    // A layer was changed or loaded: the 2D view is to be drawn again.
    void repaintRequested();
    // The close button of the page.
    void closeRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ApplyAndReload();
    void NameChanged(const QString& text);
    int SelectedRow() const;

    TQVCmp& cad_;
    // Set while code fills the controls, so that filling them from a layer
    // does not write back into it.
    bool updatingControls_ = false;
};

}  // namespace calvoro
