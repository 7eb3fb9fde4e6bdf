#pragma once

#include "TPicture.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace coolctrls {

class TCoolImages;

// The pictures of an image store read from the stored forms a form's
// description names (files or resources, item 0 first), each decoding on a
// worker thread from the moment it is read (TPicture::renderAhead). A form
// reads them as soon as its description names them, so that the decoding
// runs beside the creation of its controls, and hands them to the store
// later (loadInto), where they are not decoded again.
class TStoredPictures
{
public:
    // Reads the stored forms in order and starts the decoding of each. A
    // form that cannot be read ends the reading; its error is kept for
    // take(), so that it shows where the store is loaded.
    explicit TStoredPictures(const QStringList &storedForms);

    const QStringList &names() const { return m_names; }

    // Replaces the store's pictures by these, in order, and tells the
    // linked controls; a picture that cannot be decoded is reported then
    // (TImageItem). Throws platform::Exception naming the first stored form
    // that could not be read or is not a picture's stored form, and leaves
    // the store as it was. The pictures are the store's afterwards.
    void loadInto(TCoolImages &store);

private:
    QStringList m_names;
    std::vector<std::unique_ptr<TPicture>> m_pictures;
    QString m_error;
};

} // namespace coolctrls
