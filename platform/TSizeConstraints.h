#pragma once

#include "platform/Events.h"

#include <QObject>

class QWidget;

namespace platform {

// The size limits of a control: the least and the greatest width and
// height, 0 meaning no limit. Raising a minimum above its maximum raises the
// maximum with it, and lowering a maximum below its minimum lowers the
// minimum, so the limits never contradict each other. Applied to the
// control as Qt's minimum and maximum size, which every resize, layout and
// alignment keeps.
class TSizeConstraints : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int MaxHeight READ MaxHeight WRITE setMaxHeight)
    Q_PROPERTY(int MaxWidth READ MaxWidth WRITE setMaxWidth)
    Q_PROPERTY(int MinHeight READ MinHeight WRITE setMinHeight)
    Q_PROPERTY(int MinWidth READ MinWidth WRITE setMinWidth)
public:
    // control: the widget whose limits these are (also the owner).
    explicit TSizeConstraints(QWidget *control);

    int MaxHeight() const { return m_maxHeight; }
    void setMaxHeight(int value);
    int MaxWidth() const { return m_maxWidth; }
    void setMaxWidth(int value);
    int MinHeight() const { return m_minHeight; }
    void setMinHeight(int value);
    int MinWidth() const { return m_minWidth; }
    void setMinWidth(int value);

    // Takes the four values of another set of constraints.
    void Assign(const TSizeConstraints &source);

    // Raised after the limits changed and were applied to the control.
    TNotifyEvent OnChange;

private:
    // Stores a limit; the other limit of the same dimension follows when the
    // two would contradict.
    void setMaximum(int &maximum, int &minimum, int value);
    void setMinimum(int &minimum, int &maximum, int value);
    void changed();

    QWidget *m_control;
    int m_maxHeight = 0;
    int m_maxWidth = 0;
    int m_minHeight = 0;
    int m_minWidth = 0;
};

} // namespace platform
