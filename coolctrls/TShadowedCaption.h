#pragma once

#include "TShadowStyle.h"

namespace coolctrls {

// The shadowed-caption properties of the label, the group box and the
// scrolling text, written once: ShadowColor (clDefault gives the default,
// the button highlight), ShadowSize, ShadowPos and SimpleView, kept
// in a TShadowStyle. Each control declares the Q_PROPERTY lines and says in
// ShadowChanged() how a change shows (repaint at once, invalidate, measure
// again).
class TShadowedCaption
{
public:
    platform::TColor ShadowColor() const { return m_shadow.Color; }
    // Setting any of the three also clears SimpleView.
    void setShadowColor(platform::TColor value);
    int ShadowSize() const { return m_shadow.Size; }
    void setShadowSize(int value);
    TShadowPosition ShadowPos() const { return m_shadow.Pos; }
    // Values outside the four positions are ignored.
    void setShadowPos(TShadowPosition value);
    bool SimpleView() const { return m_shadow.SimpleView; }
    void setSimpleView(bool value);

    const TShadowStyle &shadowStyle() const { return m_shadow; }

protected:
    TShadowedCaption() = default;
    ~TShadowedCaption() = default;
    // After a setter changed the group.
    virtual void ShadowChanged() = 0;

private:
    TShadowStyle m_shadow;
};

} // namespace coolctrls

// The Q_PROPERTY lines of the group, for the class body of a control that
// derives from TShadowedCaption (moc expands the macro).
#define TONVIK_SHADOWED_CAPTION_PROPERTIES \
    Q_PROPERTY(platform::TColor ShadowColor READ ShadowColor WRITE setShadowColor) \
    Q_PROPERTY(int ShadowSize READ ShadowSize WRITE setShadowSize) \
    Q_PROPERTY(coolctrls::TShadowPosition ShadowPos READ ShadowPos WRITE setShadowPos) \
    Q_PROPERTY(bool SimpleView READ SimpleView WRITE setSimpleView)
