#include "TStoredPictures.h"

#include "TCoolImages.h"
#include "TImageItem.h"
#include "TImages.h"
#include "platform/Exception.h"

#include <QFile>

namespace coolctrls {

TStoredPictures::TStoredPictures(const QStringList &storedForms)
    : m_names(storedForms)
{
    for (const QString &name : storedForms) {
        // Read here, on the GUI thread (a resource is only copied); only
        // the decoding goes to a worker.
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("Picture %1 not found").arg(name);
            return;
        }
        auto picture = std::make_unique<TPicture>();
        try {
            picture->loadFromStoredForm(file.readAll());
        } catch (const platform::Exception &e) {
            m_error = QStringLiteral("Picture %1: %2").arg(name, e.message());
            return;
        }
        picture->renderAhead();
        m_pictures.push_back(std::move(picture));
    }
}

void TStoredPictures::loadInto(TCoolImages &store)
{
    if (!m_error.isEmpty())
        throw platform::Exception(m_error);
    store.Images()->Clear();
    for (const auto &picture : m_pictures)
        store.Images()->Add()->setPicture(picture.get());
    m_pictures.clear();
    store.Change();
}

} // namespace coolctrls
