// The reference of the start-up measurement: a bare Qt window of the main
// window's size (617 x 341) with two tab pages and nothing on them.
#include <QApplication>
#include <QTabWidget>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QTabWidget window;
    window.addTab(new QWidget(&window), "Quiz");
    window.addTab(new QWidget(&window), "Information");
    window.setFixedSize(617, 341);
    window.show();
    return application.exec();
}
