#include "shell/gui/FormTranslation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMetaProperty>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVariant>
#include <functional>
#include <optional>

#include "kernel/platform/IniFileDocument.h"
#include "shell/gui/Application.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

struct TextSlot {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

QTabWidget* TabWidgetOf(QWidget* page) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    return tabs && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

// A string property "caption" of our own widgets (panels with a title).
std::optional<QMetaProperty> CaptionProperty(const QObject* object) {
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty("caption");
    if (index < 0) return std::nullopt;
    const QMetaProperty property = meta->property(index);
    if (!property.isWritable() || property.metaType().id() != QMetaType::QString) return std::nullopt;
    return property;
}

std::optional<TextSlot> CaptionSlot(QObject* object) {
    if (auto* menu = qobject_cast<QMenu*>(object))
        return TextSlot{[menu] { return menu->title(); }, [menu](const QString& t) { menu->setTitle(t); }};
    if (auto* action = qobject_cast<QAction*>(object))
        return TextSlot{[action] { return action->text(); }, [action](const QString& t) { action->setText(t); }};
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->isWindow())
        return TextSlot{[widget] { return widget->windowTitle(); },
                        [widget](const QString& t) { widget->setWindowTitle(t); }};
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return TextSlot{[button] { return button->text(); }, [button](const QString& t) { button->setText(t); }};
    if (auto* label = qobject_cast<QLabel*>(object))
        return TextSlot{[label] { return label->text(); }, [label](const QString& t) { label->setText(t); }};
    if (auto* group = qobject_cast<QGroupBox*>(object))
        return TextSlot{[group] { return group->title(); }, [group](const QString& t) { group->setTitle(t); }};
    if (widget) {
        if (QTabWidget* tabs = TabWidgetOf(widget)) {
            return TextSlot{[tabs, widget] { return tabs->tabText(tabs->indexOf(widget)); },
                            [tabs, widget](const QString& t) { tabs->setTabText(tabs->indexOf(widget), t); }};
        }
    }
    if (const std::optional<QMetaProperty> property = CaptionProperty(object)) {
        return TextSlot{[object, p = *property] { return p.read(object).toString(); },
                        [object, p = *property](const QString& t) { p.write(object, t); }};
    }
    return std::nullopt;
}

// The platform's hint rule: "short|long", the short part for the tooltip.
QString ShortHint(const QString& hint) {
    return hint.section(QLatin1Char('|'), 0, 0);
}
QString LongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

std::optional<TextSlot> HintSlot(QObject* object) {
    // A tool button that shows an action takes its hint from the action.
    if (auto* button = qobject_cast<QToolButton*>(object); button && button->defaultAction())
        object = button->defaultAction();
    if (auto* action = qobject_cast<QAction*>(object)) {
        return TextSlot{[action] {
                            const QString tip = action->toolTip();
                            const QString status = action->statusTip();
                            return status.isEmpty() || status == tip ? tip : tip + QLatin1Char('|') + status;
                        },
                        [action](const QString& hint) {
                            action->setToolTip(ShortHint(hint));
                            action->setStatusTip(LongHint(hint));
                        }};
    }
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        return TextSlot{[widget] { return widget->toolTip(); },
                        [widget](const QString& hint) { widget->setToolTip(ShortHint(hint)); }};
    }
    return std::nullopt;
}

std::optional<TextSlot> SlotByName(QObject* object, std::string_view propName) {
    const std::string name = FoldIniName(propName);
    if (name == "caption") return CaptionSlot(object);
    if (name == "hint") return HintSlot(object);
    return std::nullopt;
}

QComboBox* TranslatableCombo(QObject* object) {
    auto* combo = qobject_cast<QComboBox*>(object);
    return combo && !combo->inherits("calvoro::ColorBox") ? combo : nullptr;
}

bool HasItemsProperty(const QObject* object) {
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty("items");
    return index >= 0 && meta->property(index).isWritable() &&
           meta->property(index).metaType().id() == QMetaType::QStringList;
}

QStringList ItemsOf(QObject* object) {
    if (QComboBox* combo = TranslatableCombo(object)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }
    return object->property("items").toStringList();
}

void SetItems(QObject* object, const QStringList& items) {
    if (QComboBox* combo = TranslatableCombo(object)) {
        for (int i = 0; i < combo->count() && i < items.size(); ++i)
            if (combo->itemText(i) != items[i]) combo->setItemText(i, items[i]);
    } else {
        object->setProperty("items", items);
    }
}

// Each translated text remembers the control's design text and the text put
// there last. A control still showing the text put there last gets its design
// text back when the new language has none; a control whose text the program
// has changed since keeps that text, which becomes its design text.
constexpr char kMemoPrefix[] = "calvoroLanguage.";

QString RestingText(const QString& current, const QStringList& memo, qsizetype index = 0) {
    const qsizetype design = 2 * index;
    return memo.size() >= design + 2 && memo[design + 1] == current ? memo[design] : current;
}

void ApplyText(QObject* object, const char* slotName, const TextSlot& slot, const QString& value) {
    const QByteArray memoName = QByteArray(kMemoPrefix) + slotName;
    const QStringList memo = object->property(memoName.constData()).toStringList();
    const QString current = slot.get();
    const QString design = RestingText(current, memo);
    const QString wanted = value.isEmpty() ? design : value;
    if (wanted == current && memo.isEmpty()) return;  // never translated, nothing to remember
    if (wanted != current) slot.set(wanted);
    object->setProperty(memoName.constData(), QStringList{design, slot.get()});
}

void ApplyItems(QObject* object, const QString& section, const QString& name) {
    const QStringList current = ItemsOf(object);
    if (current.isEmpty()) return;
    const QByteArray memoName = QByteArray(kMemoPrefix) + "items";
    const QStringList memo = object->property(memoName.constData()).toStringList();
    QStringList wanted = current;
    QStringList designs;
    for (qsizetype j = 0; j < current.size(); ++j) {
        const QString design = RestingText(current[j], memo, j);
        const std::string key = (name + QStringLiteral(".items[%1]").arg(j)).toStdString();
        const QString value = QString::fromStdString(ReadLangText(section.toStdString(), key));
        wanted[j] = value.isEmpty() ? design : value;
        designs << design;
    }
    if (wanted == current && memo.isEmpty()) return;
    if (wanted != current) SetItems(object, wanted);
    const QStringList applied = ItemsOf(object);
    QStringList newMemo;
    for (qsizetype j = 0; j < designs.size() && j < applied.size(); ++j) newMemo << designs[j] << applied[j];
    object->setProperty(memoName.constData(), newMemo);
}

QString LangText(const QString& section, const QString& key) {
    return QString::fromStdString(ReadLangText(section.toStdString(), key.toStdString()));
}

void TranslateComponent(QObject* component, const QString& section) {
    const QString name = component->objectName();
    if (name.isEmpty()) return;
    if (const std::optional<TextSlot> caption = CaptionSlot(component))
        ApplyText(component, "caption", *caption, LangText(section, name + QStringLiteral(".Caption")));
    if (const std::optional<TextSlot> hint = HintSlot(component))
        ApplyText(component, "hint", *hint, LangText(section, name + QStringLiteral(".Hint")));
    if (TranslatableItemCount(component) > 0) ApplyItems(component, section, name);
}

void CollectComponents(QObject* parent, QList<QObject*>& components) {
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->isWindow() && !qobject_cast<QMenu*>(widget)) continue;
        components << child;
        CollectComponents(child, components);
    }
}

}  // namespace

QList<QObject*> FormComponents(QWidget* form) {
    QList<QObject*> components;
    if (form) CollectComponents(form, components);
    return components;
}

bool HasStringProp(const QObject* component, std::string_view propName) {
    return component && SlotByName(const_cast<QObject*>(component), propName).has_value();
}

bool SetStringPropIfPresent(QObject* component, std::string_view propName, const QString& value) {
    if (!component || value.isEmpty()) return false;
    const std::optional<TextSlot> slot = SlotByName(component, propName);
    if (!slot) return false;
    slot->set(value);
    return true;
}

int TranslatableItemCount(const QObject* component) {
    auto* object = const_cast<QObject*>(component);
    if (!object) return -1;
    if (QComboBox* combo = TranslatableCombo(object)) return combo->count();
    if (HasItemsProperty(object)) return static_cast<int>(object->property("items").toStringList().size());
    return -1;
}

void TranslateForms(const QList<QWidget*>& forms) {
    if (!LanguageFile()) {
        Application::reportError(QString::fromStdString(LanguageFileNotFoundText()));
        return;
    }
    for (QWidget* form : forms) {
        if (!form) continue;
        const QString section = form->objectName();
        if (const std::optional<TextSlot> caption = CaptionSlot(form))
            ApplyText(form, "caption", *caption, LangText(section, section + QStringLiteral(".Caption")));
        for (QObject* component : FormComponents(form)) TranslateComponent(component, section);
    }
}

}  // namespace calvoro
