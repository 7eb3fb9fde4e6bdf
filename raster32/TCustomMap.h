#pragma once

#include "TThreadPersistent.h"

#include <algorithm>

namespace raster32 {

// A two-dimensional map of some size: the size and its change protocol.
class TCustomMap : public TThreadPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE setWidth)
    Q_PROPERTY(int Height READ Height WRITE setHeight)
public:
    explicit TCustomMap(QObject *parent = nullptr);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void setWidth(int value) { SetDimensions(value, m_height); }
    void setHeight(int value) { SetDimensions(m_width, value); }

    // Negative values count as 0. Returns false and does nothing when the
    // size stays; otherwise ChangeDimensions, NotifyChange, OnResize.
    virtual bool SetDimensions(int newWidth, int newHeight);
    void MakeEmpty() { SetDimensions(0, 0); }
    virtual bool IsEmpty() const { return m_width == 0 || m_height == 0; }

    platform::TNotifyEvent OnResize;

protected:
    // Allocates for the new size and sets Width and Height.
    virtual void ChangeDimensions(int newWidth, int newHeight);
    virtual void NotifyResize();

    int m_width = 0;
    int m_height = 0;
};

} // namespace raster32
