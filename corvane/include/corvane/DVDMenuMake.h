#pragma once
// Gives one menu page's rendered stream its button subpictures with spumux.
//
// makeMenu() prepares the run; start then writes the spumux description
// ("menu<seconds>.xml", see xmlConfigForMenu) and the three subpicture PNGs
// ("menu_highlight.png", "menu_select.png", "menu_image.png", drawn by
// DVDMenuImageGenerator) into the work folder, runs `spumux <description>`
// there (environment: only VIDEO_FORMAT) with the page's stream on standard
// input and the output stream file on standard output, and removes the
// description and the PNGs again.
//
// start answers true only when the three pictures were written, spumux
// exited normally with status 0, the output is not empty and the run was not
// cancelled. On any failure the output stream is removed.
//
// Button names and rectangles number pages and elements as the dvdauthor
// description does ("b<page><element>"), so its button commands act on these
// areas. Runs in one work folder must not overlap (the PNG names are fixed).

#include <QMutex>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <memory>

#include "corvane/DVDToolStep.h"

class DVDLibrary;
class DVDMenuPage;

class DVDMenuMake : public DVDToolStep {
public:
    // A canvas rectangle (points, y up) in DVD frame pixels: scaled by the
    // frame-to-canvas ratios (rounded to single precision), grown to integer
    // edges, clipped to the frame (no overlap or no area gives the zero
    // rectangle), and each value made even toward zero.
    static QRectF scaleRect(const QRectF& rect, const QSizeF& menuSize, const QSizeF& fitSize);
    // The disc's DVD frame size.
    static QSize getDVDVideoFormatSize(const DVDLibrary& dvd);
    // The spumux description of `menu` on `dvd`: one button per element with
    // a target, with corners counted from the top of the frame.
    static QString xmlConfigForMenu(const std::shared_ptr<DVDMenuPage>& menu,
                                    const DVDLibrary& dvd);

    // Prepares the run: `path` is the stream to write, `video` the page's
    // rendered stream, `work` the folder for the temporary files.
    void makeMenu(const std::shared_ptr<DVDMenuPage>& menu,
                  const std::shared_ptr<const DVDLibrary>& dvd, const QString& path,
                  const QString& video, const QString& work);

    // Output bytes over input bytes (at least 1000); 0 before the run.
    double progress() const override;
    QString output() const;
    QString input() const;

private:
    bool run(const std::shared_ptr<DVDMenuPage>& menu, const std::shared_ptr<const DVDLibrary>& dvd,
             const QString& work);
    bool writePictures(const std::shared_ptr<DVDMenuPage>& menu,
                       const std::shared_ptr<const DVDLibrary>& dvd, const QString& work) const;
    bool runSpumux(const DVDLibrary& dvd, const QString& control, const QString& work);
    void setStreams(const QString& output, const QString& input);

    mutable QMutex m_mutex;
    QString m_output;
    QString m_input;
};
