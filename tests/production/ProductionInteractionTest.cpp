// The burn step talks to the user only through its interaction: a script
// stands in for the sheets here, in a module that knows no widgets. It is
// asked on the step's own thread, sees whether the disc in the drive allows
// a retry, and a cancel while it is asked wins over its answer.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <future>
#include <mutex>

#include "FastBurnIntervals.h"
#include "ScriptedDiscBurner.h"
#include "UserFolders.h"
#include "production/BurnDVDWorkflow.h"
#include "production/IProductionInteraction.h"

namespace {

using testsupport::ScriptedDiscBurner;
using Outcome = ScriptedDiscBurner::Outcome;

constexpr qint64 ImageBytes = 64 * 1024;

// Answers the retry questions from a list and writes down what it was told.
class ScriptedInteraction : public IProductionInteraction {
public:
    std::function<bool(const RetryQuestion&)> onQuestion;

    void report(const Message& message) override
    {
        const std::lock_guard lock(m_mutex);
        m_reports << message.message + "|" + message.informativeText;
        m_threads << QThread::currentThread();
    }
    bool askToRetry(const RetryQuestion& question) override
    {
        {
            const std::lock_guard lock(m_mutex);
            m_questions << QStringList{question.message, question.retryButton,
                                       question.cancelButton};
            m_threads << QThread::currentThread();
        }
        return onQuestion(question);
    }

    QStringList reports() const
    {
        const std::lock_guard lock(m_mutex);
        return m_reports;
    }
    QList<QStringList> questions() const
    {
        const std::lock_guard lock(m_mutex);
        return m_questions;
    }
    QList<QThread*> threads() const
    {
        const std::lock_guard lock(m_mutex);
        return m_threads;
    }

private:
    mutable std::mutex m_mutex;
    QStringList m_reports;
    QList<QStringList> m_questions;
    QList<QThread*> m_threads;
};

class ProductionInteraction : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        iso = folders.root() + "/image.iso";
        QFile file(iso);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(QByteArray(ImageBytes, 'i')), ImageBytes);
        file.close();
        flow.setBurnIntervals(testsupport::fastBurnIntervals(300));
        flow.setInteraction(interaction);
    }

    // Runs the burn step on a worker while this thread serves the main loop
    // (the burner is prepared and started there).
    ProductionResult burn()
    {
        std::future<ProductionResult> done =
            std::async(std::launch::async, [this] { return flow.burn(iso, burner); });
        QElapsedTimer clock;
        clock.start();
        while (done.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (clock.elapsed() > 30000) {
                ADD_FAILURE() << "the burn step did not end";
                flow.cancel();
            }
        }
        return done.get();
    }

    testsupport::UserFolders folders;
    QString iso;
    BurnDVDWorkflow flow;
    std::shared_ptr<ScriptedInteraction> interaction = std::make_shared<ScriptedInteraction>();
    std::shared_ptr<ScriptedDiscBurner> burner = std::make_shared<ScriptedDiscBurner>();
};

TEST_F(ProductionInteraction, RetryBurnsAgainAndCancelEndsWithoutReport)
{
    burner->setOutcomes({Outcome::Fail, Outcome::Fail}, Outcome::Finish);
    // What the question says a retry may do, for each disc in the drive.
    struct Disc {
        const char* name;
        bool blank;
        qint64 writable;
        bool canRetry;
    };
    const Disc discs[] = {
        {"written", false, 1LL << 32, false},
        {"blank_too_small", true, ImageBytes, false},
        {"blank_with_room", true, ImageBytes + 1, true},
    };
    int asked = 0;
    interaction->onQuestion = [&](const IProductionInteraction::RetryQuestion& question) {
        for (const Disc& disc : discs) {
            SCOPED_TRACE(disc.name);
            burner->setMedia(disc.blank, disc.writable);
            EXPECT_EQ(question.canRetry(), disc.canRetry);
        }
        EXPECT_FALSE(question.isCancelled());
        EXPECT_EQ(question.pollMs, flow.burnIntervals().sheetPoll);
        return ++asked == 1;  // "Retry", then "Cancel"
    };

    const ProductionResult result = burn();
    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    EXPECT_FALSE(flow.burnSuccess());
    const QStringList question{"Burn Failed", "Retry", "Cancel"};
    EXPECT_EQ(interaction->questions(), (QList<QStringList>{question, question}));
    EXPECT_TRUE(interaction->reports().isEmpty());
    EXPECT_EQ(burner->startedBurns(), 2);
    EXPECT_EQ(burner->prepares(), 3);  // before the burn, and once per question
    EXPECT_FALSE(burner->calledOffTheMainThread());
    // Asked on the step's thread, which waited for the answers.
    for (QThread* thread : interaction->threads()) {
        EXPECT_NE(thread, QCoreApplication::instance()->thread());
    }
}

TEST_F(ProductionInteraction, CancelWhileAskedWinsOverRetry)
{
    burner->setOutcomes({Outcome::Fail}, Outcome::Finish);
    interaction->onQuestion = [&](const IProductionInteraction::RetryQuestion& question) {
        flow.cancel();
        EXPECT_TRUE(question.isCancelled());
        return true;  // "Retry" pressed as the run was cancelled
    };
    const ProductionResult result = burn();
    EXPECT_TRUE(result.isCancelled()) << qPrintable(result.toString());
    EXPECT_EQ(burner->startedBurns(), 1);
    EXPECT_TRUE(interaction->reports().isEmpty());
}

TEST_F(ProductionInteraction, EndsAreReportedThroughTheInteraction)
{
    struct Case {
        const char* name;
        bool blank;
        qint64 writable;
        Outcome outcome;
        QString report;
    };
    const Case cases[] = {
        {"finished", true, 1LL << 32, Outcome::Finish, "DVD Burn Success|"},
        {"too_small", true, ImageBytes, Outcome::Finish,
         "DVD Disc space is not enough.|you can remove some video and try again."},
        {"drive_lost", true, 1LL << 32, Outcome::LoseDrive,
         "DVD Burn Failed|{State = Failed; ErrorStatus = The drive disappeared.;}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        interaction = std::make_shared<ScriptedInteraction>();
        interaction->onQuestion = [](const IProductionInteraction::RetryQuestion&) {
            ADD_FAILURE() << "nothing failed to retry";
            return false;
        };
        flow.setInteraction(interaction);
        burner = std::make_shared<ScriptedDiscBurner>();
        burner->setMedia(c.blank, c.writable);
        burner->setOutcomes({}, c.outcome);
        burn();
        EXPECT_EQ(interaction->reports(), QStringList{c.report});
        EXPECT_TRUE(interaction->questions().isEmpty());
    }
}

}  // namespace
