#include "TPictureRendering.h"

#include "TPicture.h"

namespace coolctrls {

TPictureRendering TPictureRendering::start(const QString &className, const QByteArray &data)
{
    TPictureRendering rendering;
    // The thread gets its own copies of the class name and the bytes (both
    // shared, not copied: Qt's reference counts are atomic).
    rendering.m_result = std::async(std::launch::async | std::launch::deferred,
                                    [className, data] { return TPicture::render(className, data); })
                             .share();
    return rendering;
}

} // namespace coolctrls
