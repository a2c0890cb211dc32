#include "paint.h"

#include <pango/pangocairo.h>

#include <SFML/Graphics/Image.hpp>
#include <cmath>
#include <vector>

const double kPi = 3.14159265358979323846;

Canvas::Canvas(int w, int h) : width(w), height(h) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

bool savePng(Canvas& canvas, const std::string& path) {
    cairo_surface_flush(canvas.surface);
    return cairo_surface_write_to_png(canvas.surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

bool saveJpg(Canvas& canvas, const std::string& path) {
    cairo_surface_flush(canvas.surface);
    const unsigned char* data = cairo_image_surface_get_data(canvas.surface);
    int stride = cairo_image_surface_get_stride(canvas.surface);
    std::vector<sf::Uint8> pixels(size_t(canvas.width) * canvas.height * 4);
    for (int y = 0; y < canvas.height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < canvas.width; ++x) {
            uint32_t p = row[x];
            unsigned a = p >> 24;
            unsigned r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            // A picture without transparency: composite over black, as the screen does.
            (void)a;
            sf::Uint8* out = &pixels[(size_t(y) * canvas.width + x) * 4];
            out[0] = sf::Uint8(r);
            out[1] = sf::Uint8(g);
            out[2] = sf::Uint8(b);
            out[3] = 255;
        }
    }
    sf::Image image;
    image.create(unsigned(canvas.width), unsigned(canvas.height), pixels.data());
    return image.saveToFile(path);
}

namespace {

PangoLayout* makeLayout(cairo_t* cr, const std::string& markup, const TextStyle& style) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    cairo_font_options_destroy(options);
    pango_context_set_language(pango_layout_get_context(layout), pango_language_from_string("en"));
    pango_layout_context_changed(layout);
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, "DejaVu Sans");
    pango_font_description_set_weight(desc, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(desc, style.size * PANGO_SCALE);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    if (style.wrap > 0) {
        pango_layout_set_width(layout, int(style.wrap * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    }
    pango_layout_set_spacing(layout, int(style.spacing * PANGO_SCALE));
    pango_layout_set_alignment(
        layout, style.align == AlignCentre
                    ? PANGO_ALIGN_CENTER
                    : (style.align == AlignRight ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT));
    pango_layout_set_markup(layout, markup.c_str(), -1);
    return layout;
}

}  // namespace

void measureText(cairo_t* cr, const std::string& markup, const TextStyle& style, double& w,
                 double& h) {
    PangoLayout* layout = makeLayout(cr, markup, style);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    w = logical.width;
    h = logical.height;
    g_object_unref(layout);
}

double drawText(cairo_t* cr, const std::string& markup, double x, double y,
                const TextStyle& style) {
    PangoLayout* layout = makeLayout(cr, markup, style);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    double left = x;
    if (style.wrap > 0) {
        if (style.align == AlignCentre) left = x - style.wrap / 2;
        if (style.align == AlignRight) left = x - style.wrap;
    } else {
        if (style.align == AlignCentre) left = x - logical.width / 2.0;
        if (style.align == AlignRight) left = x - logical.width;
    }
    cairo_save(cr);
    setRgb(cr, style.colour, style.alpha);
    cairo_move_to(cr, left, y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
    return logical.height;
}

void setRgb(cairo_t* cr, const Rgb& c, double alpha) {
    if (alpha >= 1.0)
        cairo_set_source_rgb(cr, c.r, c.g, c.b);
    else
        cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

Rgb mix(const Rgb& a, const Rgb& b, double t) {
    return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 1.5 * kPi);
    cairo_close_path(cr);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double r, double rot) {
    for (int i = 0; i < 10; ++i) {
        double a = rot + i * kPi / 5 - kPi / 2;
        double rr = (i % 2) ? r * 0.45 : r;
        if (i == 0)
            cairo_move_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
        else
            cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
    }
    cairo_close_path(cr);
}

double Lcg::next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / double(1u << 24);
}

void paintScaled(Canvas& to, Canvas& from, double scale, double fromTop) {
    cairo_save(to.cr);
    cairo_scale(to.cr, scale, scale);
    cairo_set_source_surface(to.cr, from.surface, 0, -fromTop);
    cairo_pattern_set_filter(cairo_get_source(to.cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(to.cr), CAIRO_EXTEND_PAD);
    cairo_paint(to.cr);
    cairo_restore(to.cr);
}
