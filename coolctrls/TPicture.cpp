#include "TPicture.h"

#include "platform/canvas/ImageLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <utility>

namespace coolctrls {

namespace {

const QString kJpegClass = QString::fromLatin1(TJPEGImage::ClassName);
const QString kBitmapClass = QStringLiteral("TBitmap");

QByteArray readLengthPrefixed(const char *p, qsizetype size, const QString &what)
{
    if (size < 4)
        throw platform::Exception(QStringLiteral("Picture data is truncated: the %1 byte count is missing").arg(what));
    const quint32 count = qFromLittleEndian<quint32>(p);
    if (qsizetype(count) > size - 4)
        throw platform::Exception(QStringLiteral("Picture data is truncated: %1 %2 bytes announced, %3 present")
                                      .arg(count)
                                      .arg(what)
                                      .arg(size - 4));
    return QByteArray(p + 4, qsizetype(count));
}

} // namespace

TPicture::TPicture(QObject *owner)
    : QObject(owner)
{
}

void TPicture::set(QString className, QByteArray data, TPictureRendering rendering)
{
    if (data.isEmpty())
        className.clear();
    m_className = std::move(className);
    m_data = std::move(data);
    m_rendering = std::move(rendering);
    if (OnChange)
        OnChange(this);
}

void TPicture::loadFromStoredForm(const QByteArray &stored)
{
    if (stored.isEmpty())
        throw platform::Exception(QStringLiteral("Picture data is empty"));
    const auto n = qsizetype(quint8(stored[0]));
    if (n == 0) {
        set({}, {});
        return;
    }
    if (stored.size() < 1 + n)
        throw platform::Exception(QStringLiteral("Picture data is truncated in its class name"));
    const QString name = QString::fromLatin1(stored.constData() + 1, n);
    const char *own = stored.constData() + 1 + n;
    const qsizetype ownSize = stored.size() - 1 - n;
    if (name == kJpegClass) {
        TJPEGImage jpeg;
        jpeg.readStoredData(own, ownSize);
        set(name, jpeg.data());
    } else if (name == kBitmapClass) {
        set(name, readLengthPrefixed(own, ownSize, QStringLiteral("bitmap")));
    } else {
        throw platform::Exception(QStringLiteral("Unknown picture format %1").arg(name));
    }
}

QByteArray TPicture::saveToStoredForm() const
{
    QByteArray out;
    if (isEmpty()) {
        out.append('\0');
        return out;
    }
    const QByteArray name = m_className.toLatin1();
    out.append(char(name.size()));
    out += name;
    QByteArray count(4, '\0');
    qToLittleEndian<quint32>(quint32(m_data.size()), count.data());
    out += count;
    out += m_data;
    return out;
}

void TPicture::loadJpeg(QByteArray jpeg)
{
    set(kJpegClass, std::move(jpeg));
}

void TPicture::loadFromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    QByteArray bytes = file.readAll();
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        set(kJpegClass, std::move(bytes));
    else if (suffix == QLatin1String("bmp"))
        set(kBitmapClass, std::move(bytes));
    else
        loadFromStoredForm(bytes);
}

void TPicture::clear()
{
    set({}, {});
}

void TPicture::assign(const TPicture &other)
{
    if (&other == this)
        return;
    set(other.m_className, other.m_data, other.m_rendering);
}

void TPicture::renderAhead()
{
    if (!isEmpty() && !m_rendering.isStarted())
        m_rendering = TPictureRendering::start(m_className, m_data);
}

QImage TPicture::render() const
{
    if (m_rendering.isStarted())
        return std::exchange(m_rendering, {}).result();
    return render(m_className, m_data);
}

QImage TPicture::render(const QString &className, const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    if (className == kJpegClass)
        return TJPEGImage::decode(data);
    return platform::decodeImage(data, "BMP").convertToFormat(QImage::Format_RGB32);
}

} // namespace coolctrls
