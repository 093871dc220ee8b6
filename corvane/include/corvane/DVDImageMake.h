#pragma once
// Makes a DVD-Video ISO image of a DVD folder with mkisofs.
//
// volume() prepares the run for a volume name and a work folder; start runs
// `mkisofs -dvd-video -V <volume> -o dvd.iso <input>` in the work folder with
// this program's own environment. The input is inputPath, or the work
// folder's "dvd.dvdmedia" when inputPath is empty. The image is "dvd.iso" in
// the work folder. genisoimage serves when mkisofs itself is not installed.
//
// start answers true only when the tool exited normally with status 0 and the
// run was not cancelled. On any failure "dvd.iso" is removed (mkisofs leaves
// an empty or partial image behind when it fails), so a "dvd.iso" in the work
// folder always is a finished image.

#include <QMutex>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

#include "corvane/DVDToolStep.h"

class DVDImageMake : public DVDToolStep {
public:
    // The DVD folder to image (the one holding VIDEO_TS); empty selects the
    // work folder's "dvd.dvdmedia". Set it before volume().
    QString inputPath() const;
    void setInputPath(const QString& path);

    // Prepares the run; nothing runs yet.
    void volume(const QString& name, const QString& work);

    // Bytes of the image so far over the bytes of the input's VIDEO_TS files
    // (at least 1). May pass 1; 0 before the run.
    double progress() const override;

    qint64 totalSize() const { return m_totalSize; }
    // The image path; empty before the run.
    QString output() const;

    // A new, not yet launched run of `tool` in `folder` with `arguments`,
    // inheriting this program's environment.
    static std::shared_ptr<DVDToolTask> taskCurrentArguments(const QString& tool,
                                                             const QString& folder,
                                                             const QStringList& arguments);

private:
    bool run(const QString& name, const QString& work);
    void setOutput(const QString& output);

    std::atomic<qint64> m_totalSize{0};
    mutable QMutex m_mutex;
    QString m_inputPath;
    QString m_output;
};
