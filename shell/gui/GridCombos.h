// The spacing boxes of the grid and snap settings, wherever they stand (the
// grid dialog, the grid page, the snap boxes beside the view): one pair of
// editable boxes for X and Y and the check box that couples them, bound to
// the shared coupling rule.
#pragma once

#include "shell/app/GridCoupling.h"

class QCheckBox;
class QComboBox;
class QObject;
class QWidget;

namespace calvoro {

// The values offered in every spacing box; any other may be typed.
extern const char* const kGridSpacingItems[15];

// Makes an editable spacing box with the offered values.
QComboBox* MakeSpacingBox(const char* name, QWidget* parent);

// Only the user's own changes act (typing, or choosing from the list), so
// boxes filled by code neither change a value nor set off their partner. A
// box left holding no spacing reports it and shows the spacing in force.
// `coupling` and the widgets must outlive `context`'s connections.
void BindGridPair(QObject* context, GridCoupling& coupling, QComboBox* xBox, QComboBox* yBox, QCheckBox* same,
                  GridField xField);

// Puts the value in force into a box without telling anyone.
void ShowSpacing(QComboBox* box, double value);

}  // namespace calvoro
