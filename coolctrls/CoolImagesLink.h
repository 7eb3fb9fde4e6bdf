#pragma once

// Image stores named in a form's stored description. A control names its
// store by the dynamic property "CoolImagesRef" (the store's object name);
// the form lists the store's pictures in a string-list property of that
// same name: the stored forms of the pictures, as files or resources
// (":/..."), item 0 first.

#include <QStringList>

class QObject;

namespace coolctrls {

class TCoolImages;

// Makes store the image store of a skinned control (panel, group box,
// label, button, memo, list box, combo box or scrolling text). False, and
// nothing done, for any other object.
bool LinkCoolImages(QObject *control, TCoolImages *store);

// Replaces the pictures of store by the stored forms named, in order, and
// tells the linked controls. Throws platform::Exception naming the first
// one that cannot be read or is not a picture's stored form. The same as
// TStoredPictures(storedForms).loadInto(store).
void LoadCoolImages(TCoolImages &store, const QStringList &storedForms);

} // namespace coolctrls
