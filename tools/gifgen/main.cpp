// gifgen OUTDIR
//
// Writes the tree-line pictures of the data folder:
//   OUTDIR/2x2.gif                  transparent 2 x 2 stand-in
//   OUTDIR/<Colour>/<shape>.gif     top, mid, btm, hline, vline, plus, minus
// for every colour of the dialogs' colour list.
//
// Every picture is kCellWidth x kCellHeight with its lines centred on row
// kArmRow. The page shows each one in a cell of the row height (16 to 32
// pixels, always even) without scaling, centred vertically, so the cell
// crops (32 - height) / 2 rows from the top and from the bottom alike: the
// vertical strokes always reach both edges of the row, and the horizontal
// arm stays on the row's middle. Lines remain one crisp pixel at any height.

#include "document/ChoiceValues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gif_lib.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kCellWidth = 16;
constexpr int kCellHeight = 32; // the tallest item height
constexpr int kLineColumn = 7;
constexpr int kArmRow = kCellHeight / 2;

// The sign's box: 9 x 9 centred on the line column and the arm row.
constexpr int kBoxHalf = 4;
constexpr int kStrokeHalf = 2;

enum Pixel : GifByteType { Clear = 0, Ink = 1, Fill = 2 };

struct Rgb {
    std::string_view name;
    GifByteType r, g, b;
};

// The standard HTML values of the colour names.
constexpr std::array<Rgb, 16> kRgb = {{
    {"Black", 0x00, 0x00, 0x00},
    {"White", 0xFF, 0xFF, 0xFF},
    {"Gray", 0x80, 0x80, 0x80},
    {"Silver", 0xC0, 0xC0, 0xC0},
    {"Red", 0xFF, 0x00, 0x00},
    {"Green", 0x00, 0x80, 0x00},
    {"Blue", 0x00, 0x00, 0xFF},
    {"Yellow", 0xFF, 0xFF, 0x00},
    {"Purple", 0x80, 0x00, 0x80},
    {"Olive", 0x80, 0x80, 0x00},
    {"Navy", 0x00, 0x00, 0x80},
    {"Aqua", 0x00, 0xFF, 0xFF},
    {"Lime", 0x00, 0xFF, 0x00},
    {"Maroon", 0x80, 0x00, 0x00},
    {"Teal", 0x00, 0x80, 0x80},
    {"Fuchsia", 0xFF, 0x00, 0xFF},
}};

const Rgb* findRgb(std::string_view name)
{
    for (const Rgb& c : kRgb)
        if (c.name == name)
            return &c;
    return nullptr;
}

constexpr Rgb kWhite{"White", 0xFF, 0xFF, 0xFF};

// Relative luminance and contrast ratio as the web's accessibility
// guidelines define them.
double luminance(const Rgb& c)
{
    const auto channel = [](GifByteType v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

double contrast(const Rgb& a, const Rgb& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w * h), Clear) {}
    int width() const { return w_; }
    int height() const { return h_; }
    GifByteType* row(int y) { return px_.data() + static_cast<size_t>(y * w_); }
    void set(int x, int y, Pixel p) { px_[static_cast<size_t>(y * w_ + x)] = p; }
    void vertical(int x, int y0, int y1, Pixel p = Ink)
    {
        for (int y = y0; y <= y1; ++y)
            set(x, y, p);
    }
    void horizontal(int y, int x0, int x1, Pixel p = Ink)
    {
        for (int x = x0; x <= x1; ++x)
            set(x, y, p);
    }

private:
    int w_, h_;
    std::vector<GifByteType> px_;
};

constexpr auto kFilePermissions = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                                  | std::filesystem::perms::group_read | std::filesystem::perms::others_read;
constexpr auto kFolderPermissions = std::filesystem::perms::owner_all | std::filesystem::perms::group_read
                                    | std::filesystem::perms::group_exec | std::filesystem::perms::others_read
                                    | std::filesystem::perms::others_exec;

// Writes a GIF89a whose palette index 0 is transparent.
bool writeGif(const std::filesystem::path& path, Canvas& canvas, const std::vector<GifColorType>& palette)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.string().c_str(), false, &error);
    if (!gif) {
        std::fprintf(stderr, "gifgen: cannot create %s: %s\n", path.string().c_str(), GifErrorString(error));
        return false;
    }
    EGifSetGifVersion(gif, true);

    ColorMapObject* map = GifMakeMapObject(static_cast<int>(palette.size()), palette.data());
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
    gcb.TransparentColor = Clear;
    GifByteType extension[4];
    const size_t extensionSize = EGifGCBToExtension(&gcb, extension);

    bool ok = map && EGifPutScreenDesc(gif, canvas.width(), canvas.height(), 8, 0, map) == GIF_OK
              && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionSize), extension) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, canvas.width(), canvas.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < canvas.height(); ++y)
        ok = EGifPutLine(gif, canvas.row(y), canvas.width()) == GIF_OK;

    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    GifFreeMapObject(map);
    // The library creates files for its owner only; every user exports from them.
    std::error_code ec;
    std::filesystem::permissions(path, kFilePermissions, ec);
    ok = ok && !ec;
    if (!ok)
        std::fprintf(stderr, "gifgen: failed to write %s\n", path.string().c_str());
    return ok;
}

Canvas connector(std::string_view shape)
{
    Canvas c(kCellWidth, kCellHeight);
    const int last = kCellHeight - 1;
    if (shape == "vline") {
        c.vertical(kLineColumn, 0, last);
    } else if (shape == "hline") {
        c.horizontal(kArmRow, 0, kCellWidth - 1);
    } else {
        const int from = shape == "top" ? kArmRow : 0;
        const int to = shape == "btm" ? kArmRow : last;
        c.vertical(kLineColumn, from, to);
        c.horizontal(kArmRow, kLineColumn, kCellWidth - 1);
    }
    return c;
}

// A boxed plus or minus, opaque inside so that it covers the connector the
// page draws beneath it.
Canvas sign(bool plus)
{
    Canvas c(kCellWidth, kCellHeight);
    const int x0 = kLineColumn - kBoxHalf, x1 = kLineColumn + kBoxHalf;
    const int y0 = kArmRow - kBoxHalf, y1 = kArmRow + kBoxHalf;
    for (int y = y0 + 1; y < y1; ++y)
        c.horizontal(y, x0 + 1, x1 - 1, Fill);
    c.horizontal(y0, x0, x1);
    c.horizontal(y1, x0, x1);
    c.vertical(x0, y0, y1);
    c.vertical(x1, y0, y1);
    c.horizontal(kArmRow, kLineColumn - kStrokeHalf, kLineColumn + kStrokeHalf);
    if (plus)
        c.vertical(kLineColumn, kArmRow - kStrokeHalf, kArmRow + kStrokeHalf);
    return c;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gifgen OUTDIR\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out, ec);
    fs::permissions(out, kFolderPermissions, ec);

    bool ok = true;
    {
        Canvas blank(2, 2);
        ok &= writeGif(out / "2x2.gif", blank, {{0xFF, 0xFF, 0xFF}, {0, 0, 0}});
    }

    static constexpr std::array<std::string_view, 5> kConnectors = {"top", "mid", "btm", "hline", "vline"};
    for (const char* name : vi::kColourNames) {
        const Rgb* rgb = findRgb(name);
        if (!rgb) {
            std::fprintf(stderr, "gifgen: no RGB value for colour \"%s\"\n", name);
            return 1;
        }
        const fs::path folder = out / name;
        fs::create_directories(folder, ec);
        fs::permissions(folder, kFolderPermissions, ec);

        // The sign's inside is white, unless the ink is too light to read on
        // white (under 3:1): then black.
        const GifByteType fill = contrast(*rgb, kWhite) >= 3.0 ? 0xFF : 0x00;
        const std::vector<GifColorType> palette = {
            {0xFF, 0xFF, 0xFF}, {rgb->r, rgb->g, rgb->b}, {fill, fill, fill}, {0, 0, 0}};

        for (std::string_view shape : kConnectors) {
            Canvas c = connector(shape);
            ok &= writeGif(folder / (std::string(shape) + ".gif"), c, palette);
        }
        Canvas plus = sign(true), minus = sign(false);
        ok &= writeGif(folder / "plus.gif", plus, palette);
        ok &= writeGif(folder / "minus.gif", minus, palette);
    }
    return ok ? 0 : 1;
}
