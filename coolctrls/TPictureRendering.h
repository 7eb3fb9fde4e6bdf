#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <future>

namespace coolctrls {

// A picture's graphic decoded to pixels on a worker thread, from the moment
// the decoding is started until someone asks for the result: the decoding
// (a large JPEG takes milliseconds) runs beside whatever the GUI thread does
// meanwhile. Copies share the one decoding. The decoder is libjpeg or Qt's
// image reader on a QImage, neither of which needs the GUI thread.
class TPictureRendering
{
public:
    // Nothing started.
    TPictureRendering() = default;

    // Starts decoding a graphic of the given class ("TJPEGImage" or
    // "TBitmap", see TPicture) on a thread of its own; where no thread can be
    // had, the decoding runs when the result is asked for.
    static TPictureRendering start(const QString &className, const QByteArray &data);

    bool isStarted() const { return m_result.valid(); }

    // Waits for the decoding and answers its pixels, or throws the error
    // decoding threw (EJPEGError, platform::Exception).
    QImage result() const { return m_result.get(); }

private:
    std::shared_future<QImage> m_result;
};

} // namespace coolctrls
