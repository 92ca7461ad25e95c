// The picture shown while the program starts: borderless, centred, half
// transparent where the desktop can blend windows.
#pragma once

#include <QSplashScreen>

namespace calvoro {

class SplashScreen : public QSplashScreen {
    Q_OBJECT
public:
    SplashScreen();
    // Closes itself after `milliseconds` of the running event loop.
    void closeAfter(int milliseconds);
};

}  // namespace calvoro
