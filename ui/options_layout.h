#pragma once

// Where the options panel's parts stand, shared by the game and the picture generator. The
// panel is a card drawn on the 2048-wide canvas (these units), centred in the drawn area and
// scaled by its width / 2048. Its pictures come one set per display profile, drawn at the
// profile's reference width (canvas units times referenceWidth / 2048).
namespace OptionsLayout {

// The card, centred in the picture and in the drawn area.
const float cardWidth = 1440.0f;
const float cardHeight = 1100.0f;

// Rows from the top of the card: volume, display, frame pacing, route keys, audio offset,
// input offset, calibration.
const int rowCount = 7;
const float rowsTop = 196.0f;
const float rowPitch = 114.0f;
const float rowHeight = 106.0f;
const float rowsLeft = 40.0f;
const float rowWidth = 1360.0f;
inline float rowTop(int row) {
    return rowsTop + rowPitch * static_cast<float>(row);
}

// The label at the left of a row, the value in the middle of its right part, between the
// two arrows of a choice.
const float labelLeft = 135.0f;
const float valueCentre = 960.0f;
const float valueLeft = 560.0f;
const float valueRight = 1360.0f;

// The route keys' row: four key slots from valueLeft, then the reset button at its right.
const float keySlotLeft = 560.0f;
const float keySlotWidth = 130.0f;
const float keySlotPitch = 150.0f;
const float keySlotHeight = 90.0f;
inline float keySlotX(int slot) {
    return keySlotLeft + keySlotPitch * static_cast<float>(slot);
}
const float resetLeft = 1180.0f;
const float resetWidth = 180.0f;

// The calibration row's button, across the value's place.
const float buttonLeft = 760.0f;
const float buttonWidth = 400.0f;
const float buttonHeight = 90.0f;

// The volume slider of the first row: its track, centred on the row's middle, and the
// volume written right of it.
const float trackLeft = 580.0f;
const float trackWidth = 600.0f;
const float trackHeight = 36.0f;
const float volumeTextCentre = 1300.0f;
const float knobWidth = 60.0f;
const float knobHeight = 90.0f;

// The line at the card's bottom, written by the game: the keys' hint, or why the changes
// hold for this run only.
const float hintMiddle = 1050.0f;
const float hintWidth = 1360.0f;

// The back arrow at the card's top left (a click in it closes the panel).
const float backLeft = 40.0f;
const float backTop = 30.0f;
const float backSize = 150.0f;

// The parts sheet of a profile: the highlight band of the chosen row, the filled track and
// the knob, at these places (canvas units).
const float sheetWidth = 1360.0f;
const float sheetHeight = 220.0f;
const float bandTop = 0.0f;
const float fillTop = 120.0f;
const float knobLeft = 660.0f;

// A canvas length in pixels of a picture drawn at referenceWidth.
inline int sheetPixels(float canvasUnits, float referenceWidth) {
    return static_cast<int>(canvasUnits * referenceWidth / 2048.0f + 0.5f);
}

}  // namespace OptionsLayout
