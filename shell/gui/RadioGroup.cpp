#include "shell/gui/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace calvoro {

RadioGroup::RadioGroup(QWidget* parent)
    : QGroupBox(parent), buttons_(new QButtonGroup(this)), layout_(new QVBoxLayout(this)) {
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) emit itemIndexChanged(id);
    });
}

QStringList RadioGroup::items() const {
    QStringList texts;
    for (int i = 0; QAbstractButton* button = buttons_->button(i); ++i) texts << button->text();
    return texts;
}

void RadioGroup::setItems(const QStringList& items) {
    const int count = static_cast<int>(items.size());
    for (int i = static_cast<int>(buttons_->buttons().size()) - 1; i >= count; --i) {
        QAbstractButton* button = buttons_->button(i);
        buttons_->removeButton(button);
        delete button;
    }
    for (int i = 0; i < count; ++i) {
        QAbstractButton* button = buttons_->button(i);
        if (!button) {
            button = new QRadioButton(this);
            layout_->addWidget(button);
            buttons_->addButton(button, i);
        }
        button->setText(items[i]);
    }
}

int RadioGroup::itemIndex() const {
    return buttons_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* button = buttons_->button(index)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = buttons_->checkedButton()) {
        // An exclusive group cannot uncheck its last button by itself.
        buttons_->setExclusive(false);
        checked->setChecked(false);
        buttons_->setExclusive(true);
        emit itemIndexChanged(-1);
    }
}

}  // namespace calvoro
