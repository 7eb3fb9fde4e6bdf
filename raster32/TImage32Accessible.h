#pragma once

#include <QAccessibleWidget>

namespace raster32 {

class TCustomImage32;

// An image view to assistive technology: an image (graphic) whose name
// and description the program sets (accessibleName, accessibleDescription)
// to say what the picture means; its size and position are those of the
// bitmap as shown.
class TImage32Accessible : public QAccessibleWidget, public QAccessibleImageInterface
{
public:
    explicit TImage32Accessible(TCustomImage32 *view);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;

    // Registers the factory of the image views' interfaces with Qt; every
    // view calls it when it is made, and more than once does nothing.
    static void RegisterFactory();

private:
    QRect shownRect() const;
};

} // namespace raster32
