#pragma once

// Where the calibration pages' parts stand, shared by the game and the picture generator. The
// page is a card of the options panel's size and place (OptionsLayout's cardWidth and
// cardHeight, centred in the drawn area, in canvas units scaled by its width / 2048), with
// the options panel's back arrow at its top left. Its pictures come one set per display
// profile, drawn at the profile's reference width.
namespace CalibrationLayout {

// The texts the game writes, centred on the card: the page's heading, the instruction, the
// test's progress below the stage, three lines of results in the stage, and the keys' help.
const float centreX = 720.0f;
const float headingY = 238.0f;
const float instructionY = 320.0f;
const float progressY = 866.0f;
const float resultY[3] = {500.0f, 590.0f, 690.0f};
const float helpY = 1040.0f;
const float textWidth = 1300.0f;    // room of a line
const float resultWidth = 1040.0f;  // room of a line of results, in the stage

// The stage: a white box where the creature of the watch test hops on its spot, and where the
// results are written.
const float stageLeft = 170.0f;
const float stageTop = 400.0f;
const float stageWidth = 1100.0f;
const float stageHeight = 410.0f;
// The creature's spot (its middle) and how high its hop takes it (from the spot to the
// creature's feet at the top of the hop).
const float spotY = 752.0f;
const float hopHeight = 150.0f;
// The creature is drawn this much larger than on the board.
const float creatureScale = 1.3f;

// The results page's buttons, left to right: apply, retry, back.
const int buttonCount = 3;
const float buttonTop = 838.0f;
const float buttonWidth = 320.0f;
const float buttonHeight = 120.0f;
const float buttonPitch = 390.0f;
const float buttonsLeft = 170.0f;
inline float buttonLeft(int button) {
    return buttonsLeft + buttonPitch * static_cast<float>(button);
}

// The parts sheet: the three buttons side by side, the ring drawn around the chosen one,
// and the spot, at these places (canvas units).
const float sheetWidth = 1340.0f;
const float sheetHeight = 260.0f;
inline float sheetButtonLeft(int button) {
    return 330.0f * static_cast<float>(button);
}
const float ringLeft = 990.0f;
const float ringWidth = 340.0f;
const float ringHeight = 140.0f;
const float spotLeft = 0.0f;
const float spotTop = 150.0f;
const float spotWidth = 300.0f;
const float spotHeight = 100.0f;

}  // namespace CalibrationLayout
