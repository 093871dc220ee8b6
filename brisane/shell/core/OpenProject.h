#pragma once
// The project open in the main window: its disc settings (`dvd`), its media
// side (`dateResource`) and the template library its pages and elements take
// their defaults from (`dvdLibSource`, not saved). The application delegate
// owns one for the run and shares it with the main window controller, which
// answers it to every editor and dialog it makes; nothing else holds it.
//
// Each root is replaced as a whole; a reader gets the root as it was at the
// time of the call. Tests and tools may answer roots of their own by
// overriding the three readers. Any thread.

#include <QMutex>
#include <memory>

class DataResource;
class DVDLibraryResource;
class DVDResource;

class OpenProject {
public:
    virtual ~OpenProject();

    // Null when no project is open.
    virtual std::shared_ptr<DVDResource> dvd() const;
    void setDvd(const std::shared_ptr<DVDResource>& dvd);
    // Null when no project is open.
    virtual std::shared_ptr<DataResource> dateResource() const;
    void setDateResource(const std::shared_ptr<DataResource>& resource);
    // The library set, or Corvane's shared template store while none is.
    virtual std::shared_ptr<DVDLibraryResource> dvdLibSource() const;
    void setDvdLibSource(const std::shared_ptr<DVDLibraryResource>& library);

private:
    mutable QMutex m_lock;
    std::shared_ptr<DVDResource> m_dvd;
    std::shared_ptr<DataResource> m_dateResource;
    std::shared_ptr<DVDLibraryResource> m_dvdLibSource;
};
