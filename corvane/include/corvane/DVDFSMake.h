#pragma once
// Builds a disc's DVD folder with dvdauthor.
//
// dvd() prepares the run for a disc and a work folder that holds the rendered
// streams ("title%ld.dvd", and "menu%ld.dvd" with their button subpictures);
// start then writes the disc's description to "author.xml" in the work folder,
// runs `dvdauthor -x author.xml -o dvd.dvdmedia` there (environment: only
// VIDEO_FORMAT), and deletes "author.xml" again. The DVD folder is
// "dvd.dvdmedia" in the work folder, with VIDEO_TS inside.
//
// start answers true only when dvdauthor exited normally with status 0 and
// the run was not cancelled. On any failure (the description cannot be
// written, dvdauthor missing, crashing, failing or cancelled) "dvd.dvdmedia"
// is removed, so what the work folder holds always tells the result too.

#include <QMutex>
#include <QString>
#include <atomic>
#include <memory>

#include "corvane/DVDToolStep.h"

class DVDLibrary;

class DVDFSMake : public DVDToolStep {
public:
    // Prepares the run; nothing runs yet. The disc is kept until the run.
    void dvd(const std::shared_ptr<const DVDLibrary>& dvd, const QString& work);

    // Bytes in VIDEO_TS so far over the bytes the work folder held when the
    // run began (at least 1). Not clamped to 1; 0 before the run.
    double progress() const override;

    // Bytes directly in the work folder when the run began.
    qint64 totalSize() const { return m_totalSize; }
    // The folder whose growth is measured; empty before the run.
    QString output() const;

private:
    bool run(const DVDLibrary& dvd, const QString& work);
    void setOutput(const QString& output);

    std::atomic<qint64> m_totalSize{0};
    mutable QMutex m_outputMutex;
    QString m_output;
};
