#include "accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "skin_picture.h"
#include "skinned_window.h"

namespace ep {
namespace {

const char* const kRole = "epAccessibleRole";
const char* const kSelected = "epAccessibleSelected";
const char* const kExpanded = "epAccessibleExpanded";
const char* const kDefault = "epAccessibleDefault";
const char* const kHidden = "epAccessibleHidden";

QAccessible::Role RoleOf(const QWidget* widget, QAccessible::Role otherwise) {
    const QVariant role = widget->property(kRole);
    return role.isValid() ? static_cast<QAccessible::Role>(role.toInt()) : otherwise;
}

bool OwnClass(const QMetaObject* meta) { return QByteArray(meta->className()).startsWith("ep::"); }

// A panel of the program or a plain QWidget: what lies under the program's
// own classes is QWidget or QFrame itself, not a control Qt describes.
bool IsPanel(const QWidget* widget) {
    const QMetaObject* meta = widget->metaObject();
    while (meta && OwnClass(meta)) meta = meta->superClass();
    return meta == &QWidget::staticMetaObject || meta == &QFrame::staticMetaObject;
}

// A picture with nothing on it and no name of its own: frame pieces, strips, icons.
bool Decoration(const QWidget* widget) {
    if (!qobject_cast<const SkinImage*>(widget) || !widget->accessibleName().isEmpty()) return false;
    for (const QObject* child : widget->children()) {
        if (child->isWidgetType()) return false;
    }
    return true;
}

bool Exposed(const QWidget* widget) {
    return !widget->isWindow() && !widget->property(kHidden).toBool() && !Decoration(widget);
}

void Announce(QWidget* widget, const QAccessible::State& changed) {
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

// A window or panel: its children without the decorations.
class PanelAccessible : public QAccessibleWidget {
public:
    // `byPosition`: children in reading order, top to bottom and left to
    // right, rather than in the order they are stacked.
    PanelAccessible(QWidget* widget, QAccessible::Role role, bool byPosition = false)
        : QAccessibleWidget(widget, role), byPosition_(byPosition) {}

    QAccessible::Role role() const override { return RoleOf(widget(), QAccessibleWidget::role()); }
    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = Children();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || !child->object() || !child->object()->isWidgetType()) return -1;
        return static_cast<int>(Children().indexOf(static_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> Children() const {
        QList<QWidget*> shown;
        for (QObject* child : widget()->children()) {
            if (!child->isWidgetType()) continue;
            auto* w = static_cast<QWidget*>(child);
            if (Exposed(w)) shown << w;
        }
        if (byPosition_) {
            std::stable_sort(shown.begin(), shown.end(), [](const QWidget* a, const QWidget* b) {
                return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
            });
        }
        return shown;
    }

    bool byPosition_;
};

// A skinned window: a frame, or for the pop-up a dialog or an alert. Its
// tabs and pages are raised and lowered as they are chosen: the tree keeps
// them in reading order.
class WindowAccessible : public PanelAccessible {
public:
    explicit WindowAccessible(SkinnedWindow* window) : PanelAccessible(window, QAccessible::Window, true) {}

    QAccessible::State state() const override {
        QAccessible::State state = PanelAccessible::state();
        state.modal = widget()->isModal();
        // Only a paper window in its normal state can be resized.
        auto* window = static_cast<SkinnedWindow*>(widget());
        state.sizeable = window->kind() == WindowKind::Paper && !window->isMaximized();
        return state;
    }
};

// The states a control carries in its properties.
void AddPropertyStates(const QWidget* widget, QAccessible::Role role, QAccessible::State& state) {
    const QVariant selected = widget->property(kSelected);
    if (selected.isValid()) {
        state.selectable = true;
        state.selected = selected.toBool();
        if (role == QAccessible::RadioButton) {
            state.checkable = true;
            state.checked = selected.toBool();
        }
    }
    const QVariant expanded = widget->property(kExpanded);
    if (expanded.isValid()) {
        state.expandable = true;
        state.expanded = expanded.toBool();
        state.collapsed = !expanded.toBool();
    }
    if (widget->property(kDefault).toBool()) state.defaultButton = true;
}

// A picture button, tab, topic or section bar of the program. Its caption
// labels are how it looks, not parts of it.
class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QAbstractButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::Role role() const override { return RoleOf(widget(), QAccessible::Button); }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return widget()->accessibleName().isEmpty() ? WithoutMnemonic(Button()->text())
                                                            : widget()->accessibleName();
            case QAccessible::Accelerator:
                return QKeySequence::mnemonic(Button()->text()).toString(QKeySequence::NativeText);
            case QAccessible::Description: {
                // A tool tip that only repeats the name is not said twice.
                const QString description = QAccessibleWidget::text(t);
                return description == text(QAccessible::Name) ? QString() : description;
            }
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = Button()->isDown();
        if (Button()->isCheckable()) {
            state.checkable = true;
            state.checked = Button()->isChecked();
        }
        AddPropertyStates(widget(), role(), state);
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            // Clicked from the event loop, not inside the bus's call: a click
            // that opens a pop-up waits for the pupil, and the screen reader
            // must have its answer first.
            if (Button()->isEnabled()) QMetaObject::invokeMethod(Button(), &QAbstractButton::click, Qt::QueuedConnection);
            return;
        }
        QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        const QString key = text(QAccessible::Accelerator);
        if (action == pressAction() && !key.isEmpty()) return {key};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

// A label that works as a link: pressing it is what Enter on it does.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (auto* label = qobject_cast<QLabel*>(widget())) return label->text();
        }
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (!widget()->isEnabled()) return;
        // Posted, as a button's click is: what the link opens may wait for the pupil.
        QCoreApplication::postEvent(widget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    // Decided once, for the object's own class; the rest is Qt's.
    if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className())) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (auto* window = qobject_cast<SkinnedWindow*>(widget)) return new WindowAccessible(window);
    if (RoleOf(widget, QAccessible::NoRole) == QAccessible::Link) return new LinkAccessible(widget);
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && OwnClass(widget->metaObject())) {
        return new ButtonAccessible(button);
    }
    if (IsPanel(widget)) {
        const bool picture = qobject_cast<SkinImage*>(widget) && !widget->accessibleName().isEmpty();
        return new PanelAccessible(widget, picture ? QAccessible::Graphic : QAccessible::Client);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

void SetAccessibleRole(QWidget* widget, QAccessible::Role role) { widget->setProperty(kRole, static_cast<int>(role)); }

void SetAccessibleSelected(QWidget* widget, bool selected) {
    const QVariant old = widget->property(kSelected);
    widget->setProperty(kSelected, selected);
    if (old.isValid() && old.toBool() == selected) return;
    QAccessible::State changed;
    changed.selected = true;
    changed.checked = RoleOf(widget, QAccessible::NoRole) == QAccessible::RadioButton;
    Announce(widget, changed);
}

void SetAccessibleExpanded(QWidget* widget, bool expanded) {
    const QVariant old = widget->property(kExpanded);
    widget->setProperty(kExpanded, expanded);
    if (old.isValid() && old.toBool() == expanded) return;
    QAccessible::State changed;
    changed.expanded = true;
    changed.collapsed = true;
    Announce(widget, changed);
}

void SetAccessibleDefault(QWidget* button, bool isDefault) {
    if (button->property(kDefault).toBool() == isDefault) return;
    button->setProperty(kDefault, isDefault);
    QAccessible::State changed;
    changed.defaultButton = true;
    Announce(button, changed);
}

void HideFromAccessibility(QWidget* widget) { widget->setProperty(kHidden, true); }

QString WithoutMnemonic(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) text.remove(i, 1);  // "&&" keeps one
    }
    return text;
}

}  // namespace ep
