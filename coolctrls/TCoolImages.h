#pragma once

#include "TImages.h"

#include <QObject>

#include <memory>
#include <vector>

namespace coolctrls {

class TCoolChangeLink;
class TImageItem;

// The image store: a non-visual component holding pictures (Images) that
// skinned controls use as wallpaper by index. Controls subscribe through a
// TCoolChangeLink and are told when a picture changes; when the store goes
// away every link is unregistered (Sender cleared) and then QObject's
// destroyed() tells the controls, whose QPointer to the store turns null.
class TCoolImages : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int ImageCount READ ImageCount)
public:
    explicit TCoolImages(QObject *owner = nullptr);
    ~TCoolImages() override;

    TImages *Images() { return &m_images; }
    const TImages *Images() const { return &m_images; }
    int ImageCount() const { return m_images.Count(); }

    // Appends the link (even if it is already registered) and sets its
    // Sender to this store.
    void RegisterChanges(TCoolChangeLink *link);
    // Removes the first occurrence of the link and clears its Sender; a link
    // that is not registered is ignored.
    void UnRegisterChanges(TCoolChangeLink *link);
    // Tells every registered link, in registration order.
    void Change();

    // Registered links, in registration order (for inspection).
    const std::vector<TCoolChangeLink *> &Links() const { return m_links; }

private:
    std::vector<TCoolChangeLink *> m_links;
    TImages m_images;
};

} // namespace coolctrls
