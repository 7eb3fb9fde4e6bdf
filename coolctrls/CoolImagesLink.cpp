#include "CoolImagesLink.h"

#include "TCoolBtn.h"
#include "TCoolComboBox.h"
#include "TCoolGroupBox.h"
#include "TCoolImages.h"
#include "TCoolLabel.h"
#include "TCoolListBox.h"
#include "TCoolMemo.h"
#include "TCoolPanel.h"
#include "TCoolScrollingText.h"
#include "TImageItem.h"
#include "TPicture.h"

#include "platform/Exception.h"

#include <QFile>

#include <memory>
#include <vector>

namespace coolctrls {

namespace {

template<typename Control, typename... Others>
bool link(QObject *object, TCoolImages *store)
{
    if (auto *control = qobject_cast<Control *>(object)) {
        control->setCoolImages(store);
        return true;
    }
    if constexpr (sizeof...(Others) > 0)
        return link<Others...>(object, store);
    return false;
}

} // namespace

bool LinkCoolImages(QObject *control, TCoolImages *store)
{
    return link<TCoolPanel, TCoolGroupBox, TCoolLabel, TCoolBtn, TCoolMemo, TCoolListBox, TCoolComboBox,
                TCoolScrollingText>(control, store);
}

void LoadCoolImages(TCoolImages &store, const QStringList &storedForms)
{
    // Read everything first, so a bad name leaves the store as it was.
    std::vector<std::unique_ptr<TPicture>> pictures;
    for (const QString &name : storedForms) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            throw platform::Exception(QStringLiteral("Picture %1 not found").arg(name));
        pictures.push_back(std::make_unique<TPicture>());
        try {
            pictures.back()->loadFromStoredForm(file.readAll());
        } catch (const platform::Exception &e) {
            throw platform::Exception(QStringLiteral("Picture %1: %2").arg(name, e.message()));
        }
    }
    store.Images()->Clear();
    for (const auto &picture : pictures)
        store.Images()->Add()->setPicture(picture.get());
    store.Change();
}

} // namespace coolctrls
