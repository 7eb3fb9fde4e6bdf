#pragma once

#include "TJPEGImage.h"
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

    // Copies the other picture's content; OnChange fires.
    void assign(const TPicture &other);

    // Decodes the graphic to pixels: a null image for an empty picture;
    // throws EJPEGError / platform::Exception for undecodable data.
    QImage render() const;

    platform::TNotifyEvent OnChange;

private:
    void set(QString className, QByteArray data);

    QString m_className;
    QByteArray m_data;
};

} // namespace coolctrls
