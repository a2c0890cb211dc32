#include "app/app.h"
#include "assets/asset_files.h"
#include "audio/sound_decoder.h"
#include "board/anim_tables.h"
#include "ui/picture_decoder.h"

// Start-up, first half: the loading picture, the gauges and the animation atlas. Returns -1
// to go on, 0 when the loading picture is missing, 1 at the first missing board picture.
int App::loadBoardTextures() {
    // Decoded by the pool ahead of their turn; the textures are made here, in order.
    startUpPictures =
        std::make_unique<PictureDecoder>(pool(), startUpPictureFiles(regularAnimCounts));
    startUpSounds = std::make_unique<SoundDecoder>(pool(), startUpSoundFiles());
    PictureDecoder* pictures = startUpPictures.get();
    auto fail = [this](int status) {
        startUpPictures.reset();
        startUpSounds.reset();
        return status;
    };
    if (!pictures->load(loadingTexture, loadingPicture())) return fail(0);
    float width = static_cast<float>(windowWidth);
    float height = static_cast<float>(windowHeight);
    loadingTexture.setSmooth(true);
    loadingSprite.setTexture(loadingTexture, true);
    // A 2048 x 1536 picture fitted to the screen width and centred vertically.
    float scale = width * 0.00048828125f;
    loadingSprite.setScale(scale, scale);
    loadingSprite.setPosition(0.0f, (height - width * 1536.0f / 2048.0f) / 2.0f);

    // This one frame stays on screen until the frame loop starts.
    platform.target().clear(sf::Color(0, 0, 0, 255));
    platform.target().draw(loadingSprite, sf::RenderStates::Default);
    platform.display();

    atlasTextures.assign(4, std::vector<sf::Texture>());
    for (int i = 0; i < 4; ++i) atlasTextures[i].resize(regularAnimCounts[i] + 7);
    slimeTextures.resize(4);
    gaugeTextures.resize(4);

    for (int i = 0; i < 4; ++i) {
        if (!pictures->load(gaugeTextures[i], gaugePicture(i))) return fail(1);
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < regularAnimCounts[i] + 7; ++j) {
            if (!pictures->load(atlasTextures[i][j], atlasPicture(i, j))) return fail(1);
        }
    }
    return -1;
}
