#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

namespace coolctrls {

// While a window creates its controls from its description, controls that
// fit themselves to their content (an AutoSize label) wait: each is measured
// once, with its final font and caption, when the scope ends, instead of at
// every property the description sets. Measuring text loads the font it is
// drawn in, so measuring at every step would load each intermediate font.
//
// The scope holds for the thread that opened it, for as long as it lives
// (a description builds its pages before they join the window, so the
// window alone cannot say which controls it is loading). Scopes nest: the
// inner one adjusts its controls when it ends.
class TFormLoading
{
public:
    TFormLoading();
    ~TFormLoading();
    TFormLoading(const TFormLoading &) = delete;
    TFormLoading &operator=(const TFormLoading &) = delete;

    // The innermost loading scope of this thread, or nullptr.
    static TFormLoading *current();
    // Runs adjust when the scope ends, once per control however often it is
    // asked (the last adjust given wins); a control destroyed meanwhile is
    // skipped.
    void defer(QWidget *control, std::function<void()> adjust);

private:
    TFormLoading *m_outer;
    QList<std::pair<QPointer<QWidget>, std::function<void()>>> m_pending;
};

} // namespace coolctrls
