#pragma once

#include "TJPEGImage.h"
#include "TPictureRendering.h"
#include "platform/Events.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>

namespace coolctrls {

// A picture: one graphic of a kind named by its class name, kept in its
// encoded form. The graphic kinds known are "TJPEGImage" (JPEG file bytes)
// and "TBitmap" (BMP file bytes). OnChange fires after every change of the
// content; rendering to pixels is left to the owner (see render()).
//
// Stored form (the binary property Picture.Data of a window description):
//   byte n | n bytes ASCII class name | the graphic's own data
// where a JPEG's and a bitmap's own data is a 32-bit little-endian byte
// count followed by that many bytes of the file. An empty picture is stored
// as a single 0 byte.
class TPicture : public QObject
{
    Q_OBJECT
public:
    explicit TPicture(QObject *owner = nullptr);

    bool isEmpty() const { return m_data.isEmpty(); }
    // "TJPEGImage", "TBitmap", or empty for an empty picture.
    const QString &graphicClassName() const { return m_className; }
    // The encoded graphic (JPEG or BMP file bytes).
    const QByteArray &graphicData() const { return m_data; }

    // Reads the stored form. Throws platform::Exception on a truncated form
    // or an unknown graphic class; the picture is then left unchanged.
    void loadFromStoredForm(const QByteArray &stored);
    QByteArray saveToStoredForm() const;

    void loadJpeg(QByteArray jpeg);
    // Loads a .jpg/.jpeg/.bmp file or a file in the stored form (.pic).
    // Throws platform::Exception when the file cannot be read.
    void loadFromFile(const QString &fileName);
    void clear();

    // Copies the other picture's content, and its decoding when one was
    // started; OnChange fires.
    void assign(const TPicture &other);

    // Starts decoding the graphic on a worker thread (TPictureRendering), for
    // the next render() to take; a new content drops it. Does nothing for an
    // empty picture or when the decoding was started already.
    void renderAhead();

    // Decodes the graphic to pixels: a null image for an empty picture;
    // throws EJPEGError / platform::Exception for undecodable data. Takes
    // the pixels renderAhead() started, waiting for them if need be (once:
    // a later call decodes anew).
    QImage render() const;
    // The same for a graphic given by its class name and bytes; safe on any
    // thread.
    static QImage render(const QString &className, const QByteArray &data);

    platform::TNotifyEvent OnChange;

private:
    void set(QString className, QByteArray data, TPictureRendering rendering = {});

    QString m_className;
    QByteArray m_data;
    // The decoding of m_data started by renderAhead(), until render() takes
    // it; the pixels are then the owner's, not kept here as well.
    mutable TPictureRendering m_rendering;
};

} // namespace coolctrls
