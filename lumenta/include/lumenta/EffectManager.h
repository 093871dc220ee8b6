#pragma once
// The named colour effects a movie can apply (its effectName).

#include <QString>
#include <QStringList>
#include <QtGlobal>

class Q_DECL_EXPORT EffectManager {
public:
    // The effect names offered to the user, in display order.
    static QStringList allFilterNames();
    // The libavfilter chain of an effect; empty for an unknown name.
    static QString filterChainForName(const QString& name);
};
