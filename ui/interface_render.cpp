// What the Interface draws on each screen, and the texts of the HUD and the level panels.
#include "core/songs.h"
#include "ui/interface.h"

void Interface::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    const sf::RenderStates& plain = sf::RenderStates::Default;
    sf::RenderStates multiply = states;
    multiply.blendMode = sf::BlendMultiply;

    const bool options = MenuChoice == ChoiceUp && (Screen == MainMenu || Screen == OptionsPanel);
    if (Screen == LevelSelect || (Screen == MainMenu && MenuChoice != ChoiceUp)) {
        target.draw(panelSprite, states);
    }
    if (options) {
        target.draw(optionsSprite, states);
        target.draw(optionsBandSprite, states);
        target.draw(optionsFillSprite, states);
        target.draw(optionsKnobSprite, states);
        for (const sf::Text& text : optionsTexts) target.draw(text, states);
        if (optionsKeySlot >= 0) target.draw(optionsKeyFrame, states);
        for (const sf::Text& text : optionsKeyTexts) target.draw(text, states);
        target.draw(optionsHint, states);
    }
    if (Screen == Calibration) {
        // The page's card over the options panel.
        target.draw(optionsSprite, states);
        target.draw(calibrationSprite, states);
        if (calibrationCreature) {
            target.draw(calibrationSpotSprite, states);
            target.draw(calibrationCreatureSprite, states);
        }
        if (calibrationButtons) {
            target.draw(calibrationRingSprite, states);
            for (const sf::Sprite& button : calibrationButtonSprites) target.draw(button, states);
        }
        for (const sf::Text& text : calibrationTexts) target.draw(text, states);
    }
    if (Screen == MakingOf) {
        if (panelOpening || panelClosing) {
            target.draw(panelSprite, states);
        } else {
            if (pageTurnForward || pageTurnBack) target.draw(makingOfNextSprite, plain);
            target.draw(makingOfPageSprite, plain);
            if (makingOfPage == 0 && !pageTurnForward) target.draw(volumeSprite, plain);
        }
    }
    target.draw(centreSprite, states);
    if (hintVisible) target.draw(hintSprite, plain);
    if (Screen == MainMenu || panelClosing) {
        target.draw(menuTextSprites[MenuText::title], states);
        for (int k = 1; k < 4; ++k) {
            // Multiplying ignores the sprite's alpha, so a faded (locked) item is blended
            // instead: otherwise it would look exactly like an open one.
            bool faded = menuTextSprites[k].getColor().a < 255;
            target.draw(menuTextSprites[k], faded ? states : multiply);
        }
    }
    const bool hud = Screen == Playing && counterVisible;
    if (Screen == Exploring || hud) {
        target.draw(scoreBarSprite, states);
        target.draw(headlineText, states);
        if (hud) target.draw(counterText, states);
    }
    if (Screen == LevelSelect || Screen == MakingOf || panelOpening) {
        if (MenuChoice == ChoiceRight) {
            target.draw(menuTextSprites[MenuText::songListHeader], multiply);
            for (const sf::Sprite& dot : dotSprites) target.draw(dot, states);
            for (const sf::Text& text : scoreTexts) target.draw(text, states);
        } else if (MenuChoice == ChoiceLeft) {
            target.draw(menuTextSprites[MenuText::exploreListHeader], multiply);
            for (const sf::Text& text : exploreTimeTexts) target.draw(text, states);
        }
        if (MenuChoice == ChoiceRight || MenuChoice == ChoiceLeft) {
            for (int i = 0; i < 4; ++i) {
                if (keptPlays[i]) target.draw(keptPlaySigns[i], states);
            }
        }
    }
    if (Screen == LevelSelect && atlasVisible) target.draw(atlasSprite, states);
    if (replaySignShown) target.draw(replaySign, states);
    if (Screen == Tutorial) {
        const int pages = static_cast<int>(tutorialSprites.size());
        const int overlay = tutorialOverlay + 4;
        if (tutorialOverlay > 0 && overlay < pages) target.draw(tutorialSprites[overlay], states);
        for (int i = 0; i <= tutorialStep && i <= 4 && i < pages; ++i) {
            target.draw(tutorialSprites[i], states);
        }
    }
}

void Interface::refreshRecordTexts() {
    for (int i = 0; i < 4; ++i) {
        exploreTimeTexts[i].setString(exploreTimeString(bestCompletion[i], bestExploreTime[i]));
        scoreTexts[i].setString(scoreString(bestScore[i]));
    }
}

void Interface::showResults(int score, float completion, float time, bool explore, int mode) {
    newRecord = false;
    levelCompleted = false;
    firstCompletion = false;
    hintVisible = false;
    pauseSettled = false;
    // A mode outside 0..3 has no song: its result is shown but no record is kept.
    const PlayOutcome outcome = recordPlay(bestCompletion, bestScore, bestExploreTime, songOf(mode),
                                           score, completion, time, explore);
    newRecord = outcome.newRecord;
    levelCompleted = outcome.levelCompleted;
    firstCompletion = outcome.firstCompletion;
    resultText.setString(outcome.resultString);
    refreshRecordTexts();
    updateCompletionDots();
    if (!pauseShown) {
        pauseOpening = true;
        pauseShown = true;
    }
}

void Interface::showHeadlineTime(float seconds) {
    headlineText.setString(formatTime(seconds));
    centreText(headlineText, headlineText.getPosition().y);
}

void Interface::showHeadlineNumber(int n) {
    headlineText.setString(std::to_string(n));
    centreText(headlineText, headlineText.getPosition().y);
}

void Interface::showCounter(int n) {
    counterText.setString(std::to_string(n));
    centreText(counterText, counterText.getPosition().y);
}

void Interface::closePanel() {
    panelClosing = true;
    atlasVisible = false;
    showPanelPicture();
}
