#include "Application.h"

#include "GuiWaker.h"

#include <QMessageBox>

namespace platform {

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    GuiWaker::ensure();
    m_previousDisplay = installErrorBox();
}

Application::~Application()
{
    // No box can be shown once the application object is gone.
    setErrorDisplay(std::move(m_previousDisplay));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showException(std::current_exception());
        return false;
    }
}

ErrorDisplay installErrorBox()
{
    return setErrorDisplay([](const QString &caption, const QString &message) {
        QMessageBox::critical(QApplication::activeWindow(), caption, message);
    });
}

} // namespace platform
