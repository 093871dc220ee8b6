#pragma once
// Recording stand-ins for the alert and reveal services. Header-only:
// include it from a test that links the common module.
//
// RecordingAlertService records every alert (`alerts`) and answers waiting
// alerts from `answers` in order, then with `defaultAnswer`. Sheets that do
// not wait stay open (`sheets`) until the test ends them with endSheet.
// RecordingRevealService records the revealed paths. InstalledServices
// installs one of each for the life of the object.

#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "common/AlertService.h"
#include "common/AlertSheet.h"
#include "common/RevealService.h"

namespace testsupport {

class RecordingAlertService : public AlertService {
public:
    struct Shown {
        AlertContent content;
        QWidget* window = nullptr;
        bool waited = false;
    };

    QList<Shown> alerts;
    QList<int> answers;
    int defaultAnswer = DefaultReturn;
    QList<std::shared_ptr<AlertSheet>> sheets;

    int runAlert(const AlertContent& alert, QWidget* window) override
    {
        alerts.append({alert, window, true});
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }

    std::shared_ptr<AlertSheet> beginAlertSheet(const AlertContent& alert, QWidget* window,
                                                std::function<void(int)> didEnd = {}) override
    {
        alerts.append({alert, window, false});
        auto sheet = std::make_shared<AlertSheet>(alert);
        sheets.append(sheet);
        m_didEnd.append(std::move(didEnd));
        return sheet;
    }

    // Ends the sheet begun `index`-th with the answer, as a press would.
    void endSheet(int index, int returnCode)
    {
        if (sheets.at(index)->end(returnCode) && m_didEnd.at(index)) {
            m_didEnd.at(index)(returnCode);
        }
    }

    // Retry's state (the default button) on the first sheet while it is up,
    // each change noted in `seen`; none before it begins or once it ended.
    std::optional<bool> noteFirstSheetRetry(QList<bool>& seen) const
    {
        const auto shown = sheets.value(0);
        if (!shown || shown->hasEnded()) {
            return std::nullopt;
        }
        const bool retry = shown->isButtonEnabled(DefaultReturn);
        if (seen.isEmpty() || seen.constLast() != retry) {
            seen << retry;
        }
        return retry;
    }

    // As noteFirstSheetRetry; ends the sheet with Cancel (the alternate
    // button) once Retry is on.
    void cancelFirstSheetOnceRetryIsOn(QList<bool>& seen)
    {
        if (noteFirstSheetRetry(seen).value_or(false)) {
            endSheet(0, AlternateReturn);
        }
    }

    // The message texts shown, in order.
    QStringList messages() const
    {
        QStringList texts;
        for (const Shown& shown : alerts) {
            texts.append(shown.content.message);
        }
        return texts;
    }

private:
    QList<std::function<void(int)>> m_didEnd;
};

class RecordingRevealService : public RevealService {
public:
    QStringList revealed;
    // Whether the desktop could show what it is asked to.
    bool shows = true;
    void selectFile(const QString& path) override { revealed.append(path); }
    void selectFile(const QString& path, std::function<void()> notShown) override
    {
        revealed.append(path);
        if (!shows && notShown) {
            notShown();
        }
    }
};

class InstalledServices {
public:
    InstalledServices()
    {
        AlertService::install(alerts);
        RevealService::install(reveal);
    }
    ~InstalledServices()
    {
        AlertService::install(nullptr);
        RevealService::install(nullptr);
    }
    InstalledServices(const InstalledServices&) = delete;
    InstalledServices& operator=(const InstalledServices&) = delete;

    std::shared_ptr<RecordingAlertService> alerts = std::make_shared<RecordingAlertService>();
    std::shared_ptr<RecordingRevealService> reveal = std::make_shared<RecordingRevealService>();
};

}  // namespace testsupport
