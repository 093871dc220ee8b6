#pragma once
// The production steps of one run, on the production window's background
// thread: render and author a disc into a DVD folder (make(disc, folder)),
// and image a DVD folder into an ISO file (make(folder, iso, name)). Each step
// runs its step objects one at a time as `task`, blocks until it is done,
// logs its lines and answers how it ended.
//
// Progress of a step: (converted + converting weight x the task's progress)
// / max(totalLength, 1), at most 0.98 and never less than an earlier answer
// within the step; the lengths are reset when a step ends, so the next step
// starts from 0. The folder step weighs rendering 90 and dvdauthor 10, the
// image step mkisofs 100.
//
// Cancel is cooperative: it sets isCancelled for good and cancels the
// running task; every later step object sees the flag and does not start.
//
// Outputs are safe: a step works in a fresh folder under the temporary root
// ("temp-<seconds since 2001>") and removes it at the end. The DVD folder is
// moved to its path only after every step succeeded, and only when that path
// holds nothing or an empty placeholder (an empty file or folder), which is
// then removed; anything else there fails the step and is left alone. The
// image is moved to the ISO path only after mkisofs succeeded (a file there is
// replaced); after a failure or a cancel no image is left anywhere.
//
// The steps need the main event loop running (the converters report their
// finish there). cancel, progress and task may be called from any thread.

#include <QString>
#include <memory>
#include <mutex>

#include "production/IProductionStep.h"
#include "production/ProductionResult.h"

class DVDLibrary;

class BurnDVDWorkflow {
public:
    BurnDVDWorkflow();
    ~BurnDVDWorkflow();
    BurnDVDWorkflow(const BurnDVDWorkflow&) = delete;
    BurnDVDWorkflow& operator=(const BurnDVDWorkflow&) = delete;

    // make:media: renders and authors the disc into a DVD folder at `media`.
    ProductionResult make(const std::shared_ptr<DVDLibrary>& dvd, const QString& media);
    // make:iso:name: an ISO image of the DVD folder `media` at `iso`, with the
    // volume name `name` ("My DVD" when empty).
    ProductionResult make(const QString& media, const QString& iso, const QString& name);

    void cancel();
    bool isCancelled() const;
    double progress() const;
    // The step object running now; null between them.
    std::shared_ptr<IProductionStep> task() const;

    double totalLength() const { return 100.0; }
    double convertedLength() const;
    double convertingLength() const;

    // A new work folder path under the temporary root: "temp-%f" of the
    // seconds since 1 January 2001, a new one at every call. Not created.
    static QString workPath();
    static QString defaultVolumeName() { return QStringLiteral("My DVD"); }

    // How many titles the rendering may encode at once; 0 (the default)
    // leaves it to the rendering step.
    void setMaximumConcurrentTitles(int count) { m_concurrentTitles = count; }

private:
    ProductionResult renderAndAuthor(const std::shared_ptr<DVDLibrary>& dvd, const QString& work);
    ProductionResult placeDVDFolder(const QString& folder, const QString& media,
                                    const ProductionResult& made);
    ProductionResult placeImage(const QString& image, const QString& iso, const QString& media,
                                const ProductionResult& made);
    static ProductionResult makeWorkFolder(const QString& work);

    // Runs `run` with `step` as the task of `weight`; cancelled without
    // running it once the workflow is cancelled.
    template <typename Run>
    ProductionResult runTask(const std::shared_ptr<IProductionStep>& step, double weight, Run run);
    void beginStep();
    void endStep();

    int m_concurrentTitles = 0;

    mutable std::mutex m_mutex;  // everything below
    std::shared_ptr<IProductionStep> m_task;
    double m_convertedLength = 0.0;
    double m_convertingLength = 0.0;
    mutable double m_shownProgress = 0.0;
    bool m_cancelled = false;
};
