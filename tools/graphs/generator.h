#pragma once

#include <cairo.h>

#include <string>

#include "paint.h"
#include "ui/key_places.h"

// The parts of the picture generator. Each draw function writes its file(s) under root
// (the graphs/ folder) and returns false when a file cannot be written.

// Where the volume icon's centre lies relative to the icon's anchor (reference pixels).
extern const double volumeIconCentre[2];
// Height of a gauge seed's centre below its cell origin (state 0 offset).
extern const double gaugeSeedCentreY;

// Song titles and tempos in song order (list position k shows song k).
extern const char* const songTitles[4];
extern const char* const songMoods[4];

bool drawAtlasSheet(const std::string& root, int route, int picture);
bool drawButtonSheet(const std::string& root, int mode);
bool drawSlimeSheet(const std::string& root, int mode, int route);
bool drawGaugeSheet(const std::string& root, int route);
bool drawVolumeSheet(const std::string& root);
void drawGaugeSeed(cairo_t* cr, int route, int cell, int state, double cx, double cy);
void drawPadFlash(cairo_t* cr, int mode, int route, int frame, double x, double y, double w,
                  double h);
void drawVolumeIcon(cairo_t* cr, int frame, double cx, double cy);

// Boards: the 2048 x 1536 canvas of a mode (with or without the routes' keys), its three
// profile files and their key patches.
void drawBoardCanvas(cairo_t* cr, int mode, bool keys = true);
bool drawBoards(const std::string& root, int mode);

// Menus, overlays, texts.
bool drawMenuBackgrounds(const std::string& root,
                         int which);  // 0 loading, 1 centre, 2 side1, 3 side3
bool drawPausePanel(const std::string& root);
bool drawScoreBar(const std::string& root);
bool drawMenuText(const std::string& root, int index);
bool drawDots(const std::string& root);
bool drawTutorialPage(const std::string& root, int index);
bool drawMakingOfPage(const std::string& root, int index);
// The options panel and its parts sheet of a display profile: 0 1600_900, 1 1600_1000,
// 2 2048_1536.
bool drawOptionsPanel(const std::string& root, int profile);

// The routes' keys (keys.cpp): a default key at its place, and the sheet of a picture's key
// patches cut from a canvas drawn without its keys, scaled and cut as the picture of width x
// height is (a scale of 1 from the top for the pictures drawn at their size).
void drawKeyLabel(cairo_t* cr, const KeyPlaces::Label& label);
bool saveKeyPatches(Canvas& from, const KeyPlaces::Patch* patches, int count, double scale,
                    double fromTop, int width, int height, const std::string& path);
// The calibration pages' card and its parts sheet of a display profile (as above).
bool drawCalibrationCard(const std::string& root, int profile);
