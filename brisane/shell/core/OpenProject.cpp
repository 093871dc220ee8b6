#include "shell/core/OpenProject.h"

#include <QMutexLocker>

#include "corvane/DVDLibraryResource.h"

OpenProject::~OpenProject() = default;

std::shared_ptr<DVDResource> OpenProject::dvd() const
{
    QMutexLocker lock(&m_lock);
    return m_dvd;
}

void OpenProject::setDvd(const std::shared_ptr<DVDResource>& dvd)
{
    QMutexLocker lock(&m_lock);
    m_dvd = dvd;
}

std::shared_ptr<DataResource> OpenProject::dateResource() const
{
    QMutexLocker lock(&m_lock);
    return m_dateResource;
}

void OpenProject::setDateResource(const std::shared_ptr<DataResource>& resource)
{
    QMutexLocker lock(&m_lock);
    m_dateResource = resource;
}

std::shared_ptr<DVDLibraryResource> OpenProject::dvdLibSource() const
{
    {
        QMutexLocker lock(&m_lock);
        if (m_dvdLibSource) {
            return m_dvdLibSource;
        }
    }
    return DVDLibraryResource::share();
}

void OpenProject::setDvdLibSource(const std::shared_ptr<DVDLibraryResource>& library)
{
    QMutexLocker lock(&m_lock);
    m_dvdLibSource = library;
}
