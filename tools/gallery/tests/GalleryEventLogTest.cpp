#include "GalleryEventLog.h"

#include "coolctrls/TCoolBtn.h"
#include "coolctrls/TCoolPanel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using gallery::GalleryEventLog;

TEST(GalleryEventLog, NamesTheControlsByKindAndKeepsThePagesHandlers)
{
    QWidget page;
    page.resize(300, 200);
    auto *panel = new coolctrls::TCoolPanel(&page);
    panel->setGeometry(0, 0, 100, 50);
    auto *second = new coolctrls::TCoolPanel(&page);
    second->setGeometry(0, 60, 100, 50);
    auto *button = new coolctrls::TCoolBtn(&page);
    button->move(150, 10);
    int pageHandler = 0;
    button->OnClick = [&](QObject *) { ++pageHandler; };
    GalleryEventLog log(&page, 3);
    log.watchAll(&page);
    page.show();

    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(log.lines(), QStringList({"OnMouseDown Panel2 (10, 10)", "OnClick Panel2", "OnMouseUp Panel2 (10, 10)"}))
        << "as the toolkit raises them: the click before the release";
    button->click();
    EXPECT_EQ(log.lines().last(), "OnClick Btn1");
    EXPECT_EQ(pageHandler, 1) << "the page's own handler still runs";

    // Mouse moves over one control share a line; the log keeps its last
    // three lines.
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 6), panel->mapToGlobal(QPointF(5, 6)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    QMouseEvent moveOn(QEvent::MouseMove, QPointF(7, 8), panel->mapToGlobal(QPointF(7, 8)), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &moveOn);
    EXPECT_EQ(log.lines().last(), "OnMouseMove Panel1 (7, 8)");
    EXPECT_EQ(log.lines().size(), 3);
    EXPECT_EQ(log.toPlainText().split('\n'), log.lines());
}
