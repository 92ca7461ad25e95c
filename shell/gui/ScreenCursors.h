// The program's own mouse cursors, numbered as the view commands ask for
// them: 1 pan, 2 cross, then the cross with the mark of the object snap in
// force (3 end point, 4 mid point, 5 centre, 6 point). Made once at start.
// One cursor is in force for the whole program at a time; 0 gives the
// desktop's own back.
#pragma once

#include <QCursor>

namespace calvoro {

inline constexpr int kScreenCursorCount = 6;

// Makes the six cursors; later calls do nothing.
void InstallScreenCursors();
// Cursor 1 to 6; the arrow for any other number.
QCursor ScreenCursor(int number);
// Puts cursor `number` in force over the whole program, or takes the
// program's cursor away for 0. Only one level: setting a cursor replaces the
// one before.
void SetScreenCursor(int number);
int CurrentScreenCursor();

}  // namespace calvoro
