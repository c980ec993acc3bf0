#pragma once
// Drawing backend used by the skin toolkit: decoded images, a premultiplied ARGB32 canvas and the
// handful of drawing operations the skin needs. One implementation per platform is linked in
// (library quelt_gfx); this header names no platform type.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quelt::gfx {

// Status values of the drawing operations (0 is success).
inline constexpr int kOk = 0;
inline constexpr int kGenericError = 1;
inline constexpr int kInvalidParameter = 2;
inline constexpr int kOutOfMemory = 3;
inline constexpr int kFileNotFound = 10;
inline constexpr int kValueOverflow = 11;
inline constexpr int kUnknownImageFormat = 13;
inline constexpr int kFontFamilyNotFound = 14;
inline constexpr int kNotStarted = 18;

// Starts the drawing library for one owner; returns a token for `shutdown`. Owners count: each
// `startup` is paired with one `shutdown`.
std::uintptr_t startup();
void shutdown(std::uintptr_t token);

// Pixel buffer: 32-bit premultiplied ARGB (0xAARRGGBB as a native uint32, so B, G, R, A bytes in
// memory on little-endian machines), rows `stride` bytes apart. Either owns its memory or wraps
// memory owned by someone else (for example a window system's bitmap). The backend's drawing
// context over the pixels is made by the first draw and kept until the memory changes, so a
// repaint of many controls uses one context.
class Canvas {
  public:
    struct Target;  // backend data: the drawing context over the pixels
    struct TargetDeleter {
        void operator()(Target* target) const;
    };

    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas(Canvas&& other) noexcept;
    Canvas& operator=(Canvas&& other) noexcept;
    ~Canvas() = default;

    // Allocates an owned, fully transparent canvas. Returns false (and stays empty) for a size
    // that is not positive or too large.
    bool create(int width, int height);
    // Wraps caller memory of at least height * stride bytes; stride >= 4 * width.
    bool wrap(void* data, int width, int height, int stride);
    void reset();

    bool valid() const { return data_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return stride_; }
    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }

    // Every pixel becomes 0: black with alpha 0, fully transparent.
    void clear();
    // Premultiplied 0xAARRGGBB at (x, y); 0 outside the canvas.
    std::uint32_t pixel(int x, int y) const;

    // For the backend: its drawing context over these pixels, null until it makes one.
    Target* target() const { return target_.get(); }
    void setTarget(Target* target) { target_.reset(target); }

  private:
    std::unique_ptr<Target, TargetDeleter> target_;
    std::unique_ptr<std::uint32_t[]> owned_;
    std::uint8_t* data_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};

// One decoded raster image. Exists even when decoding failed; then `valid` is false, width and
// height read 0 and `lastStatus` tells why.
class Image {
  public:
    struct Impl;  // backend data
    // Frees the backend data (defined by the backend, where Impl is complete).
    struct ImplDeleter {
        void operator()(Impl* impl) const;
    };

    Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    Image(Image&& other) noexcept = default;
    Image& operator=(Image&& other) noexcept = default;
    ~Image() = default;

    // Decodes a file by its content (the extension plays no part). UTF-8 path; either separator.
    static Image fromFile(const std::string& path);
    // Decodes the executable's resource of type "PNG" with a numeric id. Platforms without
    // executable resources find nothing.
    static Image fromResource(int resourceId);

    bool valid() const;
    std::uint32_t width() const;
    std::uint32_t height() const;
    int lastStatus() const { return status_; }

    Impl* impl() const { return impl_.get(); }

  private:
    std::unique_ptr<Impl, ImplDeleter> impl_;
    int status_ = kOk;
};

struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

// Draws the source rectangle of `image` stretched into `dest`, blended source-over by the image's
// own alpha. Pixels outside the source rectangle never contribute, so one slice of a strip does
// not pick up its neighbours at the edges. The pixels of each source rectangle drawn are cut out
// once, premultiplied, and kept with the image for the draws after.
int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest);
// The same with the image's alpha multiplied by `opacity` (0 to 1).
int drawImage(Canvas& canvas, const Image& image, const RectF& source, const RectF& dest,
              float opacity);

// Replaces the whole canvas by the image at (0, 0), image and canvas of the same size: what a clear
// followed by a full-size draw gives, in one copy. kInvalidParameter (canvas untouched) for an
// invalid image or canvas or a size that differs.
int copyImage(Canvas& canvas, const Image& image);

// Fills the rectangle (left, top, right, bottom) with a horizontal linear gradient from `argbLeft`
// at the left edge to `argbRight` at the right edge (colours 0xAARRGGBB, not premultiplied).
int fillGradient(Canvas& canvas, int left, int top, int right, int bottom, std::uint32_t argbLeft,
                 std::uint32_t argbRight);

enum class TextAlign { Near = 0, Centre = 1, Far = 2 };

struct TextStyle {
    std::string fontFamily = "Arial";  // a family that does not exist falls back to Arial
    float emPixels = 12;
    bool bold = false;
    bool italic = false;
    TextAlign align = TextAlign::Near;
    float angleDegrees = 0;           // world rotation about the canvas origin, clockwise on screen
    std::uint32_t argb = 0xFF000000;  // brush colour, not premultiplied
};

// Lays the UTF-8 text out in `layout` (breaking at "\n" and at word boundaries within its
// width), centres the block vertically and draws it, clipped to the rectangle.
int drawText(Canvas& canvas, const std::string& text, const RectF& layout, const TextStyle& style);

// A label drawn again and again: its layout (font, format, lines) is kept from one draw to the
// next and redone only when the text, the font, the alignment or the rectangle's width changes.
// Unrotated, the drawn ink is kept too (premultiplied, cut to its bounding box) and blended in
// place by the draws after, until anything about the label changes. Draws as drawText, to within
// the rounding of one blend. A copy starts without a layout.
class TextLayout {
  public:
    struct Impl;  // backend data
    struct ImplDeleter {
        void operator()(Impl* impl) const;
    };

    TextLayout() = default;
    TextLayout(const TextLayout&) noexcept {}
    TextLayout& operator=(const TextLayout&) noexcept {
        impl_.reset();
        ink_.reset();
        return *this;
    }
    TextLayout(TextLayout&&) noexcept = default;
    TextLayout& operator=(TextLayout&&) noexcept = default;
    ~TextLayout() = default;

    int draw(Canvas& canvas, const std::string& text, const RectF& layout, const TextStyle& style);

  private:
    friend int drawText(Canvas&, const std::string&, const RectF&, const TextStyle&);
    // Lays out (when needed) and draws straight onto the canvas (defined by the backend).
    int drawLaidOut(Canvas& canvas, const std::string& text, const RectF& layout,
                    const TextStyle& style);

    std::unique_ptr<Impl, ImplDeleter> impl_;
    // The kept ink and what it was drawn for.
    struct Ink;
    struct InkDeleter {
        void operator()(Ink* ink) const;
    };
    std::unique_ptr<Ink, InkDeleter> ink_;
};

// Whether a font family of that name exists on this system (no substitution).
bool fontFamilyExists(const std::string& family);

}  // namespace quelt::gfx
