// The game the main window plays, and everything of it that lasts from one
// request to the next on the program's side: the mirror of the library's
// state, the link to the library with its request buffer, the save
// request's state, the table view (what is drawn and its words) and the
// reply handlers. The
// window owns the one game and hands its parts to whoever needs them.
#pragma once

#include "link/logiclink.h"
#include "link/replies.h"
#include "link/saving.h"

struct Game {
    Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    GameMirror mirror;
    LogicLink link{mirror.debugFlag};
    RecordsSaver saver{link};
    TableView view{mirror};
    Replies replies{mirror, link, saver, view};
};
