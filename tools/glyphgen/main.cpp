// glyphgen: writes the list-item glyphs BITMAP_TT (TrueType font),
// BITMAP_NTT (other font) and BITMAP_PRN (printer) as 16 x 16 BMP files
// with 4 bits per pixel and the standard 16-colour palette, on an olive
// (RGB 128, 128, 0) background that the glyph painter treats as transparent.
//
//   glyphgen OUTDIR

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The 16-colour palette (RGB) and the letters used in the pictures below.
struct Entry
{
    char key;
    uint8_t r, g, b;
};
constexpr Entry kPalette[16] = {
    {'K', 0, 0, 0},       {'m', 128, 0, 0},     {'g', 0, 128, 0},     {'.', 128, 128, 0},
    {'n', 0, 0, 128},     {'p', 128, 0, 128},   {'t', 0, 128, 128},   {'G', 128, 128, 128},
    {'S', 192, 192, 192}, {'R', 255, 0, 0},     {'L', 0, 255, 0},     {'Y', 255, 255, 0},
    {'B', 0, 0, 255},     {'F', 255, 0, 255},   {'A', 0, 255, 255},   {'W', 255, 255, 255},
};

using Picture = std::vector<std::string>; // 16 rows of 16 keys, top row first

// Two letters T: a grey one behind, a black one in front.
const Picture kTrueType = {
    "................",
    "GGGGGGGGG.......",
    "GGGGGGGGG.......",
    "G...GG..G.......",
    "....GG..........",
    "....GG.KKKKKKKKK",
    "....GG.KKKKKKKKK",
    "....GG.K...KK..K",
    "....GG.....KK...",
    "...GGGG....KK...",
    "...........KK...",
    "...........KK...",
    "...........KK...",
    "..........KKKK..",
    "................",
    "................",
};

// A red script letter with a grey shadow.
const Picture kNonTrueType = {
    "................",
    "................",
    "........RRRR....",
    ".......RR..RR...",
    "......RR....G...",
    "......RR........",
    "....RRRRRR......",
    ".....GRRGGG.....",
    "......RR........",
    "......RR........",
    "......RR........",
    ".....RR.........",
    ".....RR.........",
    "..RRRR..........",
    "...GGG..........",
    "................",
};

// A printer: paper on top, grey body with a dark slot, a lamp.
const Picture kPrinter = {
    "................",
    "....KKKKKKK.....",
    "....KWWWWWK.....",
    "....KWKKKWK.....",
    "....KWWWWWK.....",
    "..KKKKKKKKKKK...",
    ".KSSSSSSSSSSGK..",
    ".KSSSSSSSSSSGK..",
    ".KSSSSSSSSLSGK..",
    ".KGGGGGGGGGGGK..",
    ".KGKKKKKKKKKGK..",
    ".KGGGGGGGGGGGK..",
    ".KKKKKKKKKKKKK..",
    "..KWWWWWWWWWK...",
    "..KKKKKKKKKKK...",
    "................",
};

int indexOf(char key)
{
    for (int i = 0; i < 16; ++i)
        if (kPalette[i].key == key)
            return i;
    return 3; // unknown keys become the olive background
}

void put16(std::vector<uint8_t> &out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t> &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> bmp(const Picture &pic)
{
    constexpr uint32_t kSide = 16, kRowBytes = 8; // 16 pixels at 4 bits, already 4-byte aligned
    constexpr uint32_t kHeaders = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, kHeaders + kRowBytes * kSide);
    put32(out, 0);
    put32(out, kHeaders);
    put32(out, 40);
    put32(out, kSide);
    put32(out, kSide); // positive height: bottom-up rows
    put16(out, 1);
    put16(out, 4);
    put32(out, 0); // BI_RGB
    put32(out, kRowBytes * kSide);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 16);
    put32(out, 0);
    for (const Entry &e : kPalette) {
        out.push_back(e.b);
        out.push_back(e.g);
        out.push_back(e.r);
        out.push_back(0);
    }
    for (int y = int(kSide) - 1; y >= 0; --y) {
        const std::string &row = pic[size_t(y)];
        for (size_t x = 0; x < kSide; x += 2)
            out.push_back(uint8_t(indexOf(row[x]) << 4 | indexOf(row[x + 1])));
    }
    return out;
}

bool write(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const struct {
        const char *name;
        const Picture *pic;
    } glyphs[] = {{"BITMAP_TT", &kTrueType}, {"BITMAP_NTT", &kNonTrueType}, {"BITMAP_PRN", &kPrinter}};
    for (const auto &g : glyphs) {
        for (const std::string &row : *g.pic)
            if (row.size() != 16 || g.pic->size() != 16) {
                std::fprintf(stderr, "%s: picture is not 16 x 16\n", g.name);
                return 1;
            }
        const std::string path = dir + "/" + g.name + ".bmp";
        if (!write(path, bmp(*g.pic))) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
