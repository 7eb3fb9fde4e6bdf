#include "Transfer32.h"

#include "Blend32.h"
#include "Errors.h"
#include "TBitmap32.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <thread>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
    // The blend routines take at most 255; a custom handler gets the
    // bitmap's MasterAlpha as it is (its setter does not clamp either).
    unsigned master = 255;
    unsigned customMaster = 255;
    const TPixelCombineEvent *event = nullptr;

    explicit Combiner(const TTransferMode &m)
        : mode(m.DrawMode), combine(m.CombineMode), master(std::min(m.MasterAlpha, 255u)),
          customMaster(m.MasterAlpha), event(&m.OnPixelCombine)
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
                (*event)(src[i], dst[i], customMaster);
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
            const int v = int(float(qint64(clipStart) + i - dstStart) * s);
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

// out := a + (b - a) * w / 256 for whole rows, channel by channel. The
// SSE2 path does four pixels per step with 16-bit lanes and gives the
// same results as Lerp256.
void lerpRows(const TColor32 *a, const TColor32 *b, TColor32 *out, int n, unsigned w)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i wb = _mm_set1_epi16(short(w));
    const __m128i wa = _mm_set1_epi16(short(256 - w));
    const __m128i half = _mm_set1_epi16(128);
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i));
        const __m128i lo = _mm_srli_epi16(
            _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(va, zero), wa),
                                        _mm_mullo_epi16(_mm_unpacklo_epi8(vb, zero), wb)),
                          half),
            8);
        const __m128i hi = _mm_srli_epi16(
            _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(va, zero), wa),
                                        _mm_mullo_epi16(_mm_unpackhi_epi8(vb, zero), wb)),
                          half),
            8);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i)
        out[i] = Lerp256(a[i], b[i], w);
}

// out := sum over t of rows[t] * weights[t] / 256, channel by channel,
// over n pixels. With weights summing to 256 no 16-bit lane passes
// 255 * 256 + 128. All taps of four pixels are summed in registers.
void combineRows(const TColor32 *const *rows, const unsigned *weights, int taps, TColor32 *out, int n)
{
    int i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    for (; i + 4 <= n; i += 4) {
        __m128i lo = half, hi = half;
        for (int t = 0; t < taps; ++t) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[t] + i));
            const __m128i w = _mm_set1_epi16(short(weights[t]));
            lo = _mm_add_epi16(lo, _mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), w));
            hi = _mm_add_epi16(hi, _mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), w));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i),
                         _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8)));
    }
#endif
    for (; i < n; ++i) {
        TColor32 rb = 0x800080u, ag = 0x800080u;
        for (int t = 0; t < taps; ++t) {
            const TColor32 c = rows[t][i];
            rb += (c & 0xFF00FFu) * weights[t];
            ag += ((c >> 8) & 0xFF00FFu) * weights[t];
        }
        out[i] = ((rb >> 8) & 0xFF00FFu) | (ag & 0xFF00FF00u);
    }
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
        const qint64 d = qint64(clipStart) + i - dstStart;
        // Up to 2^79 for the largest rectangles, hence 128 bits.
        qint64 pos = qint64((__int128(2 * d + 1) * S * 65536) / (2 * __int128(D))) - 32768;
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
        const qint64 d = qint64(clipStart) + i - dstStart;
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
    // The same weights in 1/256 (sum 256) for kernels without negative
    // lobes and with few taps, where two channels share one multiply.
    std::vector<unsigned> weight8;
    bool packed = false;
    // The packed taps again, padded with zero weights to `taps` per target
    // pixel; each weight repeated in four 16-bit lanes for SSE2.
    int taps = 0;
    std::vector<int> padIndex;
    std::vector<std::uint64_t> padWeight;
};

// Rounds weights (of one target pixel, summing to `total`) to integers
// that sum to exactly `one`; the rounding rest goes to the largest.
template<typename T>
void quantise(const std::vector<double> &w, double total, int one, std::vector<T> &out)
{
    int sum = 0;
    size_t largest = 0;
    const size_t base = out.size();
    for (size_t j = 0; j < w.size(); ++j) {
        const int q = int(std::lround(w[j] / total * one));
        out.push_back(T(q));
        sum += q;
        if (std::abs(w[j]) > std::abs(w[largest]))
            largest = j;
    }
    out[base + largest] = T(int(out[base + largest]) + one - sum);
}

Contributors contributors(int clipStart, int n, int dstStart, int D, int srcStart, int S, Kernel k)
{
    Contributors c;
    c.first.reserve(size_t(n) + 1);
    const double scale = double(D) / double(S);
    const double squeeze = scale < 1 ? scale : 1.0;
    const double support = k.radius / squeeze;
    std::vector<double> w;
    std::vector<int> idx;
    bool negative = false;
    size_t maxTaps = 0;
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
        c.index.insert(c.index.end(), idx.begin(), idx.end());
        quantise(w, total, WeightOne, c.weight);
        quantise(w, total, 256, c.weight8);
        negative = negative || std::any_of(w.begin(), w.end(), [](double v) { return v < 0; });
        maxTaps = std::max(maxTaps, w.size());
    }
    c.first.push_back(int(c.index.size()));
    c.packed = !negative && maxTaps <= 16;
    if (c.packed) {
        c.taps = int(maxTaps);
        c.padIndex.resize(size_t(n) * maxTaps);
        c.padWeight.assign(size_t(n) * maxTaps, 0);
        for (int i = 0; i < n; ++i)
            for (int t = 0; t < c.taps; ++t) {
                const int from = c.first[size_t(i)], count = c.first[size_t(i) + 1] - from;
                const size_t at = size_t(i) * maxTaps + size_t(t);
                c.padIndex[at] = c.index[size_t(from + std::min(t, count - 1))];
                if (t < count)
                    c.padWeight[at] = std::uint64_t(c.weight8[size_t(from + t)]) * 0x0001000100010001ull;
            }
    }
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
    // 64-bit sums: a box may hold the whole of a very large source.
    std::vector<std::uint64_t> acc(size_t(cw) * 4);
    forEachRow(job, [&](int y, TColor32 *out) {
        const int r0 = ylo[size_t(y - clip.Top)], r1 = yhi[size_t(y - clip.Top)];
        std::fill(acc.begin(), acc.end(), std::uint64_t(0));
        for (int sy = r0; sy < r1; ++sy) {
            const TColor32 *s = job.src.RowAddress(sy);
            for (int i = 0; i < cw; ++i) {
                std::uint64_t *a = &acc[size_t(i) * 4];
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
            const std::uint64_t n = std::uint64_t(r1 - r0) * std::uint64_t(xhi[size_t(i)] - xlo[size_t(i)]);
            const std::uint64_t *a = &acc[size_t(i) * 4];
            auto avg = [n](std::uint64_t v) { return TColor32((v + n / 2) / n); };
            out[i] = avg(a[3]) << 24 | avg(a[2]) << 16 | avg(a[1]) << 8 | avg(a[0]);
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
        int i = 0;
#ifdef __SSE2__
        // Two target pixels per step in 16-bit lanes; same results as Lerp256.
        const __m128i zero = _mm_setzero_si128();
        const __m128i half = _mm_set1_epi16(128);
        const __m128i full = _mm_set1_epi16(256);
        for (; i + 2 <= cw; i += 2) {
            const __m128i a = _mm_unpacklo_epi8(
                _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(s[i0[i]])), _mm_cvtsi32_si128(int(s[i0[i + 1]]))), zero);
            const __m128i b = _mm_unpacklo_epi8(
                _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(s[i1[i]])), _mm_cvtsi32_si128(int(s[i1[i + 1]]))), zero);
            const __m128i w = _mm_set_epi64x(qint64(wx[i + 1] * 0x0001000100010001ull),
                                             qint64(wx[i] * 0x0001000100010001ull));
            const __m128i sum = _mm_add_epi16(
                _mm_add_epi16(_mm_mullo_epi16(a, _mm_sub_epi16(full, w)), _mm_mullo_epi16(b, w)), half);
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(_mm_srli_epi16(sum, 8), zero));
        }
#endif
        for (; i < cw; ++i)
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
        lerpRows(rowA, rowB, out, cw, wy);
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

    const size_t rows = size_t(rowHi - rowLo + 1);

    if (xc.packed && yc.packed) {
        // Non-negative weights in 1/256: red+blue and alpha+green each go
        // through one multiply; a lane holds at most 255 * 256 + 128.
        // row[index - offset] are the source pixels of the taps.
        auto horizontal = [&](const TColor32 *row, int offset, TColor32 *out) {
            const int taps = xc.taps;
            const int *index = xc.padIndex.data();
            const std::uint64_t *weight = xc.padWeight.data();
            int i = 0;
#ifdef __SSE2__
            // Two target pixels per step, each in four 16-bit lanes.
            const __m128i zero = _mm_setzero_si128();
            const __m128i half = _mm_set1_epi16(128);
            for (; i + 2 <= cw; i += 2) {
                const int *ia = index + size_t(i) * taps, *ib = ia + taps;
                const std::uint64_t *wa = weight + size_t(i) * taps, *wb = wa + taps;
                __m128i acc = half;
                for (int t = 0; t < taps; ++t) {
                    const __m128i px = _mm_unpacklo_epi8(
                        _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(row[ia[t] - offset])),
                                           _mm_cvtsi32_si128(int(row[ib[t] - offset]))),
                        zero);
                    const __m128i w = _mm_set_epi64x(qint64(wb[t]), qint64(wa[t]));
                    acc = _mm_add_epi16(acc, _mm_mullo_epi16(px, w));
                }
                _mm_storel_epi64(reinterpret_cast<__m128i *>(out + i),
                                 _mm_packus_epi16(_mm_srli_epi16(acc, 8), zero));
            }
#endif
            for (; i < cw; ++i) {
                TColor32 rb = 0x800080u, ag = 0x800080u;
                for (int t = 0; t < taps; ++t) {
                    const TColor32 c = row[index[size_t(i) * taps + t] - offset];
                    const unsigned w = unsigned(weight[size_t(i) * taps + t] & 0xFFFF);
                    rb += (c & 0xFF00FFu) * w;
                    ag += ((c >> 8) & 0xFF00FFu) * w;
                }
                out[i] = ((rb >> 8) & 0xFF00FFu) | (ag & 0xFF00FF00u);
            }
        };
        if (size_t(clip.Height()) < rows) {
            // Shrinking vertically: combine source rows first (contiguous,
            // vectorised), so the gathering horizontal taps run only once
            // per target pixel.
            const auto [lo, hi] = std::minmax_element(xc.index.begin(), xc.index.end());
            const int colLo = *lo, cols = *hi - *lo + 1;
            std::vector<TColor32> line(static_cast<size_t>(cols));
            std::vector<const TColor32 *> taps;
            forEachRow(job, [&](int y, TColor32 *out) {
                const size_t k = size_t(y - clip.Top);
                taps.clear();
                for (int t = yc.first[k]; t < yc.first[k + 1]; ++t)
                    taps.push_back(job.src.PixelAddress(colLo, yc.index[size_t(t)]));
                combineRows(taps.data(), &yc.weight8[size_t(yc.first[k])], int(taps.size()), line.data(), cols);
                horizontal(line.data(), colLo, out);
            });
            return;
        }
        std::vector<TColor32> mid(rows * size_t(cw));
        for (int sy = rowLo; sy <= rowHi; ++sy)
            horizontal(job.src.RowAddress(sy), 0, &mid[size_t(sy - rowLo) * size_t(cw)]);
        std::vector<const TColor32 *> taps;
        forEachRow(job, [&](int y, TColor32 *out) {
            const size_t k = size_t(y - clip.Top);
            taps.clear();
            for (int t = yc.first[k]; t < yc.first[k + 1]; ++t)
                taps.push_back(&mid[size_t(yc.index[size_t(t)] - rowLo) * size_t(cw)]);
            combineRows(taps.data(), &yc.weight8[size_t(yc.first[k])], int(taps.size()), out, cw);
        });
        return;
    }

    // Signed 14-bit weights, channel by channel, clamped at the end.
    std::vector<TColor32> mid(rows * size_t(cw));
    for (int sy = rowLo; sy <= rowHi; ++sy) {
        const TColor32 *s = job.src.RowAddress(sy);
        TColor32 *out = &mid[size_t(sy - rowLo) * size_t(cw)];
        const int *first = xc.first.data();
        const int *index = xc.index.data();
        const int *weight = xc.weight.data();
        for (int i = 0; i < cw; ++i) {
            int b = 0, g = 0, r = 0, a = 0;
            for (int t = first[i]; t < first[i + 1]; ++t) {
                const TColor32 c = s[index[t]];
                const int w = weight[t];
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

// Large scaled drawings can be split into horizontal bands drawn at the
// same time (SetMaxTransferThreads): bands write disjoint rows and only read
// the source. Custom drawing stays on the calling thread, since its handler
// may not be thread-safe. Off by default: on a busy machine the extra
// threads wait for a core and lose more than they gain.
std::atomic<int> maxThreads{1};

template<typename Run>
void inBands(const Job &job, Run run)
{
    constexpr qint64 MinParallelArea = 1 << 17;
    const int limit = maxThreads.load(std::memory_order_relaxed);
    const unsigned cores = limit > 0 ? unsigned(limit) : std::max(1u, std::thread::hardware_concurrency());
    int bands = 1;
    if (job.comb.mode != dmCustom && qint64(job.clip.Width()) * job.clip.Height() >= MinParallelArea)
        bands = int(std::min({cores, 8u, unsigned(job.clip.Height())}));
    if (bands <= 1) {
        run(job);
        return;
    }
    const int h = job.clip.Height();
    std::vector<TRect> clips(size_t(bands), job.clip);
    for (int b = 0; b < bands; ++b) {
        clips[size_t(b)].Top = job.clip.Top + h * b / bands;
        clips[size_t(b)].Bottom = job.clip.Top + h * (b + 1) / bands;
    }
    std::vector<std::exception_ptr> errors(static_cast<size_t>(bands));
    auto band = [&](int b) {
        try {
            run(Job{job.dst, job.dstRect, clips[size_t(b)], job.src, job.srcRect, job.comb});
        } catch (...) {
            errors[size_t(b)] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> workers;
        for (int b = 1; b < bands; ++b)
            workers.emplace_back(band, b);
        band(0);
    }
    for (const std::exception_ptr &e : errors)
        if (e)
            std::rethrow_exception(e);
}

} // namespace

void SetMaxTransferThreads(int count)
{
    maxThreads.store(std::max(count, 0), std::memory_order_relaxed);
}

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
    if (qint64(dstRect.Right) - dstRect.Left > INT_MAX || qint64(dstRect.Bottom) - dstRect.Top > INT_MAX)
        throw EBitmapError(QStringLiteral("Destination rectangle is invalid"));
    if (srcRect.Width() == dstRect.Width() && srcRect.Height() == dstRect.Height()) {
        TransferBlock(dst, dstRect, clip, src, srcRect, mode);
        return;
    }
    const Combiner comb(mode);
    if (comb.drawsNothing() || clip.IsEmpty())
        return;
    inBands(Job{dst, dstRect, clip, src, srcRect, comb}, doNearest);
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
    // Widths and heights must be representable: the maps divide by them.
    if (qint64(dstRect.Right) - dstRect.Left > INT_MAX || qint64(dstRect.Bottom) - dstRect.Top > INT_MAX)
        throw EBitmapError(QStringLiteral("Destination rectangle is invalid"));
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
        inBands(job, doNearest);
        break;
    case sfDraft:
        inBands(job, doDraft);
        break;
    case sfLinear:
        if (dstRect.Width() > srcRect.Width() && dstRect.Height() > srcRect.Height() && srcRect.Width() > 1
            && srcRect.Height() > 1)
            inBands(job, doBilinear);
        else
            inBands(job, [](const Job &j) { doResample(j, kernelFor(sfLinear)); });
        break;
    default:
        inBands(job, [filter](const Job &j) { doResample(j, kernelFor(filter)); });
        break;
    }
}

} // namespace raster32
