#pragma once
// What the burn settings sheet reads of the burner: the DVD writers by
// name, the chosen one, and its medium. DVDBurnerState answers it from the
// main window's DVDBurn; tests script it.
#include <QString>
#include <QStringList>
#include <QtGlobal>

class IBurnerState {
public:
    virtual ~IBurnerState() = default;

    // The display names of the attached DVD writers, in order (an empty
    // name for a writer without one).
    virtual QStringList deviceNames() const = 0;
    // Chooses writer `index` of deviceNames(); ignored when out of range.
    virtual void setDevice(int index) = 0;
    // A writer is chosen.
    virtual bool hasDevice() const = 0;
    virtual bool mediaIsPresent() const = 0;
    virtual bool mediaIsBlank() const = 0;
    virtual bool mediaIsOverwritable() const = 0;
    // Bytes that can be written to the disc.
    virtual qint64 mediaWritableSpace() const = 0;
    // Sector counts of the medium, for the diagnostic lines.
    virtual quint32 mediaSpaceFree() const = 0;
    virtual quint32 mediaSpaceUsed() const = 0;
    virtual quint32 mediaSpaceOverwritable() const = 0;
};
