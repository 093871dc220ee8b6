#pragma once
// The role of a button picture read from its name, for Corvane's button
// resources: a name ending with "play" is a play button, with "pre" a
// previous-page button, with "next" a next-page button (case-sensitive). The
// element type of a role is 11 play, 12 previous, 13 next; a name with none of
// the suffixes counts as a next button. A user's own button picture
// (CustomButtonImageResource) has its stored type in place of the element
// type: 1 previous, 2 play, any other value next.

#include <QtGlobal>

class DVDLibraryButtonResource;

class ButtonType {
public:
    ButtonType() = delete;

    static bool isPlay(const DVDLibraryButtonResource& button);
    static bool isPrev(const DVDLibraryButtonResource& button);
    static bool isNext(const DVDLibraryButtonResource& button);
    // 11 when isPlay, else 12 when isPrev, else 13; a user's own picture
    // answers its stored type.
    static qint64 type(const DVDLibraryButtonResource& button);
};
