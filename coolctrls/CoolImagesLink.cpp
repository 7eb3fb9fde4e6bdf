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
#include "TStoredPictures.h"

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
    TStoredPictures(storedForms).loadInto(store);
}

} // namespace coolctrls
