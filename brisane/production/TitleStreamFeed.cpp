#include "production/TitleStreamFeed.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <system_error>
#include <thread>

#include "lumenta/LMDVDStreamJoin.h"

struct TitleStreamFeed::Feed {
    MakeDVDVideo::TitleStream stream;
    LMDVDStreamJoin join;
    std::thread thread;
    // Readable once the feed has ended; -1 when there is no thread.
    int ended = -1;
    // Set by the feed's thread before `ended`.
    bool fed = false;
    QString error;

    ~Feed()
    {
        if (ended >= 0) {
            ::close(ended);
        }
    }
};

TitleStreamFeed::TitleStreamFeed(const QList<MakeDVDVideo::TitleStream>& streams)
{
    for (const MakeDVDVideo::TitleStream& stream : streams) {
        auto made = std::make_unique<Feed>();
        made->stream = stream;
        made->join.setReleasesInput(true);
        made->ended = ::eventfd(0, EFD_CLOEXEC);
        if (made->ended >= 0) {
            try {
                made->thread = std::thread(feed, std::ref(*made));
            } catch (const std::system_error& error) {
                made->error = QStringLiteral("no thread could feed it (%1)")
                                  .arg(QString::fromLocal8Bit(error.what()));
            }
        } else {
            made->error = QStringLiteral("no thread could feed it");
        }
        m_feeds.push_back(std::move(made));
    }
}

TitleStreamFeed::~TitleStreamFeed()
{
    finish();
}

void TitleStreamFeed::feed(Feed& feed)
{
    const VCVideoConverter::PiecesToJoin& pieces = feed.stream.pieces;
    feed.fed = feed.join.join(pieces.video, pieces.audio, feed.stream.path);
    feed.error = feed.join.errorText();
    for (const QString& piece : pieces.video + QStringList{pieces.audio}) {
        QFile::remove(piece);
    }
    ::eventfd_write(feed.ended, 1);
}

void TitleStreamFeed::letGo(Feed& feed)
{
    // The other end of the pipe releases a feed that waits for its reader;
    // what the feed writes until it stops is read and dropped.
    int reader =
        ::open(QFile::encodeName(feed.stream.path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    for (;;) {
        pollfd waits[2] = {{feed.ended, POLLIN, 0}, {reader, POLLIN, 0}};
        if (::poll(waits, reader >= 0 ? 2 : 1, -1) < 0 && errno != EINTR) {
            break;
        }
        if (waits[0].revents != 0) {
            break;
        }
        if (reader >= 0 && waits[1].revents != 0) {
            char dropped[65536];
            ssize_t read = 0;
            while ((read = ::read(reader, dropped, sizeof dropped)) > 0) {
            }
            // The feed has closed its end: only its end is left to wait for.
            if (read == 0 || (waits[1].revents & (POLLHUP | POLLERR)) != 0) {
                ::close(reader);
                reader = -1;
            }
        }
    }
    if (reader >= 0) {
        ::close(reader);
    }
}

ProductionResult TitleStreamFeed::finish()
{
    if (m_finished) {
        return ProductionResult::succeeded();
    }
    m_finished = true;
    for (const auto& each : m_feeds) {
        each->join.cancel();
    }
    ProductionResult result = ProductionResult::succeeded();
    for (const auto& each : m_feeds) {
        if (each->thread.joinable()) {
            letGo(*each);
            each->thread.join();
        }
        if (!each->fed && result.isSucceeded()) {
            const QString name = QFileInfo(each->stream.path).fileName();
            qWarning().noquote() << "The stream of" << name << "was not fed whole:" << each->error;
            result = ProductionResult::failed(
                QStringLiteral("The stream of %1 could not be made: %2").arg(name, each->error));
        }
    }
    return result;
}
