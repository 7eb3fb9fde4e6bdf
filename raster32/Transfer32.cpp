#include "Transfer32.h"

#include "Blend32.h"
#include "Errors.h"
#include "TBitmap32.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace raster32 {

void BlendLine(const TColor32 *src, TColor32 *dst, int count, unsigned masterAlpha)
{
    for (int i = 0; i < count; ++i)
        dst[i] = BlendRegEx(src[i], dst[i], masterAlpha);
}

void MergeLine(const TColor32 *src, TColor32 *dst, int count, unsigned masterAlpha)
{
    for (int i = 0; i < count; ++i)
        dst[i] = MergeRegEx(src[i], dst[i], masterAlpha);
}

namespace {

// Puts a row of source colours onto a destination row by the draw mode.
struct Combiner
{
    TDrawMode mode = dmOpaque;
    TCombineMode combine = cmBlend;
    unsigned master = 255;
    const TPixelCombineEvent *event = nullptr;

    explicit Combiner(const TTransferMode &m)
        : mode(m.DrawMode), combine(m.CombineMode), master(std::min(m.MasterAlpha, 255u)),
          event(&m.OnPixelCombine)
    {
        // Custom drawing without a handler is plain copying.
        if (mode == dmCustom && !*event)
            mode = dmOpaque;
    }
    bool opaque() const { return mode == dmOpaque; }
    // A blend with master alpha 0 leaves the destination as it is.
    bool drawsNothing() const { return mode == dmBlend && master == 0; }

    void operator()(const TColor32 *src, TColor32 *dst, int n) const
    {
        switch (mode) {
        case dmOpaque:
            if (src != dst)
                std::memmove(dst, src, size_t(n) * sizeof(TColor32));
            break;
        case dmBlend:
            if (combine == cmBlend)
                BlendLine(src, dst, n, master);
            else
                MergeLine(src, dst, n, master);
            break;
        case dmCustom:
            for (int i = 0; i < n; ++i)
                (*event)(src[i], dst[i], master);
            break;
        }
    }
};

// Nearest-neighbour map of one axis: trunc(d * S / D) with the factor held
// in single precision, or the middle of the source for a 1-pixel target.
std::vector<int> nearestMap(int clipStart, int n, int dstStart, int D, int srcStart, int S)
{
    std::vector<int> map(static_cast<size_t>(n));
    if (D > 1) {
        const float s = float(S) / float(D);
        for (int i = 0; i < n; ++i) {
            const int v = int(float(clipStart + i - dstStart) * s);
            map[size_t(i)] = srcStart + std::min(v, S - 1);
        }
    } else {
        std::fill(map.begin(), map.end(), (srcStart + srcStart + S - 1) / 2);
    }
    return map;
}

// Linear mix of two pixels, w = weight of b in 1/256, two channels per
// multiply (each 16-bit lane holds at most 255 * 256 + 128).
inline TColor32 Lerp256(TColor32 a, TColor32 b, unsigned w)
{
    const unsigned iw = 256 - w;
    const TColor32 rb = ((((a & 0xFF00FFu) * iw + (b & 0xFF00FFu) * w + 0x800080u) >> 8) & 0xFF00FFu);
    const TColor32 ag = ((((a >> 8) & 0xFF00FFu) * iw + ((b >> 8) & 0xFF00FFu) * w + 0x800080u) & 0xFF00FF00u);
    return rb | ag;
}

// Bilinear taps of one axis for enlarging: pixel centres are aligned,
// position = (d + 0.5) * S / D - 0.5 in 16.16 fixed point, clamped to the
// edge pixels.
struct LinearTaps
{
    std::vector<int> i0, i1;
    std::vector<unsigned> w;
};

LinearTaps linearTaps(int clipStart, int n, int dstStart, int D, int srcStart, int S)
{
    LinearTaps t;
    t.i0.resize(size_t(n));
    t.i1.resize(size_t(n));
    t.w.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        const qint64 d = clipStart + i - dstStart;
        qint64 pos = ((2 * d + 1) * S * 65536) / (2 * qint64(D)) - 32768;
        if (pos < 0)
            pos = 0;
        int idx = int(pos >> 16);
        unsigned frac = unsigned((pos & 0xFFFF) >> 8);
        int next = idx + 1;
        if (idx >= S - 1) {
            idx = next = S - 1;
            frac = 0;
        }
        t.i0[size_t(i)] = srcStart + idx;
        t.i1[size_t(i)] = srcStart + next;
        t.w[size_t(i)] = frac;
    }
    return t;
}

// Draft box filter of one axis: the source span [lo, hi) that the target
// pixel covers, at least one pixel.
void boxSpans(int clipStart, int n, int dstStart, int D, int srcStart, int S, std::vector<int> &lo,
              std::vector<int> &hi)
{
    lo.resize(size_t(n));
    hi.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        const qint64 d = clipStart + i - dstStart;
        int a = int(d * S / D);
        int b = int(((d + 1) * S + D - 1) / D);
        a = std::clamp(a, 0, S - 1);
        b = std::clamp(b, a + 1, S);
        lo[size_t(i)] = srcStart + a;
        hi[size_t(i)] = srcStart + b;
    }
}

// --- kernels of the general resampler ------------------------------------

double kernelLinear(double x)
{
    x = std::abs(x);
    return x < 1 ? 1 - x : 0;
}
double kernelCosine(double x)
{
    x = std::abs(x);
    return x < 1 ? (std::cos(std::numbers::pi * x) + 1) / 2 : 0;
}
// Cubic B-spline.
double kernelSpline(double x)
{
    x = std::abs(x);
    if (x < 1)
        return 2.0 / 3 - x * x + x * x * x / 2;
    if (x < 2) {
        const double t = 2 - x;
        return t * t * t / 6;
    }
    return 0;
}
double sinc(double x)
{
    if (x == 0)
        return 1;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}
// Lanczos with three lobes.
double kernelLanczos(double x)
{
    return std::abs(x) < 3 ? sinc(x) * sinc(x / 3) : 0;
}
// Mitchell-Netravali with B = C = 1/3.
double kernelMitchell(double x)
{
    x = std::abs(x);
    if (x < 1)
        return (7 * x * x * x - 12 * x * x + 16.0 / 3) / 6;
    if (x < 2)
        return (-7.0 / 3 * x * x * x + 12 * x * x - 20 * x + 32.0 / 3) / 6;
    return 0;
}

struct Kernel
{
    double (*fn)(double);
    double radius;
};

Kernel kernelFor(TStretchFilter f)
{
    switch (f) {
    case sfCosine: return {kernelCosine, 1};
    case sfSpline: return {kernelSpline, 2};
    case sfLanczos: return {kernelLanczos, 3};
    case sfMitchell: return {kernelMitchell, 2};
    default: return {kernelLinear, 1};
    }
}

constexpr int WeightBits = 14;
constexpr int WeightOne = 1 << WeightBits;

// Precomputed taps of one axis: target pixel i reads source indices
// index[first[i] .. first[i + 1]) with fixed-point weights that sum to
// exactly WeightOne, so a flat area stays flat. When shrinking, the kernel
// is widened by the reduction factor so every source pixel contributes.
struct Contributors
{
    std::vector<int> first;
    std::vector<int> index;
    std::vector<int> weight;
};

Contributors contributors(int clipStart, int n, int dstStart, int D, int srcStart, int S, Kernel k)
{
    Contributors c;
    c.first.reserve(size_t(n) + 1);
    const double scale = double(D) / double(S);
    const double squeeze = scale < 1 ? scale : 1.0;
    const double support = k.radius / squeeze;
    std::vector<double> w;
    std::vector<int> idx;
    for (int i = 0; i < n; ++i) {
        c.first.push_back(int(c.index.size()));
        const double center = (clipStart + i - dstStart + 0.5) / scale - 0.5;
        const int lo = int(std::floor(center - support));
        const int hi = int(std::ceil(center + support));
        w.clear();
        idx.clear();
        double total = 0;
        for (int j = lo; j <= hi; ++j) {
            const double v = k.fn((center - j) * squeeze);
            if (v == 0)
                continue;
            w.push_back(v);
            idx.push_back(srcStart + std::clamp(j, 0, S - 1));
            total += v;
        }
        if (w.empty() || total == 0) {
            w.assign(1, 1.0);
            idx.assign(1, srcStart + std::clamp(int(std::lround(center)), 0, S - 1));
            total = 1;
        }
        int sum = 0;
        size_t largest = 0;
        for (size_t j = 0; j < w.size(); ++j) {
            const int q = int(std::lround(w[j] / total * WeightOne));
            c.index.push_back(idx[j]);
            c.weight.push_back(q);
            sum += q;
            if (std::abs(w[j]) > std::abs(w[largest]))
                largest = j;
        }
        c.weight[c.first.back() + largest] += WeightOne - sum;
    }
    c.first.push_back(int(c.index.size()));
    return c;
}

inline unsigned clampByte(int v)
{
    v = (v + WeightOne / 2) >> WeightBits;
    return unsigned(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// --- the scaled paths -------------------------------------------------------

struct Job
{
    TBitmap32 &dst;
    const TRect &dstRect;
    const TRect &clip;
    const TBitmap32 &src;
    const TRect &srcRect;
    const Combiner &comb;

    int cw() const { return clip.Width(); }
};

// Hands each produced target row to the combiner; opaque rows are written
// in place.
template<typename Produce>
void forEachRow(const Job &job, Produce produce)
{
    const int cw = job.cw();
    std::vector<TColor32> tmp(job.comb.opaque() ? 0 : size_t(cw));
    for (int y = job.clip.Top; y < job.clip.Bottom; ++y) {
        TColor32 *dstRow = job.dst.PixelAddress(job.clip.Left, y);
        if (job.comb.opaque()) {
            produce(y, dstRow);
        } else {
            produce(y, tmp.data());
            job.comb(tmp.data(), dstRow, cw);
        }
    }
}

void doNearest(const Job &job)
{
    const TRect &sr = job.srcRect, &dr = job.dstRect, &clip = job.clip;
    const std::vector<int> xmap = nearestMap(clip.Left, clip.Width(), dr.Left, dr.Width(), sr.Left, sr.Width());
    const std::vector<int> ymap = nearestMap(clip.Top, clip.Height(), dr.Top, dr.Height(), sr.Top, sr.Height());
    const int cw = clip.Width();
    const int *xm = xmap.data();
    if (job.comb.opaque()) {
        // A row that maps to the same source row as the one above is a copy.
        int previous = -1;
        for (int y = clip.Top; y < clip.Bottom; ++y) {
            TColor32 *d = job.dst.PixelAddress(clip.Left, y);
            const int sy = ymap[size_t(y - clip.Top)];
            if (sy == previous) {
                std::memcpy(d, d - job.dst.Width(), size_t(cw) * sizeof(TColor32));
                continue;
            }
            previous = sy;
            const TColor32 *s = job.src.RowAddress(sy);
            for (int i = 0; i < cw; ++i)
                d[i] = s[xm[i]];
        }
        return;
    }
    forEachRow(job, [&](int y, TColor32 *out) {
        const TColor32 *s = job.src.RowAddress(ymap[size_t(y - clip.Top)]);
        for (int i = 0; i < cw; ++i)
            out[i] = s[xm[i]];
    });
}

void doDraft(const Job &job)
{
    const TRect &sr = job.srcRect, &dr = job.dstRect, &clip = job.clip;
    std::vector<int> xlo, xhi, ylo, yhi;
    boxSpans(clip.Left, clip.Width(), dr.Left, dr.Width(), sr.Left, sr.Width(), xlo, xhi);
    boxSpans(clip.Top, clip.Height(), dr.Top, dr.Height(), sr.Top, sr.Height(), ylo, yhi);
    const int cw = clip.Width();
    std::vector<unsigned> acc(size_t(cw) * 4);
    forEachRow(job, [&](int y, TColor32 *out) {
        const int r0 = ylo[size_t(y - clip.Top)], r1 = yhi[size_t(y - clip.Top)];
        std::fill(acc.begin(), acc.end(), 0u);
        for (int sy = r0; sy < r1; ++sy) {
            const TColor32 *s = job.src.RowAddress(sy);
            for (int i = 0; i < cw; ++i) {
                unsigned *a = &acc[size_t(i) * 4];
                for (int sx = xlo[size_t(i)]; sx < xhi[size_t(i)]; ++sx) {
                    const TColor32 c = s[sx];
                    a[0] += c & 0xFF;
                    a[1] += (c >> 8) & 0xFF;
                    a[2] += (c >> 16) & 0xFF;
                    a[3] += c >> 24;
                }
            }
        }
        for (int i = 0; i < cw; ++i) {
            const unsigned n = unsigned((r1 - r0) * (xhi[size_t(i)] - xlo[size_t(i)]));
            const unsigned *a = &acc[size_t(i) * 4];
            out[i] = ((a[3] + n / 2) / n) << 24 | ((a[2] + n / 2) / n) << 16 | ((a[1] + n / 2) / n) << 8
                | ((a[0] + n / 2) / n);
        }
    });
}

void doBilinear(const Job &job)
{
    const TRect &sr = job.srcRect, &dr = job.dstRect, &clip = job.clip;
    const int cw = clip.Width();
    const LinearTaps xt = linearTaps(clip.Left, cw, dr.Left, dr.Width(), sr.Left, sr.Width());
    const LinearTaps yt = linearTaps(clip.Top, clip.Height(), dr.Top, dr.Height(), sr.Top, sr.Height());
    // Horizontally interpolated source rows, kept while consecutive target
    // rows fall between the same two source rows.
    std::vector<TColor32> bufA(static_cast<size_t>(cw)), bufB(static_cast<size_t>(cw));
    TColor32 *rowA = bufA.data(), *rowB = bufB.data();
    int haveA = -1, haveB = -1;
    const int *i0 = xt.i0.data(), *i1 = xt.i1.data();
    const unsigned *wx = xt.w.data();
    auto horizontal = [&](int sy, TColor32 *out) {
        const TColor32 *s = job.src.RowAddress(sy);
        for (int i = 0; i < cw; ++i)
            out[i] = Lerp256(s[i0[i]], s[i1[i]], wx[i]);
    };
    forEachRow(job, [&](int y, TColor32 *out) {
        const size_t k = size_t(y - clip.Top);
        const int sy0 = yt.i0[k], sy1 = yt.i1[k];
        const unsigned wy = yt.w[k];
        if (haveA != sy0) {
            if (haveB == sy0) {
                std::swap(rowA, rowB);
                std::swap(haveA, haveB);
            } else {
                horizontal(sy0, rowA);
                haveA = sy0;
            }
        }
        if (wy == 0) {
            std::memcpy(out, rowA, size_t(cw) * sizeof(TColor32));
            return;
        }
        if (haveB != sy1) {
            horizontal(sy1, rowB);
            haveB = sy1;
        }
        for (int i = 0; i < cw; ++i)
            out[i] = Lerp256(rowA[i], rowB[i], wy);
    });
}

void doResample(const Job &job, Kernel kernel)
{
    const TRect &sr = job.srcRect, &dr = job.dstRect, &clip = job.clip;
    const int cw = clip.Width();
    const Contributors xc = contributors(clip.Left, cw, dr.Left, dr.Width(), sr.Left, sr.Width(), kernel);
    const Contributors yc = contributors(clip.Top, clip.Height(), dr.Top, dr.Height(), sr.Top, sr.Height(), kernel);
    const auto [minIt, maxIt] = std::minmax_element(yc.index.begin(), yc.index.end());
    const int rowLo = *minIt, rowHi = *maxIt;

    // Horizontal pass over every source row the vertical taps read.
    std::vector<TColor32> mid(size_t(rowHi - rowLo + 1) * size_t(cw));
    for (int sy = rowLo; sy <= rowHi; ++sy) {
        const TColor32 *s = job.src.RowAddress(sy);
        TColor32 *out = &mid[size_t(sy - rowLo) * size_t(cw)];
        for (int i = 0; i < cw; ++i) {
            int b = 0, g = 0, r = 0, a = 0;
            for (int t = xc.first[size_t(i)]; t < xc.first[size_t(i) + 1]; ++t) {
                const TColor32 c = s[xc.index[size_t(t)]];
                const int w = xc.weight[size_t(t)];
                b += int(c & 0xFF) * w;
                g += int((c >> 8) & 0xFF) * w;
                r += int((c >> 16) & 0xFF) * w;
                a += int(c >> 24) * w;
            }
            out[i] = clampByte(a) << 24 | clampByte(r) << 16 | clampByte(g) << 8 | clampByte(b);
        }
    }

    // Vertical pass, one accumulated target row at a time.
    std::vector<int> acc(size_t(cw) * 4);
    forEachRow(job, [&](int y, TColor32 *out) {
        const size_t k = size_t(y - clip.Top);
        std::fill(acc.begin(), acc.end(), 0);
        for (int t = yc.first[k]; t < yc.first[k + 1]; ++t) {
            const TColor32 *m = &mid[size_t(yc.index[size_t(t)] - rowLo) * size_t(cw)];
            const int w = yc.weight[size_t(t)];
            int *a = acc.data();
            for (int i = 0; i < cw; ++i, a += 4) {
                const TColor32 c = m[i];
                a[0] += int(c & 0xFF) * w;
                a[1] += int((c >> 8) & 0xFF) * w;
                a[2] += int((c >> 16) & 0xFF) * w;
                a[3] += int(c >> 24) * w;
            }
        }
        const int *a = acc.data();
        for (int i = 0; i < cw; ++i, a += 4)
            out[i] = clampByte(a[3]) << 24 | clampByte(a[2]) << 16 | clampByte(a[1]) << 8 | clampByte(a[0]);
    });
}

} // namespace

void TransferBlock(TBitmap32 &dst, const TRect &dstRect, const TRect &clip, const TBitmap32 &src,
                   const TRect &srcRect, const TTransferMode &mode)
{
    const Combiner comb(mode);
    if (comb.drawsNothing() || clip.IsEmpty())
        return;
    const int dx = srcRect.Left - dstRect.Left;
    const int dy = srcRect.Top - dstRect.Top;
    const int n = clip.Width();
    // Overlapping copies within one bitmap go bottom-up when moving down.
    const bool backwards = &src == &dst && dy < 0;
    for (int k = 0; k < clip.Height(); ++k) {
        const int y = backwards ? clip.Bottom - 1 - k : clip.Top + k;
        comb(src.PixelAddress(clip.Left + dx, y + dy), dst.PixelAddress(clip.Left, y), n);
    }
}

void TransferNearest(TBitmap32 &dst, const TRect &dstRect, const TRect &clip, const TBitmap32 &src,
                     const TRect &srcRect, const TTransferMode &mode)
{
    if (!src.BoundsBox().Contains(srcRect) || srcRect.IsEmpty())
        throw EBitmapError(QStringLiteral("Invalid SrcRect"));
    if (srcRect.Width() == dstRect.Width() && srcRect.Height() == dstRect.Height()) {
        TransferBlock(dst, dstRect, clip, src, srcRect, mode);
        return;
    }
    const Combiner comb(mode);
    if (comb.drawsNothing() || clip.IsEmpty())
        return;
    doNearest(Job{dst, dstRect, clip, src, srcRect, comb});
}

void TransferScaled(TBitmap32 *dst, const TRect &dstRect, const TRect &dstClip, const TBitmap32 &src,
                    const TRect &srcRect, TStretchFilter filter, const TTransferMode &mode)
{
    if (src.IsEmpty())
        return;
    if (!dst || dst->IsEmpty())
        throw EBitmapError(QStringLiteral("Destination bitmap is nil or empty"));
    if (srcRect.IsEmpty())
        return;
    if (!src.BoundsBox().Contains(srcRect))
        throw EBitmapError(QStringLiteral("Source rectangle is invalid"));
    const TRect clip = dstClip.Intersect(dst->BoundsBox()).Intersect(dstRect);
    if (clip.IsEmpty())
        return;
    const Combiner comb(mode);
    if (comb.drawsNothing())
        return;

    // Drawing a bitmap onto itself scaled would read pixels already written.
    std::unique_ptr<TBitmap32> copy;
    const TBitmap32 *source = &src;
    const bool sameSize = srcRect.Width() == dstRect.Width() && srcRect.Height() == dstRect.Height();
    if (&src == dst && !sameSize) {
        copy = std::make_unique<TBitmap32>();
        copy->CopyFrom(&src);
        source = copy.get();
    }

    if (sameSize) {
        TransferBlock(*dst, dstRect, clip, *source, srcRect, mode);
        return;
    }
    const Job job{*dst, dstRect, clip, *source, srcRect, comb};
    switch (filter) {
    case sfNearest:
        doNearest(job);
        break;
    case sfDraft:
        doDraft(job);
        break;
    case sfLinear:
        if (dstRect.Width() > srcRect.Width() && dstRect.Height() > srcRect.Height() && srcRect.Width() > 1
            && srcRect.Height() > 1)
            doBilinear(job);
        else
            doResample(job, kernelFor(sfLinear));
        break;
    default:
        doResample(job, kernelFor(filter));
        break;
    }
}

} // namespace raster32
