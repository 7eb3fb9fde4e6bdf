// wallpapergen: draws the light wood-grain wallpaper of the main window and
// writes it as a baseline JPEG (800 x 376, three components) and, when a
// second path is given, in the picture stored form that a window
// description holds: byte 10, "TJPEGImage", 32-bit little-endian byte
// count, the JPEG bytes.
//
//   wallpapergen resources/wallpaper.jpg resources/wallpaper.pic [quality]
//
// The texture is deterministic (fixed seed), so a rebuild gives the same file.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 376;

// Value noise on an integer lattice with smooth interpolation.
struct Noise
{
    static constexpr int N = 256;
    std::vector<float> values;
    std::vector<int> perm;

    explicit Noise(uint32_t seed)
        : values(N), perm(2 * N)
    {
        uint32_t s = seed;
        auto next = [&s] {
            s = s * 1664525u + 1013904223u;
            return s >> 8;
        };
        for (int i = 0; i < N; ++i) {
            values[i] = float(next() % 10000) / 10000.0f;
            perm[i] = i;
        }
        for (int i = N - 1; i > 0; --i)
            std::swap(perm[i], perm[next() % uint32_t(i + 1)]);
        for (int i = 0; i < N; ++i)
            perm[N + i] = perm[i];
    }

    float lattice(int x, int y) const { return values[perm[(perm[x & (N - 1)] + y) & (N - 1)]]; }

    float at(float x, float y) const
    {
        const int xi = int(std::floor(x)), yi = int(std::floor(y));
        const float fx = x - float(xi), fy = y - float(yi);
        const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
        const float a = lattice(xi, yi), b = lattice(xi + 1, yi);
        const float c = lattice(xi, yi + 1), d = lattice(xi + 1, yi + 1);
        return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
    }

    float fbm(float x, float y, int octaves) const
    {
        float sum = 0, amp = 0.5f, norm = 0;
        for (int i = 0; i < octaves; ++i) {
            sum += amp * at(x, y);
            norm += amp;
            x *= 2.03f;
            y *= 2.03f;
            amp *= 0.5f;
        }
        return sum / norm;
    }
};

std::vector<unsigned char> drawWood()
{
    const Noise warp(20240611u), fibre(77u), knots(4242u);
    std::vector<unsigned char> rgb(size_t(kWidth) * kHeight * 3);
    // Light maple-like tones: early wood and the darker late-wood rings.
    const float light[3] = {236, 212, 168};
    const float dark[3] = {205, 166, 112};
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // Grain runs along x; rings are bands across y bent by the warp.
            const float w = warp.fbm(float(x) * 0.0045f, float(y) * 0.012f, 4);
            const float k = knots.fbm(float(x) * 0.01f, float(y) * 0.03f, 2);
            const float t = float(y) * 0.055f + w * 5.0f + k * 1.2f;
            float ring = t - std::floor(t);
            ring = std::pow(ring, 2.6f); // sharp late-wood edge, soft early wood
            // Fine fibres: noise stretched strongly along the grain.
            const float f = fibre.fbm(float(x) * 0.02f, float(y) * 0.9f, 3);
            float mix = 0.75f * ring + 0.35f * (f - 0.5f);
            mix = std::fmin(1.0f, std::fmax(0.0f, mix));
            unsigned char *p = &rgb[(size_t(y) * kWidth + size_t(x)) * 3];
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<unsigned char>(std::lround(light[c] + (dark[c] - light[c]) * mix));
        }
    }
    return rgb;
}

std::vector<unsigned char> encode(const std::vector<unsigned char> &rgb, int quality)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr); // default error_exit ends the tool, fine here
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo); // baseline, Huffman, YCbCr
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char *>(&rgb[size_t(cinfo.next_scanline) * kWidth * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<unsigned char> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

bool writeFile(const char *path, const std::vector<unsigned char> &bytes)
{
    FILE *f = std::fopen(path, "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s OUT.jpg [OUT.pic] [quality]\n", argv[0]);
        return 2;
    }
    const int quality = argc == 4 ? std::atoi(argv[3]) : 75;
    if (quality < 1 || quality > 100) {
        std::fprintf(stderr, "quality must be 1..100\n");
        return 2;
    }
    const std::vector<unsigned char> jpeg = encode(drawWood(), quality);
    if (!writeFile(argv[1], jpeg)) {
        std::perror(argv[1]);
        return 1;
    }
    if (argc >= 3) {
        static const char name[] = "TJPEGImage";
        std::vector<unsigned char> pic;
        pic.push_back(sizeof name - 1);
        pic.insert(pic.end(), name, name + sizeof name - 1);
        const auto n = uint32_t(jpeg.size());
        for (int i = 0; i < 4; ++i)
            pic.push_back(static_cast<unsigned char>(n >> (8 * i)));
        pic.insert(pic.end(), jpeg.begin(), jpeg.end());
        if (!writeFile(argv[2], pic)) {
            std::perror(argv[2]);
            return 1;
        }
    }
    std::printf("%s: %zu bytes\n", argv[1], jpeg.size());
    return 0;
}
