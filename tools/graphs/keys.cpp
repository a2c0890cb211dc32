// The routes' keys on the pictures (the places of ui/key_places.h) and the sheets of key
// patches: the same regions drawn without their keys, which the game lays over a picture when
// a key is bound to another.
#include <algorithm>
#include <string>

#include "generator.h"
#include "paint.h"

void drawKeyLabel(cairo_t* cr, const KeyPlaces::Label& label) {
    TextStyle ts;
    ts.size = label.size;
    ts.bold = true;
    ts.colour = routeDark[label.route];
    ts.alpha = label.alpha;
    ts.align = AlignCentre;
    drawText(cr, KeyPlaces::drawnKeys[label.route], label.centreX, label.top, ts);
}

bool saveKeyPatches(Canvas& from, const KeyPlaces::Patch* patches, int count, double scale,
                    double fromTop, int width, int height, const std::string& path) {
    int sheetWidth = 0, sheetHeight = 1;
    for (int i = 0; i < count; ++i) {
        const KeyPlaces::PixelBox b =
            KeyPlaces::pixelBox(patches[i].box, scale, fromTop, width, height);
        sheetWidth += b.width;
        sheetHeight = std::max(sheetHeight, b.height);
    }
    Canvas sheet(std::max(sheetWidth, 1), sheetHeight);
    int x = 0;
    for (int i = 0; i < count; ++i) {
        const KeyPlaces::PixelBox b =
            KeyPlaces::pixelBox(patches[i].box, scale, fromTop, width, height);
        // The region as the picture cut from the canvas has it (paintScaled), moved to x.
        cairo_save(sheet.cr);
        cairo_rectangle(sheet.cr, x, 0, b.width, b.height);
        cairo_clip(sheet.cr);
        cairo_translate(sheet.cr, x - b.left, -b.top);
        cairo_scale(sheet.cr, scale, scale);
        cairo_set_source_surface(sheet.cr, from.surface, 0, -fromTop);
        cairo_pattern_set_filter(cairo_get_source(sheet.cr), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(sheet.cr), CAIRO_EXTEND_PAD);
        cairo_set_operator(sheet.cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(sheet.cr);
        cairo_restore(sheet.cr);
        x += b.width;
    }
    return savePng(sheet, path);
}
