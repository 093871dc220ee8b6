#pragma once
// Writes the dvdauthor description ("author.xml") of a DVDLibrary: one video
// title set whose menus and titles are program chains, with the navigation of
// the library written as DVD virtual-machine commands over five registers:
//   g1  number (from 1) of the menu page last shown
//   g2  set when coming back from a title, so the root reopens page g1
//   g3  scratch for the highlighted button; "g3=0;" is the command that does nothing
//   g4  the auto-play chain is running
//   g5  93 once the warning title has played
// The output is a file format: every piece is emitted character for character.
// DVDLibrary::authorContent and the actionFor... commands answer through it.

#include <QString>

#include "platform/Object.h"

class DVDLibrary;

class DVDAuthorDocument {
public:
    explicit DVDAuthorDocument(const DVDLibrary& library) : m_library(library) {}

    // The whole document.
    QString document() const;
    // The command that jumps to an object; "g3=0;" for null or for an object
    // that is not on the disc.
    QString commandFor(const ObjectPtr& target) const;
    // The command at the end of a title whose successor is `next`; for null, a
    // return to the menus.
    QString titleEndCommand(const ObjectPtr& next) const;

    // A cell time in seconds as "HH:MM:SS.hh" (truncated, not rounded).
    static QString cellTime(double seconds);

private:
    QString firstPlayPart() const;
    QString titleSetPart() const;
    QString streamLines() const;  // the video line and the audio line
    QString menuList() const;
    QString menuChain(qint64 position) const;
    QString rootChain(qint64 pageCount) const;
    QString titleList() const;
    QString titleChain(qint64 position) const;
    QString titleCells(const ObjectPtr& title) const;
    QString titlePost(const ObjectPtr& title, qint64 position) const;
    QString warningCheck() const;
    QString warningEnd() const;
    QString jumpToFirstNormalTitle() const;

    const DVDLibrary& m_library;
};
