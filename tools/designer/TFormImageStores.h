#pragma once

#include <QObject>

class QWidget;

namespace designer {

// Gives the skinned controls of a form, in Qt Designer and in forms loaded
// by QUiLoader, the image store their "CoolImagesRef" property names: the
// store of that name is made on the nearest ancestor (the form) that lists
// the store's pictures in a property of the same name
// (coolctrls/CoolImagesLink.h), and remade when that list is edited. So the
// controls show their wallpaper while the form is designed.
class TFormImageStores : public QObject
{
    Q_OBJECT
public:
    // Starts watching a control made through the plugin.
    static void watch(QWidget *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TFormImageStores(QObject *owner);
    void resolve(QWidget *control);
    void reload(QWidget *form, const QByteArray &storeName);
};

} // namespace designer
