#pragma once

// Records the events a control raises, one short line each, in order.

#include "platform/TControlEvents.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace eventtest {

inline QString buttonName(Qt::MouseButton button)
{
    return button == Qt::LeftButton ? "L" : button == Qt::RightButton ? "R" : "M";
}

// Every handler of control appends "name:event" to log; mouse events add
// the button and position, key events the key or character.
inline void record(platform::TControlEvents &control, const QString &name, QStringList &log)
{
    control.OnClick = [&log, name](QObject *) { log << name + ":click"; };
    control.OnDblClick = [&log, name](QObject *) { log << name + ":dblclick"; };
    control.OnEnter = [&log, name](QObject *) { log << name + ":enter"; };
    control.OnExit = [&log, name](QObject *) { log << name + ":exit"; };
    control.OnMouseDown = [&log, name](QObject *, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
        log << QString("%1:down %2 %3,%4").arg(name, buttonName(b)).arg(x).arg(y);
    };
    control.OnMouseUp = [&log, name](QObject *, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
        log << QString("%1:up %2 %3,%4").arg(name, buttonName(b)).arg(x).arg(y);
    };
    control.OnMouseMove = [&log, name](QObject *, Qt::KeyboardModifiers, int x, int y) {
        log << QString("%1:move %2,%3").arg(name).arg(x).arg(y);
    };
    control.OnKeyDown = [&log, name](QObject *, int &key, Qt::KeyboardModifiers) {
        log << QString("%1:keydown %2").arg(name).arg(key, 0, 16);
    };
    control.OnKeyPress = [&log, name](QObject *, QChar &key) { log << QString("%1:keypress %2").arg(name, key); };
    control.OnKeyUp = [&log, name](QObject *, int &key, Qt::KeyboardModifiers) {
        log << QString("%1:keyup %2").arg(name).arg(key, 0, 16);
    };
}

// Shows window and makes it the active one, so focus changes are real.
inline bool showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace eventtest
