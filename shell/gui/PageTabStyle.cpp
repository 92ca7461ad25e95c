// Owner-drawn page tabs.
#include "shell/gui/PageTabStyle.h"

#include <QPainter>
#include <QStyleOptionTab>

namespace calvoro {

void PageTabStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option);
    if (element != CE_TabBarTab || tab == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const QRect r = tab->rect;
    painter->save();
    if (tab->state & State_Selected) painter->fillRect(r.adjusted(2, 2, 0, -2), tab->palette.base());
    painter->setPen(tab->palette.color(QPalette::WindowText));
    painter->drawRect(QRect(QPoint(r.left() + 2, r.top() + 2), QPoint(r.right(), r.bottom() - 2)));
    painter->drawText(QRect(QPoint(r.left() + 5, r.top() + 5), r.bottomRight()), Qt::AlignLeft | Qt::AlignTop,
                      tab->text);
    painter->restore();
}

}  // namespace calvoro
