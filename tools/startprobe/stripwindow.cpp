// The reference of the Information page's ticker cost: a bare Qt window of
// the main window's size (617 x 341) whose only child repaints a strip of
// WIDTH x 14 pixels (default 602, the credits' strip) 40 times a second from
// a QTimer, the strip's content moved by one pixel each time. It shows what
// Qt's repaint and flush to the X server cost without the program's tick or
// its timer thread.
#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

namespace {

class Strip : public QWidget
{
public:
    Strip(int stripWidth, QWidget *parent)
        : QWidget(parent), m_width(stripWidth), m_text(2 * stripWidth, 14, QImage::Format_RGB32)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(8, 300, 770, 22);
        // Stripes of ink and gaps, like letters: every column changes as it
        // moves.
        for (int y = 0; y < m_text.height(); ++y)
            for (int x = 0; x < m_text.width(); ++x)
                m_text.setPixel(x, y, (x / 3 + y / 5) % 3 ? 0xff203040u : 0xffe0d0c0u);
    }

    void Tick()
    {
        m_offset = (m_offset + 1) % m_width;
        repaint(QRect(0, 4, m_width, 14));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter p(this);
        p.drawImage(event->rect().topLeft(), m_text, event->rect().translated(m_offset, -4));
    }

private:
    int m_width;
    QImage m_text;
    int m_offset = 0;
};

} // namespace

int main(int argc, char **argv)
{
    // As the program does: the strip's pixels in the X request, no shared
    // memory and its round trip.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication application(argc, argv);
    const int stripWidth = argc > 1 ? std::atoi(argv[1]) : 602;
    QWidget window;
    window.setFixedSize(617, 341);
    Strip strip(stripWidth > 0 ? qMin(stripWidth, 770) : 602, &window);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &strip, &Strip::Tick);
    timer.start(25);
    window.show();
    return application.exec();
}
