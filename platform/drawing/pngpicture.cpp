#include "platform/drawing/pngpicture.h"

#include <QIODevice>
#include <QImage>
#include <QPainter>

#include <png.h>
#include <sys/mman.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A chart is mostly white with flat colours: rows left unfiltered and packed as runs by the
// fastest zlib level give small files quickly, smaller here than with any row filter. The two
// halves of a picture are compressed at once.
constexpr int kPngZlibLevel = 1;

void WritePngData(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (file->write(reinterpret_cast<const char*>(data), static_cast<qint64>(length)) !=
        static_cast<qint64>(length)) {
        png_error(png, "write failed");
    }
}

void FlushPngData(png_structp) {}

// One row of an opaque 32-bit picture as the bytes PNG compresses: the filter type (none), then
// 8-bit RGB. The row has room for one byte more: on a little-endian machine each pixel is
// stored as four bytes, red, green, blue and a zero that the next pixel overwrites, one store a
// pixel instead of three.
void ToPngRow(const QRgb* pixels, int width, uint8_t* row) {
    row[0] = 0;
    uint8_t* rgb = row + 1;
    if constexpr (std::endian::native == std::endian::little) {
        for (int x = 0; x < width; ++x) {
            // 0xAARRGGBB to 0x00BBGGRR: the bytes R, G, B, 0 in memory.
            const uint32_t bgr = __builtin_bswap32(pixels[x]) >> 8;
            std::memcpy(rgb + 3 * x, &bgr, sizeof bgr);
        }
    } else {
        for (int x = 0; x < width; ++x) {
            rgb[3 * x] = static_cast<uint8_t>(qRed(pixels[x]));
            rgb[3 * x + 1] = static_cast<uint8_t>(qGreen(pixels[x]));
            rgb[3 * x + 2] = static_cast<uint8_t>(qBlue(pixels[x]));
        }
    }
}

// Rows top <= y < bottom of the picture as raw deflate data that ends on a byte boundary (the
// last part of the stream: with its final block), and their Adler-32 checksum.
struct DeflatedRows {
    std::vector<uint8_t> data;
    uLong adler = 1;
    uLong length = 0;
    bool ok = false;
};

DeflatedRows DeflateRows(const QImage& image, int top, int bottom, bool last) {
    DeflatedRows out;
    z_stream z{};
    if (deflateInit2(&z, kPngZlibLevel, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK) {
        return out;
    }
    const size_t rowBytes = 1 + static_cast<size_t>(image.width()) * 3;
    std::vector<uint8_t> row(rowBytes + 1); // the room ToPngRow needs
    out.data.resize(64 * 1024);
    size_t used = 0;
    bool ok = true;
    for (int y = top; ok && y <= bottom; ++y) {
        const bool end = y == bottom;
        if (!end) {
            ToPngRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(),
                     row.data());
            out.adler = adler32(out.adler, row.data(), static_cast<uInt>(rowBytes));
            out.length += rowBytes;
            z.next_in = row.data();
            z.avail_in = static_cast<uInt>(rowBytes);
        }
        const int flush = !end ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        for (;;) {
            if (out.data.size() - used < rowBytes) {
                out.data.resize(out.data.size() * 2);
            }
            z.next_out = out.data.data() + used;
            z.avail_out = static_cast<uInt>(out.data.size() - used);
            const int status = deflate(&z, flush);
            used = out.data.size() - z.avail_out;
            if (status == Z_STREAM_ERROR) {
                ok = false;
                break;
            }
            // Done with this row once zlib took it all and, at the end, flushed everything.
            if (z.avail_in == 0 && z.avail_out != 0 && (!end || !last || status == Z_STREAM_END)) {
                break;
            }
        }
    }
    deflateEnd(&z);
    out.data.resize(used);
    out.ok = ok;
    return out;
}

// The zlib stream of an opaque RGB32 picture's PNG rows, compressed in two halves at once where
// the machine has a second core; the halves join as one stream (the first ends on a byte
// boundary without a final block) with the checksum of the whole.
bool DeflatePicture(const QImage& image, std::vector<uint8_t>& stream) {
    const int height = image.height();
    const bool split = height >= 64 && std::thread::hardware_concurrency() > 1;
    const int middle = split ? height / 2 : height;
    DeflatedRows first;
    DeflatedRows second;
    if (split) {
        std::thread top([&] { first = DeflateRows(image, 0, middle, false); });
        second = DeflateRows(image, middle, height, true);
        top.join();
    } else {
        first = DeflateRows(image, 0, height, true);
        second.ok = true;
    }
    if (!first.ok || !second.ok) {
        return false;
    }
    // CMF: deflate with a 32 KiB window; FLG: the fastest level, and the check bits.
    stream = {0x78, 0x01};
    stream.insert(stream.end(), first.data.begin(), first.data.end());
    stream.insert(stream.end(), second.data.begin(), second.data.end());
    const uLong adler =
        adler32_combine(first.adler, second.adler, static_cast<z_off_t>(second.length));
    for (const int shift : {24, 16, 8, 0}) {
        stream.push_back(static_cast<uint8_t>(adler >> shift));
    }
    return true;
}

// Writes a PNG of an 8-bit RGB picture of the given size from its compressed rows. No object
// with a destructor lives in this function, as libpng reports errors by jumping back to its
// start.
bool WritePng(QSize size, const std::vector<uint8_t>& stream, QIODevice& file) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &file, WritePngData, FlushPngData);
    png_set_IHDR(png, info, static_cast<png_uint_32>(size.width()),
                 static_cast<png_uint_32>(size.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // The rows are compressed already: one IDAT chunk of at most 1 MiB after another.
    constexpr size_t kChunk = size_t{1} << 20;
    for (size_t at = 0; at < stream.size(); at += kChunk) {
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), stream.data() + at,
                        std::min(kChunk, stream.size() - at));
    }
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Pictures this large are kept off transparent huge pages, even where the system would give
// them unasked. A fresh huge page is zeroed whole when first touched, and after a pause the
// system may have to find and clear each one anew: measured with the tool's whole process
// writing a 3840x2160 PNG, 2 s apart, interleaved with the same process on huge pages, on a
// 2-core machine with huge pages on request: a median of 97 ms (at most 124) on 4 KiB pages
// against 129 ms (61 to 176) on huge pages, of which the kernel's page clearing alone took up to
// 140 ms. Back to back huge pages were quicker (67 against 84 ms), both well within the 120 ms
// the tool is held to; 4 KiB pages keep it in both.
constexpr size_t kLargePictureBytes = size_t{2} << 20;

// Memory for a picture's pixels: the mapping and its length; null when there is none.
struct PictureMapping {
    uchar* pixels = nullptr;
    size_t length = 0;
};

// Anonymous memory for bytes of pixels, a large picture's on small pages; no mapping when it
// cannot be had.
PictureMapping MapPictureMemory(size_t bytes) {
    void* mapping =
        mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        return {};
    }
    if (bytes >= kLargePictureBytes) {
        madvise(mapping, bytes, MADV_NOHUGEPAGE);
    }
    return {static_cast<uchar*>(mapping), bytes};
}

void UnmapPictureMemory(const PictureMapping& m) {
    if (m.pixels != nullptr) {
        munmap(m.pixels, m.length);
    }
}

// The memory of the last picture, kept for the next one: a process that writes several pictures
// (a chart and its band plot, exports one after another) has its pages given to it once.
struct PictureMemory {
    std::mutex mutex;
    PictureMapping kept;
    bool inUse = false;
};

PictureMemory& KeptMemory() {
    // Never destroyed: pictures may be written until the process ends.
    static auto* memory = new PictureMemory;
    return *memory;
}

void ReleaseKeptMemory(void*) {
    PictureMemory& memory = KeptMemory();
    const std::lock_guard lock(memory.mutex);
    memory.inUse = false;
}

void ReleasePages(void* mapping) {
    const auto* m = static_cast<PictureMapping*>(mapping);
    UnmapPictureMemory(*m);
    delete m;
}

QImage PictureOn(uchar* pixels, QSize size, QImageCleanupFunction release, void* releaseData) {
    return {pixels,  size.width(), size.height(), 4 * size.width(), QImage::Format_RGB32,
            release, releaseData};
}

// The kept memory at least bytes long, when it is free; false when it is in use or cannot be
// had. Called with memory.mutex held.
bool GrowKeptMemory(PictureMemory& memory, size_t bytes) {
    if (memory.inUse) {
        return false;
    }
    if (memory.kept.length < bytes) {
        UnmapPictureMemory(memory.kept);
        memory.kept = MapPictureMemory(bytes);
    }
    return memory.kept.pixels != nullptr;
}

// An RGB32 picture of the given size on the kept memory, or on memory of its own while the kept
// memory is in use (or cannot grow).
QImage NewPicture(QSize size) {
    if (size.isEmpty()) {
        return {};
    }
    const size_t bytes = static_cast<size_t>(4) * static_cast<size_t>(size.width()) *
                         static_cast<size_t>(size.height());
    PictureMemory& memory = KeptMemory();
    {
        const std::lock_guard lock(memory.mutex);
        if (GrowKeptMemory(memory, bytes)) {
            memory.inUse = true;
            return PictureOn(memory.kept.pixels, size, ReleaseKeptMemory, nullptr);
        }
    }
    const PictureMapping own = MapPictureMemory(bytes);
    if (own.pixels == nullptr) {
        return {size, QImage::Format_RGB32};
    }
    return PictureOn(own.pixels, size, ReleasePages, new PictureMapping(own));
}

} // namespace

bool WritePngPicture(QIODevice& file, QSize size, const std::function<void(QPainter&)>& draw) {
    QImage image = NewPicture(size);
    if (image.isNull()) {
        return false;
    }
    QPainter painter(&image);
    draw(painter);
    painter.end();
    std::vector<uint8_t> stream;
    return DeflatePicture(image, stream) && WritePng(size, stream, file);
}
