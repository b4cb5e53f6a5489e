#include "seededGame.h"

#include "Game/GameSession.h"
#include "Gui/CeguiSetupManager.h"

#include <CEGUI/CEGUI.h>

#include <cstdlib>

namespace seededgame {

void start()
{
    GameSession* session = GameSession::getInstance();
    session->clearEnemies();
    std::srand(randomSeed);
    session->startGame();
    CeguiSetupManager::getInstance()->screens().showIngame();
    if (CEGUI::GUIContext* gui = CeguiSetupManager::getInstance()->context())
        gui->injectMousePosition(cursorX, cursorY);
}

} // namespace seededgame
