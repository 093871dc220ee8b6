#pragma once
// Holds a list of conversion jobs and answers status queries over them. It is
// meant as the jobs' delegate; it starts no job by itself.
//
// The most jobs to run at once comes from the user settings, which install
// their reader with setMaxConvertCountSource().

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "media/VCVideoConverter.h"
#include "media/VideoConverterManagerDelegate.h"

class VideoConverterManager : public VCVideoConverterDelegate {
public:
    using Jobs = QList<VCVideoConverter::Ptr>;

    Jobs converters() const { return m_converters; }
    void setConverters(const Jobs& v) { m_converters = v; }
    // Not owned.
    VideoConverterManagerDelegate* delegate() const { return m_delegate; }
    void setDelegate(VideoConverterManagerDelegate* v) { m_delegate = v; }

    static void setMaxConvertCountSource(std::function<int()> source);
    // The configured count, at least 1.
    static int getMaxConvertCount();

    Jobs allConvertMedia() const { return m_converters; }
    Jobs currentConverting() const;
    Jobs currentPausedConvert() const;
    // Finished or canceled.
    Jobs currentFinishedConvert() const;
    Jobs currentCanceledConvert() const;
    Jobs currentReadyConvert() const;
    // True when every job is finished or canceled (also for none).
    bool isConvertingFinish() const;
    void cancelAllOperations();
    // The paths of the jobs whose file exists, in list order.
    QStringList allValidConvertedFiles() const;
    // The first ready job, searching circularly from the given job's place
    // (from the start when it is not in the list), that job included.
    VCVideoConverter::Ptr findNextMediaToConvert(const VCVideoConverter* from) const;

    void converterDidPaused(VCVideoConverter* converter) override;
    void converterDidResume(VCVideoConverter* converter) override;
    void converterDidFinished(VCVideoConverter*) override {}
    void startMoreMediaConvert();
    void convertMedias(const Jobs&) {}
    void convertersDidFinished();

private:
    Jobs filtered(const std::function<bool(const VCVideoConverter&)>& test) const;

    Jobs m_converters;
    VideoConverterManagerDelegate* m_delegate = nullptr;
};
