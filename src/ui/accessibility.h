#pragma once

// How the program's own controls present themselves to assistive technology
// (a screen reader reads them through AT-SPI): the roles, states and actions
// Qt cannot know of picture buttons, tabs drawn from pictures, a link label
// or a drawn chart, and the decorations that stay out of the tree.

#include <QAccessible>
#include <QString>

class QWidget;

namespace ep {

// Puts the program's interfaces in place; every skinned window calls it, so
// they are there before any control is asked for. Safe to call again.
void InstallAccessibility();

// The role a control shows instead of the one its class gives it: a tab is a
// page tab, a topic a radio button, the trend chart a chart, a label a link.
// Set it as soon as the control exists, before its text: Qt asks for a
// control's interface, and keeps it, when its text first changes.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

// States a picture shows only to the eye; each change is announced.
void SetAccessibleSelected(QWidget* widget, bool selected);  // the chosen tab or topic
void SetAccessibleExpanded(QWidget* widget, bool expanded);  // an open or closed section
void SetAccessibleDefault(QWidget* button, bool isDefault);  // the button Enter presses

// Keeps a decoration out of the accessibility tree: a caption that repeats its
// button's name, a tick that its answer box already describes, the title text
// that names its window. Its parent must be a window or a plain panel.
void HideFromAccessibility(QWidget* widget);

// A caption as said and shown plainly: "&Yes" is "Yes", "&&" one "&".
QString WithoutMnemonic(QString text);

}  // namespace ep
