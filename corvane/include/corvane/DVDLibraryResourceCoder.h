#pragma once
// Base of Corvane's template resources: the key-list archive scheme with one
// property, `name`. Its own key list is empty, so `name` is archived only
// where a subclass lists it.

#include <QString>

#include "platform/Object.h"

class DVDLibraryResourceCoder : public Object {
public:
    virtual QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QString m_name;
};
