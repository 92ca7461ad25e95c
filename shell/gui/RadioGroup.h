// A framed group of radio buttons chosen by index, its buttons made from a
// list of texts. The language files translate its texts item by item through
// the `items` property.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QVBoxLayout;

namespace calvoro {

class RadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex NOTIFY itemIndexChanged)
public:
    explicit RadioGroup(QWidget* parent = nullptr);

    QStringList items() const;
    // New texts keep the buttons that exist, so the choice survives a
    // translation; buttons are added or removed only when the count changes.
    void setItems(const QStringList& items);

    // -1 when no button is checked.
    int itemIndex() const;
    void setItemIndex(int index);

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup* buttons_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
};

}  // namespace calvoro
