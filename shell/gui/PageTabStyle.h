// The look of the work panel's tabs: each tab a plain frame in the panel's
// text colour with its caption near the top left corner, as the program has
// always drawn them.
#pragma once

#include <QProxyStyle>

namespace calvoro {

class PageTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

}  // namespace calvoro
