#include "platform/DRBurn.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "DRBurnJob.h"
#include "platform/DRNotificationCenter.h"
#include "platform/DRStatus.h"

std::shared_ptr<DRBurn> DRBurn::burnForDevice(const DRDevicePtr& device)
{
    return device ? std::make_shared<DRBurn>(device) : nullptr;
}

std::optional<DRBurn::Layout> DRBurn::layoutForImageFile(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() <= 0 ||
        !QFile(path).open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return Layout{info.absoluteFilePath(), info.size()};
}

DRBurn::DRBurn(const DRDevicePtr& device) : device_(device) {}

DRBurn::~DRBurn()
{
    if (!job_) {
        return;
    }
    if (QThread::currentThread() == job_->thread()) {
        job_->detach();
    } else {
        QPointer<DRBurnJob> job = job_;
        QMetaObject::invokeMethod(
            job, [job] { job->detach(); }, Qt::QueuedConnection);
    }
}

void DRBurn::writeLayout(const Layout& layout)
{
    if (job_) {
        qWarning().noquote() << "a burn to" << device_->address() << "is already running";
        return;
    }
    const bool verify = properties_.value(DRBurnVerifyDiscKey).toBool();
    std::weak_ptr<DRBurn> weakSelf = weak_from_this();
    auto handler = [weakSelf](const QVariantMap& status) {
        // A burn that is gone announces nothing: its address may be reused.
        if (std::shared_ptr<DRBurn> self = weakSelf.lock()) {
            self->status_ = status;
            DRNotificationCenter::currentRunLoopCenter()->postBurnStatus(self.get(), status);
        }
    };
    job_ = new DRBurnJob(device_->address(), layout.path, layout.size, verify, handler);
    job_->start();
}

void DRBurn::abort()
{
    if (job_) {
        job_->abort();
    }
}
