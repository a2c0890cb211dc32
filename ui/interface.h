#pragma once

#include <SFML/Graphics.hpp>
#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "ui/menu_logic.h"

class PictureDecoder;

// Values of Interface::Screen.
enum ScreenId : int {
    MainMenu = 0,
    LevelSelect = 1,
    MakingOf = 2,
    Playing = 3,
    Exploring = 4,
    Results = 5,
    Tutorial = 7,
    OptionsPanel = 8,  // the options panel, reached through the main menu's top direction
    Calibration = 9    // the calibration pages, reached from the options panel
};

// Values of Interface::MenuChoice: the direction chosen on the main menu.
enum MenuChoiceId : int {
    ChoiceUp = 0,
    ChoiceRight = 1,  // scored plays
    ChoiceDown = 2,   // making-of
    ChoiceLeft = 3,   // explore plays
    ChoiceNone = 4
};

// Where the menu text sprites sit on the 2048 x 1536 layout canvas.
extern const sf::Vector2f menuTextLayout[17];

// The menu text pictures, by their place in menuTextSprites: the main menu's title and
// items, the two lists' headers, the pause panel's and the results panel's words.
namespace MenuText {
const int title = 0;
const int playItem = 1;
const int makingOfItem = 2;
const int exploreItem = 3;
const int songListHeader = 4;
const int exploreListHeader = 5;
const int quit = 8;
const int paused = 9;
const int resume = 10;
const int back = 11;
const int notFinished = 12;
const int retry = 13;
const int newRecord = 14;
const int completed = 15;
const int firstCompletion = 16;
const int count = 17;
}  // namespace MenuText

// The texts of the calibration pages, by their place in calibrationTexts.
namespace CalibrationText {
const int heading = 0;
const int instruction = 1;
const int progress = 2;
const int result = 3;  // .. 5: three lines of results
const int help = 6;
const int count = 7;
}  // namespace CalibrationText

// Every picture, text and font of the menus and of the play overlay, the window geometry
// and the screen state. The frame loop alone writes the screen, the menu choice and the HUD.
class Interface : public sf::Drawable {
public:
    Interface(float windowWidth, float windowHeight, std::ofstream& logStream);
    ~Interface() override;
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;

    // Master volume by which every sound volume is multiplied: 0.0 (muted) or masterVolume.
    float volumeFactor = 1.0f;
    // The player's volume (settings), which unmuting restores: 0.0 .. 1.0.
    float masterVolume = 1.0f;

    // Single textures.
    sf::Texture centreTexture;
    sf::Texture pauseTexture;
    sf::Texture boardTexture;
    sf::Texture dotTexture;
    sf::Texture scoreBarTexture;
    sf::Texture hintTexture;
    sf::Texture volumeTexture;

    // Texture lists.
    std::vector<sf::Texture> sideTextures;      // 4; only 1 and 3 are loaded
    std::vector<sf::Texture> tutorialTextures;  // 7 once the tutorial is loaded
    std::vector<sf::Texture> menuTextTextures;  // 17
    std::vector<sf::Texture> makingOfTextures;  // 19, loaded on demand
    std::vector<bool> makingOfLoaded;           // 19

    std::ifstream profileStream;
    bool profileUnread = false;  // no records file was read at start-up

    // Single sprites.
    sf::Sprite centreSprite;
    sf::Sprite pauseSprite;
    sf::Sprite panelSprite;
    sf::Sprite atlasSprite;
    sf::Sprite scoreBarSprite;
    sf::Sprite makingOfPageSprite;
    sf::Sprite makingOfNextSprite;
    sf::Sprite hintSprite;
    sf::Sprite volumeSprite;

    // Sprite lists.
    std::vector<sf::Sprite> menuTextSprites;  // 17, by MenuText
    std::vector<sf::Sprite> tutorialSprites;  // 7 once the tutorial is loaded
    std::vector<sf::Sprite> dotSprites;       // 4

    // Font and texts. The record texts live in fixed arrays, so their addresses never move.
    sf::Font font;
    sf::Text headlineText;
    sf::Text resultText;
    sf::Text counterText;
    std::array<sf::Text, 4> scoreTexts;
    std::array<sf::Text, 4> exploreTimeTexts;

    // Geometry and display profile. windowWidth and windowHeight are the size of the drawn
    // area, where everything is laid out: the whole window for shapes from 4:3 to 16:9,
    // else its centred part of the closest set's shape. aspectRatio is the window's.
    float windowWidth = 0.0f;
    float windowHeight = 0.0f;
    float aspectRatio = 0.0f;
    float screenWidth = 0.0f;  // the whole window
    float screenHeight = 0.0f;
    float areaLeft = 0.0f;  // where the drawn area starts in the window
    float areaTop = 0.0f;
    std::string profileName;
    float referenceWidth = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float menuTopOffset = 0.0f;
    float pauseHiddenOffset = 0.0f;
    std::ofstream& logStream;

    // Screen state.
    int Screen = MainMenu;
    int MenuChoice = ChoiceNone;
    int makingOfPage = 0;
    int tutorialStep = 0;
    int tutorialOverlay = 0;
    bool panelOpening = false;
    bool panelClosing = false;
    bool pageTurnForward = false;
    bool pageTurnBack = false;
    bool atlasVisible = false;
    bool hintVisible = false;
    bool counterVisible = false;
    bool exploreLocked = true;
    bool newRecord = false;
    bool levelCompleted = false;
    bool firstCompletion = false;
    int hovered = -1;
    // What the song list's highlight points at: a song 0..3, 4 the tutorial, -1 nothing.
    int highlighted = -1;

    // Menu widgets and transitions.
    int muteStage = 0;         // 0 sound on at rest .. 8 muted at rest
    bool muted = false;        // direction of the mute button animation
    float rectScale = 1.0f;    // scale of the frame rectangles of the animated sprites
    float animTimer = 0.0f;    // accumulator of the 12 frames-per-second animations
    float transitionT = 0.0f;  // progress of the panel, pause and page slides
    float hudT = 0.0f;
    float hudStartY = 0.0f;
    float hudRise = 0.0f;
    bool panelSettled = false;
    bool pauseOpening = false;
    bool pauseClosing = false;
    bool pauseSettled = false;
    bool pauseShown = false;
    bool hudSliding = false;
    float slideX = 0.0f;
    float slideY = 0.0f;
    float slideTargetX = 0.0f;
    float slideTargetY = 0.0f;
    float pageOffset = 0.0f;
    float pageWidth = 0.0f;
    int atlasX = 0;
    int atlasY = 0;
    int atlasFrame = 0;
    int atlasFrameCount = 0;
    int atlasAnimA = 0;  // route of the level-selection animation's frame table
    int atlasAnimB = 0;  // animation of that route
    int atlasItem = -1;  // the item placeAtlas pointed at last (-1 none since the start)
    bool atlasWide = false;
    bool hudLaidOut = false;  // the final-stage HUD has been laid out once
    int boardMode = -1;       // the mode whose board picture is loaded
    float overlayTimer = 0.0f;

    // The options panel (interface_options.cpp): its picture and parts for the display
    // profile whose name optionsProfile holds (loaded when the panel first opens, and again
    // for another picture set), the chosen row and the values shown.
    sf::Texture optionsTexture;
    sf::Texture optionsPartsTexture;
    std::string optionsProfile;
    sf::Sprite optionsSprite;
    sf::Sprite optionsBandSprite;
    sf::Sprite optionsFillSprite;
    sf::Sprite optionsKnobSprite;
    // By row: the volume, display, frame pacing, the route keys' reset button, the audio and
    // input offsets and the calibration button; the four keys in their slots.
    std::array<sf::Text, 7> optionsTexts;
    std::array<sf::Text, 4> optionsKeyTexts;
    // The line at the bottom: the keys' hint, or a notice in red (optionsNoticeShown).
    sf::Text optionsHint;
    bool optionsNoticeShown = false;
    int optionsRow = 0;
    int optionsVolume = 100;
    // The route keys' row: the chosen slot (0..3 the routes' keys, 4 the reset button; -1
    // while the row is not chosen) is framed, in its route's colour while it waits for a key;
    // a refused key fills it red, its text then saying why.
    int optionsKeySlot = -1;
    bool optionsKeyWaiting = false;
    bool optionsKeyRefused = false;
    sf::RectangleShape optionsKeyFrame;

    // Watching a recorded play (interface_watch.cpp): the results panel's watch button (made
    // of the retry button's picture, with its label; the frame loop draws it when the play
    // can be watched); the song list's sign on each song (0..3) whose best play of the
    // list's kind is kept; and the sign in the board's corner while a recorded play is
    // watched.
    sf::Sprite watchButtonTop;
    sf::Sprite watchButtonFoot;
    sf::Text watchButtonLabel;
    std::array<sf::Text, 4> keptPlaySigns;
    std::array<bool, 4> keptPlays = {false, false, false, false};
    sf::Text replaySign;
    bool replaySignShown = false;

    // The calibration pages (interface_calibration.cpp): their card and parts for the display
    // profile whose name calibrationProfile holds (loaded when the pages first open), drawn
    // over the options panel; the creature of the watch test (a board creature's pictures,
    // set by the app) on its spot; the buttons of the results page.
    sf::Texture calibrationTexture;
    sf::Texture calibrationPartsTexture;
    std::string calibrationProfile;
    sf::Sprite calibrationSprite;
    std::array<sf::Sprite, 3> calibrationButtonSprites;  // apply, retry, back
    sf::Sprite calibrationRingSprite;
    sf::Sprite calibrationSpotSprite;
    sf::Sprite calibrationCreatureSprite;
    sf::IntRect creatureFlying;  // the creature's picture in the air, and touching its spot
    sf::IntRect creatureLanded;
    std::array<sf::Text, CalibrationText::count> calibrationTexts;
    bool calibrationCreature = false;  // the watch test's creature and spot are shown
    bool calibrationButtons = false;   // the results page's buttons are shown
    bool calibrationApplies = false;   // its apply button can be pressed
    int calibrationChoice = 0;         // the chosen button
    float creatureHeight = 0.0f;       // 0 on its spot .. 1 at the top of its hop

    // Records, indexed by song.
    std::vector<float> bestCompletion;
    std::vector<float> bestScore;
    std::vector<float> bestExploreTime;

    // Display profile and assets (interface_assets.cpp).
    void chooseDisplayProfile();
    // The pictures loadPlayImages reads for a mode, in its order, for this display profile
    // (loadImages reads menuPictureFiles, then the font; both lists: assets/asset_files.h).
    std::vector<std::string> playPictureFiles(int mode) const;
    // Pictures come from the decoder when one is given (decoded ahead), else from the files.
    bool loadImages(PictureDecoder* pictures = nullptr);
    bool loadPlayImages(int mode, sf::Texture& buttonTexture,
                        std::vector<sf::Texture>& slimeTextures,
                        PictureDecoder* pictures = nullptr);
    void showMenuBackground();
    void showBoard();

    // Layout (interface_layout.cpp). A new window size: the geometry and display profile
    // follow it and everything is placed again for the current screen; when the profile
    // names another picture set, the board picture of the play (the only picture that
    // depends on it) is read again. True when that happened.
    bool layout(float width, float height);
    // Places every sprite and text for the current geometry and screen state.
    void placeAll();
    // The drawn area in window pixels, and a window point in the drawn area's coordinates
    // (those of every position laid out).
    DrawnArea drawnArea() const;
    sf::Vector2f toArea(sf::Vector2f windowPoint) const;
    // Placement parts of the slides, shared by the slides and placeAll.
    void placePanelLayer(float x, float y);
    void placePauseLayer(float x, float y);
    void placeHud(float y);
    void placeTutorialPages();
    void showAtlasFrame();

    // Drawing and HUD (interface_render.cpp).
    void refreshRecordTexts();
    void showResults(int score, float completion, float time, bool explore, int mode);
    void showHeadlineTime(float seconds);
    void showHeadlineNumber(int n);
    void showCounter(int n);
    void closePanel();

    // Hit tests and records (interface_widgets.cpp).
    int hitTestMenuSector(float x, float y) const;
    int hitTestSidePanels(float x, float y) const;
    int hitTestExploreList(float x, float y) const;
    int hitTestSongList(float x, float y) const;
    void resetRecords();
    bool noSongCompleted() const;
    int nextCompletedSong(int i, bool forward) const;
    void updateCompletionDots();
    // The song list as a play leaves it: menu background, no pause panel, no hint, nothing
    // highlighted (the frame loop then shows the LevelSelect screen).
    void showLevelSelect();
    void unloadMakingOf();

    // Animated sprites (interface_widgets.cpp).
    void startMuteAnim();
    void stepVolumeAnim(float dt);
    void showVolumeFrame(int stage);
    void placeAtlas(int item, bool wide);
    void stepAtlasAnim(float dt);
    void startAtlasAnim(bool flag, const sf::Texture& texture);

    // Slides (interface_slides.cpp).
    void animatePanel(float dt);
    void togglePause();
    void animatePause(float dt);
    void layoutFinalStageHud();
    void animateHud(float dt);
    void animatePageTurn(float dt);
    void stepOverlayTimer(float dt);
    void resetHud(bool explore);

    // Making-of viewer and panels (interface_making_of.cpp).
    bool loadMakingOfPage(int n);
    void turnMakingOfPage(bool forward);
    void showPanelPicture();
    void openPanel();

    // Options panel (interface_options.cpp). What a point of the window hits on the panel
    // at rest: a row 0..6, optionsBack for the back arrow, -1 nothing.
    static const int optionsBack = 9;
    bool loadOptionsPictures();
    // The chosen row and the values: the volume, a text for each row (that of the volume
    // row is not shown) and the names of the four route keys.
    void showOptions(int row, int volume, const std::array<std::string, 7>& values,
                     const std::array<std::string, 4>& keys);
    // The bottom line: the keys' hint, or, when notice is not empty, the notice instead.
    void showOptionsNotice(const std::string& notice);
    void placeOptionsLayer(float x, float y);
    // A value's text centred at a point, made smaller while wider than room.
    static void placeOptionsText(sf::Text& text, float centreX, float middleY, float room,
                                 float size);
    int hitTestOptions(float x, float y) const;
    void showOptionsKeySlot(int slot, bool waiting, bool refused);
    void placeOptionsKeyFrame(float left, float top, float c);
    // The slot of the route keys' row (0..4) at a window point, -1 for none.
    int hitTestOptionsKeySlot(float x, float y) const;
    // Where a window point lies along the volume slider's track: 0 at its left end, 1 at its
    // right end (beyond them below 0 or above 1).
    float optionsTrackFraction(float x) const;
    bool hitTestMenuTop(float x, float y) const;

    // Watching a recorded play (interface_watch.cpp).
    void setUpWatchParts();
    // The song list's signs: kept[song] tells whether that song's best play is kept.
    void showKeptPlays(const std::array<bool, 4>& kept);
    // The corner sign: shown while a recorded play is watched, saying so when it is paused.
    void showReplaySign(bool shown, bool paused);
    // Placement: the signs in the rows of the list whose left edges are given (the list
    // panel's layer), the button with the results panel's layer at y, and the corner sign.
    void placeKeptPlaySigns(float scoredLeft, float exploreLeft);
    void placeWatchButton(float y);
    void placeReplaySign();
    // What a window point hits: the watch button (at rest or not), the sign of a song (0..3,
    // shown only), -1 for nothing.
    bool hitTestWatchButton(float x, float y) const;
    int hitTestKeptPlaySign(float x, float y) const;
    // Calibration pages (interface_calibration.cpp). What a point of the window hits on the
    // page: a button 0..2 (when shown), calibrationBack for the back arrow, -1 nothing.
    static const int calibrationBack = 9;
    bool loadCalibrationPictures();
    // The page's texts (by CalibrationText), whether the creature or the buttons show, and
    // which button is chosen and whether apply can be pressed.
    void showCalibration(const std::array<std::string, CalibrationText::count>& texts,
                         bool creature, bool buttons, int choice, bool applies);
    void placeCalibrationLayer();
    // The creature at a height of its hop: 0 on its spot (touching it), 1 at the top.
    void placeCalibrationCreature(float height);
    int hitTestCalibration(float x, float y) const;

    // Tutorial pages (interface_tutorial.cpp): pages 0..tutorialStep are drawn, over the hint
    // tutorialOverlay (1 early, 2 late) when there is one.
    bool loadTutorial();

    // The routes' keys on the pictures (interface_keys.cpp): the names of the bound keys by
    // route. The pictures are drawn with "E", "P", "L", "D"; where a route's key is another,
    // the board, the song lists and the tutorial's pages get the names written over theirs
    // as they are loaded (false when the pictures' key patches cannot be read: the picture
    // then shows the keys it is drawn with).
    std::array<std::string, 4> routeKeyNames = {"E", "P", "L", "D"};
    bool keysRebound() const;
    // New names: the song lists, once loaded, are written again at once.
    void setRouteKeyNames(const std::array<std::string, 4>& names);
    bool writeBoardKeys();
    bool writeSongListKeys(int k);  // k: MenuText::songListHeader or exploreListHeader
    bool writeTutorialKeys();

    // The records file "profile.zob" (interface_profile.cpp, through profile/).
    void loadProfile();
    void saveProfile();

    // Layout helpers shared by the files above.
    // Places menu text k centred half a texture width right of its canvas point, shifted.
    void placeMenuText(int k, float dx, float dy);
    // Centres a text horizontally on the window at height y.
    void centreText(sf::Text& text, float y);

protected:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;
};
