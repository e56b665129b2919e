// bmpgen: turns the game's picture sources (art/*.txt) into the BMP, ICO and
// PNG files the game and its installer use.
//
//   bmpgen SOURCE.txt OUT.bmp
//   bmpgen --ico SOURCE.txt OUT.ico          (depth 4 source, AND mask from
//                                             the `transparent` char)
//   bmpgen --png SCALE SOURCE.txt OUT.png    (nearest-neighbour xSCALE, RGBA)
//
// Source format:
//   # comment
//   size W H
//   depth D              (24, 8 or 4)
//   transparent C        (optional)
//   palette
//   C RRGGBB             (one per line, in palette order)
//   pixels
//   H rows of exactly W palette chars, top row first
//
// Output depends on nothing but the source, so regenerating a picture gives
// the same bytes every time.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct SourceError {
    std::string message; // already "file:line: text"
};

struct Picture {
    int width = 0;
    int height = 0;
    int depth = 0;
    int depthLine = 0;
    std::vector<char> chars;            // palette chars, in order
    std::vector<std::uint32_t> colours; // 0xRRGGBB, same order
    int transparent = -1;               // palette index, or -1
    std::vector<std::uint8_t> pixels;   // palette indices, top row first

    std::uint32_t colourAt(int x, int y) const {
        return colours[pixels[static_cast<std::size_t>(y) * width + x]];
    }
    bool transparentAt(int x, int y) const {
        return transparent >= 0 && pixels[static_cast<std::size_t>(y) * width + x] == transparent;
    }
};

[[noreturn]] void fail(const std::string &file, int line, const std::string &text) {
    throw SourceError{file + ":" + std::to_string(line) + ": " + text};
}

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return std::string(s.substr(first, last - first + 1));
}

bool isPaletteChar(char c) {
    return c > ' ' && c < 0x7f && c != '#';
}

int maxColours(int depth) {
    return depth == 4 ? 16 : depth == 8 ? 256 : 1 << 24;
}

int parseNumber(const std::string &file, int line, const std::string &word, int lo, int hi,
                const char *what) {
    int value = 0;
    if (word.empty() || word.size() > 6)
        fail(file, line, std::string("bad ") + what + " '" + word + "'");
    for (char c : word) {
        if (c < '0' || c > '9')
            fail(file, line, std::string("bad ") + what + " '" + word + "'");
        value = value * 10 + (c - '0');
    }
    if (value < lo || value > hi)
        fail(file, line,
             std::string(what) + " " + word + " out of range " + std::to_string(lo) + ".." +
                 std::to_string(hi));
    return value;
}

Picture parseSource(const std::string &file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw SourceError{file + ": cannot open"};

    Picture pic;
    enum class Section { Header, Palette, Pixels } section = Section::Header;
    std::vector<int> paletteLines;
    char transparentChar = 0;
    int transparentLine = 0;
    int sizeLine = 0;
    int rows = 0;
    int lineNo = 0;
    std::string raw;

    while (std::getline(in, raw)) {
        ++lineNo;
        if (section == Section::Pixels) {
            std::string row = raw;
            while (!row.empty() && (row.back() == '\r' || row.back() == ' ' || row.back() == '\t'))
                row.pop_back();
            if (row.empty() || row[0] == '#')
                continue;
            if (rows == pic.height)
                fail(file, lineNo, "more than " + std::to_string(pic.height) + " pixel rows");
            if (static_cast<int>(row.size()) != pic.width)
                fail(file, lineNo,
                     "row has " + std::to_string(row.size()) + " chars, expected " +
                         std::to_string(pic.width));
            for (std::size_t x = 0; x < row.size(); ++x) {
                int index = -1;
                for (std::size_t i = 0; i < pic.chars.size(); ++i)
                    if (pic.chars[i] == row[x])
                        index = static_cast<int>(i);
                if (index < 0)
                    fail(file, lineNo,
                         std::string("unknown char '") + row[x] + "' in column " +
                             std::to_string(x + 1));
                pic.pixels.push_back(static_cast<std::uint8_t>(index));
            }
            ++rows;
            continue;
        }

        // '#' is never a palette char, so outside the pixel rows it always
        // starts a comment.
        const std::string line = trim(std::string_view(raw).substr(0, raw.find('#')));
        if (line.empty())
            continue;
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        std::vector<std::string> args;
        for (std::string w; words >> w;)
            args.push_back(w);

        if (keyword.size() == 1) {
            if (section != Section::Palette)
                fail(file, lineNo, "palette entry outside the palette section");
            const char c = keyword[0];
            if (!isPaletteChar(c))
                fail(file, lineNo, std::string("'") + c + "' cannot be a palette char");
            for (char existing : pic.chars)
                if (existing == c)
                    fail(file, lineNo, std::string("palette char '") + c + "' defined twice");
            if (args.size() != 1 || args[0].size() != 6 ||
                args[0].find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                fail(file, lineNo, "palette entry must be '<char> RRGGBB'");
            pic.chars.push_back(c);
            pic.colours.push_back(static_cast<std::uint32_t>(std::stoul(args[0], nullptr, 16)));
            paletteLines.push_back(lineNo);
        } else if (keyword == "size") {
            if (args.size() != 2)
                fail(file, lineNo, "expected 'size W H'");
            pic.width = parseNumber(file, lineNo, args[0], 1, 4096, "width");
            pic.height = parseNumber(file, lineNo, args[1], 1, 4096, "height");
            sizeLine = lineNo;
        } else if (keyword == "depth") {
            if (args.size() != 1 || (args[0] != "24" && args[0] != "8" && args[0] != "4"))
                fail(file, lineNo, "expected 'depth 24', 'depth 8' or 'depth 4'");
            pic.depth = std::stoi(args[0]);
            pic.depthLine = lineNo;
        } else if (keyword == "transparent") {
            if (args.size() != 1 || args[0].size() != 1)
                fail(file, lineNo, "expected 'transparent <char>'");
            transparentChar = args[0][0];
            transparentLine = lineNo;
        } else if (keyword == "palette") {
            if (!args.empty())
                fail(file, lineNo, "'palette' takes no arguments");
            section = Section::Palette;
        } else if (keyword == "pixels") {
            if (!args.empty())
                fail(file, lineNo, "'pixels' takes no arguments");
            if (sizeLine == 0)
                fail(file, lineNo, "'size' missing before 'pixels'");
            if (pic.depth == 0)
                fail(file, lineNo, "'depth' missing before 'pixels'");
            if (pic.chars.empty())
                fail(file, lineNo, "empty palette");
            const int limit = maxColours(pic.depth);
            if (static_cast<int>(pic.chars.size()) > limit)
                fail(file, paletteLines[static_cast<std::size_t>(limit)],
                     "too many palette entries for depth " + std::to_string(pic.depth) +
                         " (at most " + std::to_string(limit) + ")");
            if (transparentLine != 0) {
                for (std::size_t i = 0; i < pic.chars.size(); ++i)
                    if (pic.chars[i] == transparentChar)
                        pic.transparent = static_cast<int>(i);
                if (pic.transparent < 0)
                    fail(file, transparentLine,
                         std::string("transparent char '") + transparentChar +
                             "' is not in the palette");
            }
            section = Section::Pixels;
            pic.pixels.reserve(static_cast<std::size_t>(pic.width) * pic.height);
        } else {
            fail(file, lineNo, "unknown line '" + line + "'");
        }
    }
    if (section != Section::Pixels)
        fail(file, lineNo, "no 'pixels' section");
    if (rows != pic.height)
        fail(file, lineNo,
             "expected " + std::to_string(pic.height) + " pixel rows, found " +
                 std::to_string(rows));
    return pic;
}

// ---- byte helpers ----

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes &b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes &b, std::uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
void put32be(Bytes &b, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(static_cast<std::uint8_t>(v >> shift));
}

int rowStride(int width, int bits) {
    return (width * bits + 31) / 32 * 4;
}

void putInfoHeader(Bytes &b, int width, int height, int bits, std::uint32_t imageSize,
                   std::uint32_t coloursUsed, std::uint32_t pixelsPerMetre) {
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(width));
    put32(b, static_cast<std::uint32_t>(height));
    put16(b, 1); // planes
    put16(b, static_cast<std::uint32_t>(bits));
    put32(b, 0); // BI_RGB
    put32(b, imageSize);
    put32(b, pixelsPerMetre);
    put32(b, pixelsPerMetre);
    put32(b, coloursUsed);
    put32(b, 0); // all colours important
}

// Palette as BMP stores it: B, G, R, 0, padded with black to `entries`.
void putPalette(Bytes &b, const std::vector<std::uint32_t> &colours, int entries) {
    for (int i = 0; i < entries; ++i) {
        const std::uint32_t c =
            i < static_cast<int>(colours.size()) ? colours[static_cast<std::size_t>(i)] : 0;
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
        b.push_back(static_cast<std::uint8_t>(c >> 16));
        b.push_back(0);
    }
}

// Colour data, bottom row first, each row padded to 4 bytes.
void putPixelRows(Bytes &b, const Picture &pic) {
    const int stride = rowStride(pic.width, pic.depth);
    for (int y = pic.height - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < pic.width; ++x) {
            const std::uint8_t index = pic.pixels[static_cast<std::size_t>(y) * pic.width + x];
            if (pic.depth == 24) {
                const std::uint32_t c = pic.colours[index];
                row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(c);
                row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(c >> 8);
                row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(c >> 16);
            } else if (pic.depth == 8) {
                row[static_cast<std::size_t>(x)] = index;
            } else {
                row[static_cast<std::size_t>(x / 2)] |=
                    static_cast<std::uint8_t>(x % 2 ? index : index << 4);
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
}

Bytes makeBmp(const Picture &pic) {
    const int entries = pic.depth == 24 ? 0 : 1 << pic.depth;
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(entries) * 4;
    const std::uint32_t imageSize =
        static_cast<std::uint32_t>(rowStride(pic.width, pic.depth)) * pic.height;
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    put32(b, offset + imageSize);
    put32(b, 0); // reserved
    put32(b, offset);
    putInfoHeader(b, pic.width, pic.height, pic.depth, imageSize,
                  static_cast<std::uint32_t>(entries), 2835);
    putPalette(b, pic.colours, entries);
    putPixelRows(b, pic);
    return b;
}

Bytes makeIco(const Picture &pic, const std::string &file) {
    if (pic.depth != 4)
        fail(file, pic.depthLine, "an icon needs 'depth 4'");
    if (pic.width > 256 || pic.height > 256)
        throw SourceError{file + ": an icon is at most 256x256"};
    // Transparent pixels keep their palette index; that entry is written as
    // black so the colour data leaves the screen untouched where the mask
    // lets it show through.
    std::vector<std::uint32_t> colours = pic.colours;
    if (pic.transparent >= 0)
        colours[static_cast<std::size_t>(pic.transparent)] = 0;

    const int maskStride = rowStride(pic.width, 1);
    const std::uint32_t colourBytes =
        static_cast<std::uint32_t>(rowStride(pic.width, 4)) * pic.height;
    const std::uint32_t maskBytes = static_cast<std::uint32_t>(maskStride) * pic.height;
    const std::uint32_t imageBytes = 40 + 16 * 4 + colourBytes + maskBytes;

    Bytes b;
    put16(b, 0);                                              // reserved
    put16(b, 1);                                              // icon
    put16(b, 1);                                              // one image
    b.push_back(static_cast<std::uint8_t>(pic.width & 0xff)); // 256 is stored as 0
    b.push_back(static_cast<std::uint8_t>(pic.height & 0xff));
    b.push_back(16); // colours
    b.push_back(0);
    put16(b, 1); // planes
    put16(b, 4); // bits per pixel
    put32(b, imageBytes);
    put32(b, 6 + 16); // image data follows the single directory entry

    putInfoHeader(b, pic.width, pic.height * 2, 4, colourBytes + maskBytes, 0, 0);
    putPalette(b, colours, 16);
    putPixelRows(b, pic);
    for (int y = pic.height - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < pic.width; ++x)
            if (pic.transparentAt(x, y))
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// ---- PNG, written with stored (uncompressed) deflate blocks ----

std::uint32_t crc32(const std::uint8_t *data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t adler32(const Bytes &data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void putChunk(Bytes &png, const char *type, const Bytes &data) {
    put32be(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put32be(png, crc32(png.data() + start, png.size() - start));
}

Bytes makePng(const Picture &pic, int scale) {
    const int width = pic.width * scale;
    const int height = pic.height * scale;

    Bytes raw; // filter byte 0, then RGBA per pixel, per row
    raw.reserve(static_cast<std::size_t>(height) * (1 + 4 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pic.colourAt(x / scale, y / scale);
            raw.push_back(static_cast<std::uint8_t>(c >> 16));
            raw.push_back(static_cast<std::uint8_t>(c >> 8));
            raw.push_back(static_cast<std::uint8_t>(c));
            raw.push_back(pic.transparentAt(x / scale, y / scale) ? 0 : 255);
        }
    }

    Bytes zlib{0x78, 0x01}; // deflate, 32K window, no preset dictionary
    std::size_t pos = 0;
    do {
        const std::size_t len = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + len == raw.size();
        zlib.push_back(last ? 1 : 0); // BFINAL, BTYPE 00 = stored
        put16(zlib, static_cast<std::uint32_t>(len));
        put16(zlib, static_cast<std::uint32_t>(~len & 0xffff));
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                    raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
        pos += len;
    } while (pos < raw.size());
    put32be(zlib, adler32(raw));

    Bytes ihdr;
    put32be(ihdr, static_cast<std::uint32_t>(width));
    put32be(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(),
                {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter variants, no interlace

    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    putChunk(png, "IHDR", ihdr);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", {});
    return png;
}

bool writeFile(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

int usage() {
    std::cerr << "usage: bmpgen SOURCE.txt OUT.bmp\n"
                 "       bmpgen --ico SOURCE.txt OUT.ico\n"
                 "       bmpgen --png SCALE SOURCE.txt OUT.png\n";
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string mode = "bmp";
    int scale = 1;
    std::size_t first = 0;
    if (!args.empty() && args[0] == "--ico") {
        mode = "ico";
        first = 1;
    } else if (!args.empty() && args[0] == "--png") {
        mode = "png";
        if (args.size() < 2)
            return usage();
        const std::string &s = args[1];
        if (s.empty() || s.size() > 2 || s.find_first_not_of("0123456789") != std::string::npos)
            return usage();
        scale = std::stoi(s);
        if (scale < 1 || scale > 64)
            return usage();
        first = 2;
    }
    if (args.size() != first + 2 || args[first].starts_with("--"))
        return usage();
    const std::string &source = args[first];
    const std::string &output = args[first + 1];

    try {
        const Picture pic = parseSource(source);
        const Bytes bytes = mode == "ico"   ? makeIco(pic, source)
                            : mode == "png" ? makePng(pic, scale)
                                            : makeBmp(pic);
        if (!writeFile(output, bytes)) {
            std::cerr << "bmpgen: cannot write " << output << "\n";
            return 1;
        }
    } catch (const SourceError &e) {
        std::cerr << "bmpgen: " << e.message << "\n";
        return 1;
    }
    return 0;
}
