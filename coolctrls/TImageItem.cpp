#include "TImageItem.h"

#include "TCoolImages.h"
#include "TImages.h"
#include "platform/Application.h"
#include "platform/canvas/TBitmap.h"

namespace coolctrls {

TImageItem::TImageItem(TImages *collection)
    : m_collection(collection)
    , m_picture(std::make_unique<TPicture>())
    , m_bitmap(std::make_unique<platform::TBitmap>())
{
    m_picture->OnChange = [this](QObject *) { pictureChanged(); };
}

TImageItem::~TImageItem()
{
    m_picture->OnChange = nullptr;
    if (m_collection && m_collection->Owner())
        m_collection->Owner()->Change();
}

void TImageItem::setPicture(const TPicture *picture)
{
    if (picture)
        m_picture->assign(*picture);
    else
        m_picture->clear();
}

void TImageItem::Assign(const TImageItem &other)
{
    setPicture(other.Picture());
}

const QImage &TImageItem::Bitmap() const
{
    return m_bitmap->image();
}

int TImageItem::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

void TImageItem::pictureChanged()
{
    // Decoding happens here and only here: once per change of the picture.
    m_renderError.clear();
    try {
        m_bitmap->Assign(m_picture->render());
    } catch (const platform::Exception &e) {
        m_bitmap->Assign(static_cast<const platform::TBitmap *>(nullptr));
        m_renderError = e.message();
    }
    if (m_collection && m_collection->Owner())
        m_collection->Owner()->Change();
    if (!m_renderError.isEmpty())
        platform::showError(m_renderError);
}

} // namespace coolctrls
