#pragma once
// The production steps of one run, on the production window's background
// thread: render and author a disc into a DVD folder (make(disc, folder)),
// image a DVD folder into an ISO file (make(folder, iso, name)), and burn an
// ISO image onto a disc (burn(iso, burner)). Each step runs its step objects
// one at a time as `task`, blocks until it is done, logs its lines and
// answers how it ended.
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
// ("temp-<seconds since 2001>") and removes it at the end. The image step's
// folder is a hidden one beside the ISO path instead (".temp-<seconds>"), so
// that the image being made does not lie in the temporary root beside the
// DVD folder it is made of, and its move to the ISO path is a rename. The DVD folder is
// moved to its path only after every step succeeded, and only when that path
// holds nothing or an empty placeholder (an empty file or folder), which is
// then removed; anything else there fails the step and is left alone. The
// image is moved to the ISO path only after mkisofs succeeded (a file there is
// replaced); after a failure or a cancel no image is left anywhere. A step
// that fails where less room is free than it needs (its partial files
// removed) says the disk is full, what it needs and what is free.
//
// The burn step checks that the image fits on the disc ("DVD Disc space is
// not enough." and no burn otherwise), prepares the burner, tries to start
// the burn up to five times, then watches it until it ends. A burn that
// fails with its drive still there asks "Burn Failed" through the
// interaction, whose "Retry" is enabled only while a blank disc with room
// for the image is in the drive; "Retry" burns again, "Cancel" ends the step
// with no report. Every other end is reported: "DVD Burn Success", or "DVD
// Burn Failed" with the burn's status, or with the "ISO File Error" text when
// no attempt started. Besides a finish or a failure the watch also ends when
// the drive disappears, when the burner is idle again without having
// finished, and on a cancel: the burn is aborted and waited for at most the
// settle time, then counts as failed. A cancel before the burn started starts
// nothing and reports nothing; a cancel while "Burn Failed" is asked takes
// the question away.
//
// Reports and questions go to the interaction (IProductionInteraction), on
// the step's thread, which waits for the answer; without one they are only
// logged and a failed burn is not retried. The steps need the main event
// loop running (the converters report their finish there; the burner is
// prepared and started there). cancel, progress and task may be called from
// any thread.

#include <QString>
#include <functional>
#include <memory>
#include <mutex>

#include "common/ChangeWait.h"
#include "production/IProductionInteraction.h"
#include "production/IProductionStep.h"
#include "production/ProductionResult.h"

class DVDLibrary;
class IDiscBurner;

class BurnDVDWorkflow {
public:
    // The waits of the burn step, in milliseconds.
    struct BurnIntervals {
        int startAttempt = 5000;   // before each start attempt
        int statusPoll = 10000;    // between two status lines of a running burn
        int sheetPoll = 1000;      // between two looks at the disc while "Burn Failed" is asked
        int cancelSettle = 30000;  // the longest wait for a cancelled burn to end
    };
    static constexpr int StartAttempts = 5;

    BurnDVDWorkflow();
    ~BurnDVDWorkflow();
    BurnDVDWorkflow(const BurnDVDWorkflow&) = delete;
    BurnDVDWorkflow& operator=(const BurnDVDWorkflow&) = delete;

    // make:media: renders and authors the disc into a DVD folder at `media`.
    // Fails before anything is made when a source the disc plays is missing
    // or cannot be played (ProjectSourceCheck), naming every such file, and
    // when the disc has no titles.
    ProductionResult make(const std::shared_ptr<DVDLibrary>& dvd, const QString& media);
    // make:iso:name: an ISO image of the DVD folder `media` at `iso`, with the
    // volume name `name` ("My DVD" when empty).
    ProductionResult make(const QString& media, const QString& iso, const QString& name);
    // burn:dvd: burns the image at `iso` with `burner`, which is the step's
    // task. Succeeded when the disc was burned; cancelled after a cancel or
    // the question's "Cancel"; otherwise failed, and already reported.
    ProductionResult burn(const QString& iso, const std::shared_ptr<IDiscBurner>& burner);
    // Whether the last burn finished.
    bool burnSuccess() const;

    // Who is told how steps end and asked whether to retry a burn. Set it
    // before the run starts.
    void setInteraction(std::shared_ptr<IProductionInteraction> interaction)
    {
        m_interaction = std::move(interaction);
    }
    const std::shared_ptr<IProductionInteraction>& interaction() const { return m_interaction; }
    void setBurnIntervals(const BurnIntervals& intervals) { m_intervals = intervals; }
    const BurnIntervals& burnIntervals() const { return m_intervals; }
    // Logs the message and reports it through the interaction; returns once
    // it has been seen (the calling thread waits).
    void showAlert(const IProductionInteraction::Message& alert);

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
    // The image step's work folder for the ISO path `iso`: a new hidden
    // ".temp-%f" in its folder. Not created.
    static QString imageWorkPath(const QString& iso);
    // Bytes of the disc's streams: every title and menu at its rates.
    static double streamBytes(const DVDLibrary& dvd);
    // About the bytes of the image of the DVD folder `media`.
    static qint64 imageBytes(const QString& media);
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

    // How the watch of a started burn ended.
    enum class BurnEnd { Finished, Failed, Abandoned };
    ProductionResult burnIso(const QString& iso, IDiscBurner& burner);
    bool startBurn(const QString& iso, IDiscBurner& burner);
    BurnEnd watchBurn(IDiscBurner& burner);
    BurnEnd settleCancelledBurn(IDiscBurner& burner);
    bool askForRetry(qint64 isoSize, IDiscBurner& burner);
    void reportBurnEnd(bool success, bool started, bool existed, qint64 isoSize, const QString& iso,
                       const IDiscBurner& burner);
    // Waits up to `milliseconds` on the run's changes (a cancel, the
    // burner's changes), ending early once `until` answers true; answers
    // whether it did.
    bool pause(int milliseconds, const std::function<bool()>& until);

    // Runs `run` with `step` as the task of `weight`; cancelled without
    // running it once the workflow is cancelled.
    template <typename Run>
    ProductionResult runTask(const std::shared_ptr<IProductionStep>& step, double weight, Run run);
    void beginStep();
    void endStep();

    int m_concurrentTitles = 0;
    std::shared_ptr<IProductionInteraction> m_interaction;
    BurnIntervals m_intervals;
    // Woken by a cancel and by the burner's changes.
    const std::shared_ptr<ChangeWait> m_changes = std::make_shared<ChangeWait>();

    mutable std::mutex m_mutex;  // everything below
    std::shared_ptr<IProductionStep> m_task;
    double m_convertedLength = 0.0;
    double m_convertingLength = 0.0;
    mutable double m_shownProgress = 0.0;
    bool m_cancelled = false;
    bool m_burnSuccess = false;
};
