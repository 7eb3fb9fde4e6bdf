// Text output of TCanvas: classic DrawText layout (prefix characters, line
// breaks, word breaks, tab expansion, alignment) drawn with QPainter.
#include "platform/canvas/TCanvas.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace platform {

struct TCanvas::TextLine
{
    QString text;
    std::vector<int> underlined;  // character indexes within text
    int width = 0;
};

namespace {

// Removes prefix characters: "&x" marks x for underlining, "&&" is one "&",
// a lone "&" at the end is dropped.
QString stripPrefixes(const QString &text, std::vector<int> &underlined)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('&')) {
            out.append(c);
            continue;
        }
        if (i + 1 >= text.size())
            break;
        if (text.at(i + 1) == QLatin1Char('&')) {
            out.append(c);
            ++i;
            continue;
        }
        underlined.push_back(int(out.size()));
    }
    return out;
}

bool isBreak(QChar c) { return c == QLatin1Char('\n') || c == QLatin1Char('\r'); }

// Ascent and descent rounded up, as the classic text metrics count them; this
// gives the 13-pixel line of the classic 11-pixel dialog font.
struct LineMetrics
{
    int ascent;
    int descent;
    int height() const { return ascent + descent; }
};

LineMetrics lineMetrics(const QFont &font)
{
    const QFontMetricsF fm(font);
    return {int(std::ceil(fm.ascent() - 0.01)), int(std::ceil(fm.descent() - 0.01))};
}

} // namespace

int TCanvas::segmentWidth(const QFontMetrics &fm, const QString &line, unsigned format)
{
    if (!line.contains(QLatin1Char('\t')))
        return fm.horizontalAdvance(line);
    const int stop = std::max(1, 8 * fm.averageCharWidth());
    int x = 0;
    const QStringList parts = line.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        x += fm.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size() && (format & DT_EXPANDTABS))
            x = (x / stop + 1) * stop;
    }
    return x;
}

std::vector<TCanvas::TextLine> TCanvas::layoutText(const QString &text, int width, unsigned format)
{
    std::vector<int> underlined;
    const QString shown = (format & DT_NOPREFIX) ? text : stripPrefixes(text, underlined);
    std::vector<TextLine> lines;
    const QFontMetrics fm(Font.toQFont());
    auto addLine = [&](qsizetype start, qsizetype end) {
        TextLine line;
        line.text = shown.mid(start, end - start);
        for (int u : underlined)
            if (u >= start && u < end)
                line.underlined.push_back(int(u - start));
        line.width = segmentWidth(fm, line.text, format);
        lines.push_back(std::move(line));
    };
    if (shown.isEmpty())
        return lines;
    if (format & DT_SINGLELINE) {
        // Line break characters are not shown on a single line.
        QString one;
        std::vector<int> kept;
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (std::find(underlined.begin(), underlined.end(), int(i)) != underlined.end())
                kept.push_back(int(one.size()));
            if (!isBreak(shown.at(i)))
                one.append(shown.at(i));
        }
        TextLine line;
        line.text = one;
        line.underlined = kept;
        line.width = segmentWidth(fm, one, format);
        lines.push_back(std::move(line));
        return lines;
    }
    qsizetype pos = 0;
    while (pos <= shown.size()) {
        qsizetype end = pos;
        while (end < shown.size() && !isBreak(shown.at(end)))
            ++end;
        if (!(format & DT_WORDBREAK)) {
            addLine(pos, end);
        } else {
            // Greedy word wrap; a word wider than the rectangle stands alone.
            qsizetype start = pos;
            while (true) {
                qsizetype lineEnd = start, i = start;
                int lineWidth = 0;  // of shown[start, lineEnd)
                while (i < end) {
                    qsizetype wordEnd = i;
                    while (wordEnd < end && shown.at(wordEnd) != QLatin1Char(' '))
                        ++wordEnd;
                    // Grows the width by the gap and the word; tab stops
                    // depend on the position, so pieces with tabs are
                    // measured from the line start.
                    const QString piece = shown.mid(lineEnd, wordEnd - lineEnd);
                    const int w = piece.contains(QLatin1Char('\t'))
                        ? segmentWidth(fm, shown.mid(start, wordEnd - start), format)
                        : lineWidth + fm.horizontalAdvance(piece);
                    if (w > width && lineEnd > start)
                        break;
                    lineEnd = wordEnd;
                    lineWidth = w;
                    i = wordEnd;
                    while (i < end && shown.at(i) == QLatin1Char(' '))
                        ++i;
                }
                if (lineEnd == start)
                    lineEnd = i;  // only spaces
                addLine(start, lineEnd);
                start = lineEnd;
                while (start < end && shown.at(start) == QLatin1Char(' '))
                    ++start;
                if (start >= end)
                    break;
            }
        }
        if (end >= shown.size())
            break;
        // One line break is "\r\n", "\r" or "\n"; a break at the very end
        // starts no further line.
        pos = end + ((shown.at(end) == QLatin1Char('\r') && end + 1 < shown.size()
                      && shown.at(end + 1) == QLatin1Char('\n')) ? 2 : 1);
        if (pos >= shown.size())
            break;
    }
    return lines;
}

void TCanvas::drawTextLine(const TextLine &line, int x, int y, unsigned format)
{
    QPainter *p = painter();
    if (!p)
        return;
    const QFont &font = Font.toQFont();
    const QFontMetrics fm(font);
    const LineMetrics lm = lineMetrics(font);
    const int height = lm.height();
    if (m_state.bkMode == OPAQUE && line.width > 0)
        p->fillRect(QRect(x, y, line.width, height), DrawnQColor(m_state.bkColor));
    p->setFont(font);
    p->setPen(DrawnQColor(m_state.textColor));
    const int baseline = y + lm.ascent;
    if (!line.text.contains(QLatin1Char('\t'))) {
        p->drawText(QPoint(x, baseline), line.text);
    } else {
        const int stop = std::max(1, 8 * fm.averageCharWidth());
        int cx = 0;
        const QStringList parts = line.text.split(QLatin1Char('\t'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            p->drawText(QPoint(x + cx, baseline), parts[i]);
            cx += fm.horizontalAdvance(parts[i]);
            if (i + 1 < parts.size() && (format & DT_EXPANDTABS))
                cx = (cx / stop + 1) * stop;
        }
    }
    for (int u : line.underlined) {
        if (u >= line.text.size())
            continue;
        const int ux = x + segmentWidth(fm, line.text.left(u), format);
        const int uw = fm.horizontalAdvance(line.text.at(u));
        p->fillRect(QRect(ux, baseline + std::max(1, fm.underlinePos()), uw, std::max(1, fm.lineWidth())),
                    DrawnQColor(m_state.textColor));
    }
    p->setPen(Qt::NoPen);
}

int TCanvas::DrawText(const QString &text, const QRect &r, unsigned format)
{
    QRect copy = r;
    return DrawText(text, copy, format);
}

int TCanvas::DrawText(const QString &text, QRect &r, unsigned format)
{
    syncObjects();
    const int lineHeight = lineMetrics(Font.toQFont()).height();
    const std::vector<TextLine> lines = layoutText(text, r.width(), format);
    const int textHeight = int(lines.size()) * lineHeight;
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine &line : lines)
            widest = std::max(widest, line.width);
        setRight(r, r.left() + widest);
        setBottom(r, r.top() + textHeight);
        return textHeight;
    }
    int y = r.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = (r.top() + Bottom(r) - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = Bottom(r) - lineHeight;
    }
    QPainter *p = painter();
    if (!p || lines.empty())
        return textHeight;
    const bool clip = !(format & DT_NOCLIP);
    if (clip) {
        p->save();
        p->setClipRect(r, Qt::IntersectClip);
    }
    for (const TextLine &line : lines) {
        int x = r.left();
        if (format & DT_CENTER)
            x = (r.left() + Right(r) - line.width) / 2;
        else if (format & DT_RIGHT)
            x = Right(r) - line.width;
        drawTextLine(line, x, y, format);
        y += lineHeight;
    }
    if (clip)
        p->restore();
    Changed();
    return y - r.top();
}

void TCanvas::DrawDisabledText(const QString &text, const QRect &r)
{
    syncObjects();
    const State saved = m_state;
    m_state.bkMode = TRANSPARENT;
    const QRect area = r.adjusted(0, 0, 1, 1);
    m_state.textColor = clBtnHighlight;
    QRect moved = area.translated(1, 1);
    moved.adjust(0, 0, -1, -1);
    if (QPainter *p = painter()) {
        p->save();
        p->setClipRect(area, Qt::IntersectClip);
        DrawText(text, moved, DT_LEFT | DT_TOP | DT_NOCLIP);
        m_state.textColor = clBtnShadow;
        DrawText(text, r, DT_LEFT | DT_TOP | DT_NOCLIP);
        p->restore();
    }
    m_state = saved;
}

TTextMetric TCanvas::GetTextMetrics()
{
    const QFont &font = Font.toQFont();
    const QFontMetrics fm(font);
    const LineMetrics lm = lineMetrics(font);
    TTextMetric tm;
    tm.tmAscent = lm.ascent;
    tm.tmDescent = lm.descent;
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - std::max(0, font.pixelSize()));
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    const QFontInfo info(font);
    // Classic quirk kept: the "fixed pitch" bit is set for variable pitch.
    if (!info.fixedPitch())
        tm.tmPitchAndFamily |= TMPF_FIXED_PITCH;
    if (QFontDatabase::isSmoothlyScalable(info.family(), info.styleName()))
        tm.tmPitchAndFamily |= TMPF_VECTOR | TMPF_TRUETYPE;
    return tm;
}

int TCanvas::TextWidth(const QString &text)
{
    return QFontMetrics(Font.toQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString &)
{
    return lineMetrics(Font.toQFont()).height();
}

QSize TCanvas::TextExtent(const QString &text)
{
    return QSize(TextWidth(text), TextHeight(text));
}

void TCanvas::TextOut(int x, int y, const QString &text)
{
    syncObjects();
    TextLine line;
    line.text = text;
    line.width = TextWidth(text);
    drawTextLine(line, x, y, DT_NOPREFIX);
    m_penPos = QPoint(x + line.width, y);
    Changed();
}

void TCanvas::TextRect(const QRect &r, int x, int y, const QString &text)
{
    syncObjects();
    QPainter *p = painter();
    if (!p)
        return;
    p->save();
    p->setClipRect(r, Qt::IntersectClip);
    // An opaque background fills the whole rectangle, as the classic call.
    if (m_state.bkMode == OPAQUE)
        p->fillRect(r, DrawnQColor(m_state.bkColor));
    const TBkMode mode = m_state.bkMode;
    m_state.bkMode = TRANSPARENT;
    TextLine line;
    line.text = text;
    line.width = TextWidth(text);
    drawTextLine(line, x, y, DT_NOPREFIX);
    m_state.bkMode = mode;
    p->restore();
    Changed();
}

} // namespace platform
