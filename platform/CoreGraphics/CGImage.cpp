#include "CoreGraphics/CGImage.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

// Rasters of one image kept by pixel size, the most recently used last. A few sizes
// recur (scale 1 and 2, the slices of stretched artwork); a resize brings new ones, so
// the oldest go.
class RasterCache {
  public:
    static constexpr size_t capacity = 12;

    template <class Make> CGImage get(size_t w, size_t h, Make&& make) {
        std::lock_guard guard(lock);
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].w == w && entries[i].h == h) {
                std::rotate(entries.begin() + std::ptrdiff_t(i),
                            entries.begin() + std::ptrdiff_t(i) + 1, entries.end());
                return entries.back().image;
            }
        CGImage image = make();
        if (entries.size() >= capacity)
            entries.erase(entries.begin());
        entries.push_back({w, h, image});
        return image;
    }
    size_t count() const {
        std::lock_guard guard(lock);
        return entries.size();
    }

  private:
    struct Entry {
        size_t w, h;
        CGImage image;
    };
    mutable std::mutex lock;
    std::vector<Entry> entries;
};

// A bitmap's stretched copies hang on its cairo surface, and go with it.
const cairo_user_data_key_t resampleKey{};

RasterCache* resampleCache(cairo_surface_t* surface, bool create) {
    // One lock for attaching caches; each cache then has its own.
    static std::mutex attaching;
    std::lock_guard guard(attaching);
    auto* cache = static_cast<RasterCache*>(cairo_surface_get_user_data(surface, &resampleKey));
    if (!cache && create) {
        cache = new RasterCache;
        cairo_surface_set_user_data(surface, &resampleKey, cache,
                                    [](void* p) { delete static_cast<RasterCache*>(p); });
    }
    return cache;
}

struct ReadCursor {
    std::span<const uint8_t> data;
    size_t offset = 0;
};

cairo_status_t readChunk(void* closure, unsigned char* out, unsigned int length) {
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (cursor->data.size() - cursor->offset < length)
        return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, cursor->data.data() + cursor->offset, length);
    cursor->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t appendChunk(void* closure, const unsigned char* in, unsigned int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(closure);
    out->insert(out->end(), in, in + length);
    return CAIRO_STATUS_SUCCESS;
}

std::optional<CGImage> adoptIfValid(cairo_surface_t* surface) {
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    return CGImage(surface);
}

} // namespace

CGImage::CGImage(cairo_surface_t* adopted) : surface_(adopted, cairo_surface_destroy) {}

std::optional<CGImage> CGImage::fromPNGFile(const std::string& path) {
    return adoptIfValid(cairo_image_surface_create_from_png(path.c_str()));
}

std::optional<CGImage> CGImage::fromPNGData(std::span<const uint8_t> data) {
    ReadCursor cursor{data};
    return adoptIfValid(cairo_image_surface_create_from_png_stream(readChunk, &cursor));
}

CGImage CGImage::blank(size_t w, size_t h) {
    return CGImage(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(w), int(h)));
}

size_t CGImage::width() const {
    return size_t(cairo_image_surface_get_width(surface_.get()));
}

size_t CGImage::height() const {
    return size_t(cairo_image_surface_get_height(surface_.get()));
}

CGImage::Pixel CGImage::pixel(size_t x, size_t y) const {
    cairo_surface_t* s = surface_.get();
    if (x >= width() || y >= height())
        return {0, 0, 0, 0};
    cairo_surface_flush(s);
    const unsigned char* row =
        cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    uint32_t argb;
    if (cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24) {
        std::memcpy(&argb, row + 4 * x, 4);
        argb |= 0xff000000u;
    } else if (cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32) {
        std::memcpy(&argb, row + 4 * x, 4);
    } else {
        return {0, 0, 0, 0};
    }
    uint8_t a = argb >> 24;
    if (a == 0)
        return {0, 0, 0, 0};
    // Premultiplied → straight: c = c_p · 255 / a.
    auto straight = [a](uint32_t c) {
        return uint8_t(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
    };
    return {straight((argb >> 16) & 0xff), straight((argb >> 8) & 0xff), straight(argb & 0xff), a};
}

const uint8_t* CGImage::bytes() const {
    cairo_surface_flush(surface_.get());
    return cairo_image_surface_get_data(surface_.get());
}

size_t CGImage::bytesPerRow() const {
    return size_t(cairo_image_surface_get_stride(surface_.get()));
}

bool CGImage::writePNG(const std::string& path) const {
    return cairo_surface_write_to_png(surface_.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

std::vector<uint8_t> CGImage::pngData() const {
    std::vector<uint8_t> out;
    if (cairo_surface_write_to_png_stream(surface_.get(), appendChunk, &out) !=
        CAIRO_STATUS_SUCCESS)
        out.clear();
    return out;
}

CGImage CGImage::resampled(size_t w, size_t h) const {
    if (w == width() && h == height())
        return *this;
    return resampleCache(surface_.get(), true)->get(w, h, [&] {
        CGImage image = CGImage::blank(std::max<size_t>(w, 1), std::max<size_t>(h, 1));
        cairo_t* cr = cairo_create(image.surface());
        cairo_scale(cr, CGFloat(w) / CGFloat(width()), CGFloat(h) / CGFloat(height()));
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface_.get());
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
        cairo_pattern_destroy(pattern);
        cairo_destroy(cr);
        cairo_surface_flush(image.surface());
        return image;
    });
}

size_t CGImage::cachedResampleCount() const {
    RasterCache* cache = resampleCache(surface_.get(), false);
    return cache ? cache->count() : 0;
}

CGImage CGImage::named(std::string name) const {
    CGImage copy = *this;
    copy.name_ = std::move(name);
    return copy;
}

struct CGSVGDocument::Handle {
    RsvgHandle* rsvg = nullptr;
    std::mutex lock; // librsvg handles are not safe to render from two threads at once
    RasterCache rasters;
    ~Handle() {
        if (rsvg)
            g_object_unref(rsvg);
    }
};

std::optional<CGSVGDocument> CGSVGDocument::fromData(std::span<const uint8_t> data) {
    GError* error = nullptr;
    RsvgHandle* rsvg = rsvg_handle_new_from_data(data.data(), data.size(), &error);
    if (!rsvg) {
        if (error)
            g_error_free(error);
        return std::nullopt;
    }
    CGSVGDocument doc;
    doc.handle = std::make_shared<Handle>();
    doc.handle->rsvg = rsvg;
    // Artwork is drawn in CSS pixels, which are our points.
    rsvg_handle_set_dpi(rsvg, 96);
    double w = 0, h = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(rsvg, &w, &h)) {
        gboolean hasW, hasH, hasBox;
        RsvgLength lw, lh;
        RsvgRectangle box;
        rsvg_handle_get_intrinsic_dimensions(rsvg, &hasW, &lw, &hasH, &lh, &hasBox, &box);
        if (hasBox) {
            w = box.width;
            h = box.height;
        }
    }
    doc.size_ = {w, h};
    return doc;
}

std::optional<CGSVGDocument> CGSVGDocument::fromFile(const std::string& path) {
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr))
        return std::nullopt;
    auto doc = fromData({reinterpret_cast<const uint8_t*>(contents), length});
    g_free(contents);
    return doc;
}

void CGSVGDocument::render(cairo_t* cr, const CGRect& rect) const {
    if (!handle || rect.isEmpty())
        return;
    std::lock_guard guard(handle->lock);
    RsvgRectangle viewport{rect.minX(), rect.minY(), rect.width(), rect.height()};
    // Stretch like a bitmap would: scale the document's own size onto the rectangle.
    cairo_save(cr);
    if (size_.width > 0 && size_.height > 0) {
        cairo_translate(cr, rect.minX(), rect.minY());
        cairo_scale(cr, rect.width() / size_.width, rect.height() / size_.height);
        viewport = {0, 0, size_.width, size_.height};
    }
    rsvg_handle_render_document(handle->rsvg, cr, &viewport, nullptr);
    cairo_restore(cr);
}

CGImage CGSVGDocument::rasterized(size_t w, size_t h) const {
    auto render = [&] {
        CGImage image = CGImage::blank(std::max<size_t>(w, 1), std::max<size_t>(h, 1));
        cairo_t* cr = cairo_create(image.surface());
        this->render(cr, {0, 0, CGFloat(w), CGFloat(h)});
        cairo_destroy(cr);
        cairo_surface_flush(image.surface());
        return image;
    };
    return handle ? handle->rasters.get(w, h, render) : render();
}

size_t CGSVGDocument::cachedRasterCount() const {
    return handle ? handle->rasters.count() : 0;
}

CGImage CGSVGDocument::rasterize(CGFloat scale) const {
    auto w = size_t(std::ceil(size_.width * scale)), h = size_t(std::ceil(size_.height * scale));
    CGImage image = CGImage::blank(std::max<size_t>(w, 1), std::max<size_t>(h, 1));
    cairo_t* cr = cairo_create(image.surface());
    render(cr, {0, 0, CGFloat(w), CGFloat(h)});
    cairo_destroy(cr);
    cairo_surface_flush(image.surface());
    return image;
}
