#include "link/game.h"

Game::Game() {
    link.SetHandler(&replies);
}
