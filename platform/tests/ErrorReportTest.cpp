// The error routine: where an error goes (reporter, display, standard
// error), its caption, and the standard error box the application installs.
#include "platform/Application.h"
#include "platform/testing/ErrorCapture.h"
#include "platform/testing/ErrorDisplayCapture.h"

#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace platform;
using Shown = std::vector<std::pair<QString, QString>>;

TEST(ErrorRoutine, ReporterFirstThenDisplayWithTheApplicationNameOrTheGivenCaption)
{
    const QString app = QCoreApplication::applicationName();
    testsupport::ErrorDisplayCapture display;
    showError(QStringLiteral("plain"));
    showError(QStringLiteral("with caption"), QStringLiteral("Error"));
    guarded([] { throw std::runtime_error("thrown"); });
    EXPECT_EQ(display.shown(), (Shown{{app, "plain"}, {"Error", "with caption"}, {app, "thrown"}}));

    {
        testsupport::ErrorCapture captured;
        showError(QStringLiteral("captured"), QStringLiteral("Error"));
        EXPECT_EQ(captured.messages(), QStringList{"captured"});
    }
    EXPECT_EQ(display.shown().size(), 3u) << "a reporter keeps errors from the display";
    showError(QStringLiteral("after"));
    EXPECT_EQ(display.shown().back(), std::make_pair(app, QStringLiteral("after")));
}

TEST(ErrorRoutine, WithoutDisplayTheErrorGoesToStandardError)
{
    testsupport::ErrorDisplayCapture noReporter;
    const ErrorDisplay previous = setErrorDisplay({});
    ::testing::internal::CaptureStderr();
    showError(QStringLiteral("Value must be between 0 and 100"), QStringLiteral("Error"));
    const std::string written = ::testing::internal::GetCapturedStderr();
    setErrorDisplay(previous);
    EXPECT_EQ(written, "Error: Value must be between 0 and 100\n");
    EXPECT_TRUE(noReporter.shown().empty());
}

TEST(ErrorRoutine, TheApplicationShowsTheStandardErrorBox)
{
    // Only the reporter is taken away: the display is the application's box.
    const ErrorReporter reporter = setErrorReporter({});
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // Runs inside the box's modal loop; looks until the box is up.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (box && box->isVisible()) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                box->accept();
                closer.stop();
            }
        }
    });
    closer.start(10);
    showError(QStringLiteral("Value must be between -100 and 100"), QStringLiteral("Error"));
    setErrorReporter(reporter);
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(text, "Value must be between -100 and 100");
    EXPECT_EQ(icon, QMessageBox::Critical);
}
