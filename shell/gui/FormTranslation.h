// Puts the texts of the language file onto the forms. A form's section is its
// objectName; its components are found by objectName too, and each may have a
// Caption, a Hint and numbered items:
//
//   Caption  the form's title; the text of labels and buttons, the title of
//            group boxes and menus, the text of actions, the caption of a page
//            of a tab widget, and any "caption" property of our own widgets.
//            Edits, spin boxes, combo boxes and memos have none.
//   Hint     the tooltip, which shows the part before the first "|"; actions
//            also get the part after it (or the whole) as their status tip.
//   items[j] item j of a combo box (not of a colour box, whose items are
//            colours) or of a widget with an `items` string list property,
//            such as RadioGroup; items beyond the control's count are ignored.
//
// An empty or missing text keeps the control as it is, except that a text a
// previous language put there goes back to the control's own design text, so
// a window never shows two languages at once.
#pragma once

#include <QList>
#include <QString>
#include <string_view>

class QObject;
class QWidget;

namespace calvoro {

// Translates each form (null entries are skipped). Without a language file it
// reports "Language file not found!" and the file name once, and changes
// nothing.
void TranslateForms(const QList<QWidget*>& forms);

// Sets the "Caption" or "Hint" (names compared without regard to case) of a
// component when the value is not empty and the component has one. Returns
// whether it did.
bool SetStringPropIfPresent(QObject* component, std::string_view propName, const QString& value);

// Whether the component has that text at all.
bool HasStringProp(const QObject* component, std::string_view propName);

// The number of items a language file may translate; -1 when it has none.
int TranslatableItemCount(const QObject* component);

// The components of a form that the language file can name: its descendants,
// without the windows it owns (dialogs) and their contents. Menus belong to it.
QList<QObject*> FormComponents(QWidget* form);

}  // namespace calvoro
