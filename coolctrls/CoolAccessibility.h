#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace coolctrls {

// Makes the skinned controls speak for themselves through Qt's
// accessibility framework (and so to a screen reader over AT-SPI): labels,
// the scrolling text, panels and group boxes get the interfaces of their
// kind. Buttons, combo boxes, list boxes and memos derive from Qt's own
// widgets and keep Qt's interfaces. Every control calls this when it is
// made; registering more than once does nothing.
void RegisterCoolAccessibility();

// The factory registered: the interface for a skinned control of the class
// named, nullptr for any other object.
QAccessibleInterface *CoolAccessibleFactory(const QString &className, QObject *object);

} // namespace coolctrls
