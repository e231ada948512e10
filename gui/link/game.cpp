#include "link/game.h"

Game::Game() : link(debugFlag) {
    link.SetHandler(&replies);
}
