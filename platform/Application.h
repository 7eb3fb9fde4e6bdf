#pragma once

// The GUI layer of the platform: the application object and the standard
// error box. The error routine and the message loop it builds on are
// non-visual and live in ErrorReport.h and MessageLoop.h (included here, so
// widget code needs only this header).

#include "platform/ErrorReport.h"
#include "platform/MessageLoop.h"

#include <QApplication>

namespace platform {

// The GUI application. Every event Qt delivers passes through notify(), so an
// exception that escapes an event handler ends up in the standard error box
// instead of unwinding through Qt's C frames; the program then goes on.
// While it exists, errors are shown in the standard error box.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    ~Application() override;
    bool notify(QObject *receiver, QEvent *event) override;

private:
    ErrorDisplay m_previousDisplay;
};

// Makes the standard error box (a critical message box over the active
// window) the error display of showError. For GUI programs whose application
// object is not an Application, e.g. a form designer hosting the components.
// Returns the display it replaced.
ErrorDisplay installErrorBox();

} // namespace platform
