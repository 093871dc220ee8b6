#include "dialogs/core/PlayModeRules.h"

#include <algorithm>

#include "model/DVDPage.h"
#include "model/MusicData.h"

QStringList PlayModeRules::secondsTitles()
{
    QStringList titles;
    for (int i = 1; i <= 12; ++i) {
        titles << QString::number(5 * i);
    }
    return titles;
}

QString PlayModeRules::selectedTitle(bool useMusicLength, double duration)
{
    if (useMusicLength) {
        return musicLengthTitle();
    }
    const QString text = QString::asprintf("%.0f", duration);
    return secondsTitles().contains(text) ? text : QString();
}

void PlayModeRules::saveMenuDurationToPages(const QList<std::shared_ptr<DVDPage>>& pages,
                                            const QString& title)
{
    const bool byMusic = title == musicLengthTitle();
    bool isNumber = false;
    const double seconds = title.toDouble(&isNumber);
    if (!byMusic && !isNumber) {
        return;
    }
    for (const auto& page : pages) {
        if (!page) {
            continue;
        }
        if (!byMusic) {
            page->setMenuDuration(seconds);
        } else if (const auto music = page->music(); music && music->vcmovie()) {
            page->setMenuDuration(music->musicDuration());
        } else {
            page->setMenuDuration(kDurationWithoutMusic);
        }
    }
}

QColor PlayModeRules::opaque(const QColor& color)
{
    QColor rgb = color.isValid() ? color.toRgb() : QColor(Qt::black);
    rgb.setAlphaF(1.0);
    return rgb;
}

QColor PlayModeRules::withAlpha(const QColor& color, double alpha)
{
    QColor rgb = opaque(color);
    rgb.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return rgb;
}
