#pragma once
// What a preview player tells its owner: a new picture (or a new position) is
// ready to be drawn. Called on the main thread.

class MoviePlayer;

class MoviePlayerDelegate {
public:
    virtual ~MoviePlayerDelegate() = default;
    virtual void imageDidFlushInPlayer(MoviePlayer* player) = 0;
};
