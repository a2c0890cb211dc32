// Layout program of the frame tables: measures every frame of the creature animations,
// packs the frames into their sheets and writes board/anim_tables.cpp, the game's copy of
// the tables. Run it again after changing a drawing in creatures.cpp:
//   layout_tables <source dir>/board/anim_tables.cpp
// and commit the result. The picture generator draws the sheets from the written tables.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "creatures.h"

namespace {

struct Rec {
    int ox, oy, l, t, w, h;
};

struct Cell {
    bool empty;
    int ox, oy, w, h;
};

Cell measure(int route, const Pose& pose) {
    Cell c = {true, 0, 0, 0, 0};
    InkBox ink = poseInk(route, pose);
    if (ink.w <= 0 || ink.h <= 0) return c;
    double ax0 = pose.feetX + ink.x0, ay0 = pose.feetY + ink.y0;
    int left = int(std::floor(ax0)) - 1, top = int(std::floor(ay0)) - 1;
    int right = int(std::ceil(ax0 + ink.w)) + 1, bottom = int(std::ceil(ay0 + ink.h)) + 1;
    c.empty = false;
    c.ox = left;
    c.oy = top;
    c.w = right - left;
    c.h = bottom - top;
    return c;
}

bool fits(int route, const Pose& pose, const Cell& c) {
    InkBox ink = poseInk(route, pose);
    double ax0 = pose.feetX + ink.x0, ay0 = pose.feetY + ink.y0;
    return ax0 >= c.ox - 0.01 && ay0 >= c.oy - 0.01 && ax0 + ink.w <= c.ox + c.w + 0.01 &&
           ay0 + ink.h <= c.oy + c.h + 0.01;
}

// Packs the cells of one sheet in columns, top to bottom, in the given order.
void pack(std::vector<Cell>& cells, const std::vector<int>& order, int maxHeight,
          std::vector<Rec>& out) {
    int x = 0, y = 0, colW = 0;
    out.assign(cells.size(), Rec{0, 0, 0, 0, 0, 0});
    for (int i : order) {
        const Cell& c = cells[i];
        if (c.empty) continue;
        if (y > 0 && y + c.h > maxHeight) {
            x += colW;
            y = 0;
            colW = 0;
        }
        out[i] = Rec{c.ox, c.oy, x, y, c.w, c.h};
        y += c.h;
        if (c.w > colW) colW = c.w;
    }
}

std::string rec(const Rec& r) {
    std::ostringstream s;
    s << "{" << r.ox << ", " << r.oy << ", " << r.l << ", " << r.t << ", " << r.w << ", " << r.h
      << "}";
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: layout_tables <board/anim_tables.cpp>" << std::endl;
        return 2;
    }
    std::ostringstream o;
    o << "// Frame tables of the board's animations. Written by tools/graphs/layout_tables from\n"
         "// the creature drawings of tools/graphs/creatures.cpp; the picture generator draws\n"
         "// every sheet from these records. Lookups are in anim_lookup.cpp.\n\n"
         "#include \"board/anim_tables.h\"\n\n"
         "// clang-format off\n";
    o << "const int regularAnimCounts[4] = {25, 26, 26, 24};\n";
    o << "const int landingFrameCounts[4][7] = {";
    for (int r = 0; r < 4; ++r) {
        o << (r ? ", " : "") << "{";
        for (int k = 0; k < 7; ++k) o << (k ? ", " : "") << artLandingFrameCounts[r][k];
        o << "}";
    }
    o << "};\n";
    int first[4][7], length[4];
    for (int r = 0; r < 4; ++r) {
        int at = 19 * artRegularAnimCounts[r];
        for (int k = 0; k < 7; ++k) {
            first[r][k] = at;
            at += artLandingFrameCounts[r][k];
        }
        length[r] = at;
    }
    o << "const int landingFirstFrame[4][7] = {";
    for (int r = 0; r < 4; ++r) {
        o << (r ? ", " : "") << "{";
        for (int k = 0; k < 7; ++k) o << (k ? ", " : "") << first[r][k];
        o << "}";
    }
    o << "};\n";
    o << "const int frameTableLength[4] = {" << length[0] << ", " << length[1] << ", " << length[2]
      << ", " << length[3] << "};\n\n";

    bool ok = true;
    for (int r = 0; r < 4; ++r) {
        o << "static const AnimFrame frameTable" << r << "[" << length[r] << "] = {\n";
        for (int a = 0; a < artRegularAnimCounts[r]; ++a) {
            std::vector<Cell> cells(19);
            std::vector<Pose> poses(19);
            for (int f = 0; f < 19; ++f) {
                poses[f] = regularPose(r, a, f);
                cells[f] = measure(r, poses[f]);
            }
            if (r == 0 && a == 0) {
                cells[0] = Cell{false, 70, 72, 89, 84};
                cells[1] = Cell{false, 59, 37, 102, 119};
                for (int f = 0; f < 2; ++f) {
                    if (!fits(r, poses[f], cells[f])) {
                        std::cerr << "route 0 animation 0 frame " << f << " does not fit its cell"
                                  << std::endl;
                        ok = false;
                    }
                }
            }
            std::vector<int> order = {1, 0};
            for (int f = 2; f < 19; ++f) order.push_back(f);
            std::vector<Rec> recs;
            pack(cells, order, 560, recs);
            o << "    // regular animation " << a << "\n";
            for (int f = 0; f < 19; ++f) o << "    " << rec(recs[f]) << ",\n";
        }
        for (int k = 0; k < 7; ++k) {
            int n = artLandingFrameCounts[r][k];
            std::vector<Cell> cells(n);
            std::vector<int> order;
            for (int i = 0; i < n; ++i) {
                cells[i] = measure(r, landingPose(r, k, i));
                order.push_back(i);
            }
            std::vector<Rec> recs;
            pack(cells, order, 1000, recs);
            o << "    // landing animation " << k << "\n";
            for (int i = 0; i < n; ++i) o << "    " << rec(recs[i]) << ",\n";
        }
        o << "};\n\n";
    }
    o << "const AnimFrame* const frameTable[4] = {frameTable0, frameTable1, frameTable2, "
         "frameTable3};\n\n";

    // Buttons: cells of 115 x 90 (132 x 90 for two routes of mode 3), frame 0 = release,
    // frame 1 = pressed.
    static const int buttonCells[4][4][2][2] = {
        {{{115, 90}, {115, 180}}, {{115, 0}, {0, 270}}, {{0, 90}, {0, 180}}, {{0, 0}, {115, 270}}},
        {{{0, 270}, {0, 0}}, {{0, 180}, {115, 0}}, {{115, 90}, {0, 90}}, {{115, 270}, {115, 180}}},
        {{{115, 90}, {115, 270}}, {{0, 180}, {115, 180}}, {{0, 0}, {0, 270}}, {{0, 90}, {115, 0}}},
        {{{0, 270}, {115, 270}}, {{132, 0}, {132, 90}}, {{0, 90}, {0, 0}}, {{115, 180}, {0, 180}}}};
    o << "const AnimFrame buttonFrames[4][4][2] = {\n";
    for (int m = 0; m < 4; ++m) {
        o << "    {";
        for (int r = 0; r < 4; ++r) {
            int w = (m == 3 && (r == 1 || r == 2)) ? 132 : 115;
            o << (r ? ", " : "") << "{";
            for (int f = 0; f < 2; ++f)
                o << (f ? ", " : "")
                  << rec(Rec{0, 0, buttonCells[m][r][f][0], buttonCells[m][r][f][1], w, 90});
            o << "}";
        }
        o << "},\n";
    }
    o << "};\n\n";

    // Slimes: ten cells in two columns of five rows.
    o << "const AnimFrame slimeFrames[4][4][10] = {\n";
    static const int slimeSize[4][4][2] = {{{250, 201}, {249, 211}, {263, 126}, {258, 115}},
                                           {{249, 210}, {248, 211}, {239, 103}, {227, 109}},
                                           {{249, 208}, {259, 210}, {259, 121}, {259, 117}},
                                           {{251, 209}, {251, 215}, {243, 123}, {249, 118}}};
    static const int slimeOffset[4][4][2] = {{{0, 0}, {0, 0}, {1, 1}, {0, 0}},
                                             {{0, 1}, {0, 1}, {0, 0}, {0, 0}},
                                             {{1, 0}, {0, 0}, {0, 0}, {1, 3}},
                                             {{0, 0}, {0, 0}, {0, 0}, {0, 0}}};
    for (int m = 0; m < 4; ++m) {
        o << "    {\n";
        for (int r = 0; r < 4; ++r) {
            int w[10], h[10], ox[10], oy[10];
            for (int f = 0; f < 10; ++f) {
                w[f] = slimeSize[m][r][0];
                h[f] = slimeSize[m][r][1];
                ox[f] = slimeOffset[m][r][0];
                oy[f] = slimeOffset[m][r][1];
            }
            if (m == 0 && r == 3)
                for (int f = 2; f < 10; ++f) h[f] = 114;
            if (m == 2 && r == 1)
                for (int f = 1; f < 10; f += 2) w[f] = 258;
            if (m == 2 && r == 3) h[0] = 120, oy[0] = 0;
            int colX[2] = {0, w[0]};
            o << "        {";
            int rowY = 0;
            for (int row = 0; row < 5; ++row) {
                int f0 = 2 * row;
                for (int c = 0; c < 2; ++c) {
                    int f = f0 + c;
                    o << (f ? ", " : "") << rec(Rec{ox[f], oy[f], colX[c], rowY, w[f], h[f]});
                }
                rowY += std::max(h[f0], h[f0 + 1]);
            }
            o << "},\n";
        }
        o << "    },\n";
    }
    o << "};\n\n";

    // Gauges: 11 cells x 3 states per route, in blocks; route 3's records are rotated so
    // that state s of a cell lies at record 3 * cell + (s + 1) % 3.
    static const int gaugeFirst[4] = {0, 40, 82, 121};
    const int gaugeLength = 160;
    std::vector<Rec> gauge(gaugeLength, Rec{0, 0, 0, 0, 0, 0});
    std::vector<std::pair<int, int>> slots;
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 6; ++col) slots.push_back({col * 92, row * 113});
    static const int stateSize[3][2] = {{90, 111}, {90, 102}, {90, 104}};
    static const int stateOffsetY[3] = {0, 7, 7};
    for (int r = 0; r < 4; ++r) {
        for (int cell = 0; cell < 11; ++cell) {
            for (int s = 0; s < 3; ++s) {
                int x, y;
                if (cell == 0) {
                    static const int firstCell[3][2] = {{0, 674}, {263, 674}, {360, 565}};
                    x = firstCell[s][0];
                    y = firstCell[s][1];
                } else {
                    x = slots[3 * (cell - 1) + s].first;
                    y = slots[3 * (cell - 1) + s].second;
                }
                int record = gaugeFirst[r] + 3 * cell + (r == 3 ? (s + 1) % 3 : s);
                gauge[record] = Rec{0, stateOffsetY[s], x, y, stateSize[s][0], stateSize[s][1]};
            }
        }
    }
    o << "const int gaugeFirstFrame[4] = {0, 40, 82, 121};\n";
    o << "const int gaugeFramesLength = " << gaugeLength << ";\n";
    o << "const AnimFrame gaugeFrames[" << gaugeLength << "] = {\n";
    for (int i = 0; i < gaugeLength; ++i) {
        for (int r = 0; r < 4; ++r)
            if (i == gaugeFirst[r]) o << "    // route " << r << "\n";
        o << "    " << rec(gauge[i]) << ",\n";
    }
    o << "};\n\n";

    // Volume icon: nine frames (sound on -> muted) in a 3 x 3 grid, one empty record.
    o << "const AnimFrame volumeFrames[10] = {\n";
    static const int colX[3] = {0, 134, 270};
    static const int rowY[3] = {0, 143, 286};
    for (int f = 0; f < 9; ++f) {
        int c = (f + 7) % 9;
        int w = 135 - 2 * ((f * 5) % 8);
        int h = (c / 3 == 2) ? (f == 0 ? 135 : (f == 1 ? 147 : 153)) : 135 + (f % 3) * 3;
        int ox = 41 + (135 - w) / 2;
        int oy = 6 - (h - 135) / 6;
        o << "    " << rec(Rec{ox, oy, colX[c % 3], rowY[c / 3], w, h}) << ",\n";
    }
    o << "    {0, 0, 0, 0, 0, 0},\n};\n";
    o << "// clang-format on\n";

    std::ofstream file(argv[1], std::ios::binary);
    file << o.str();
    if (!file) {
        std::cerr << "cannot write " << argv[1] << std::endl;
        return 1;
    }
    return ok ? 0 : 1;
}
