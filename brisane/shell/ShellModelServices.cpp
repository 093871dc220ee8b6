#include "shell/ShellModelServices.h"

#include "shell/AppDelegate.h"

std::shared_ptr<DVDResource> ShellModelServices::dvd() const
{
    AppDelegate* delegate = AppDelegate::current();
    return delegate ? delegate->dvd() : nullptr;
}

std::shared_ptr<DataResource> ShellModelServices::dateResource() const
{
    AppDelegate* delegate = AppDelegate::current();
    return delegate ? delegate->dateResource() : nullptr;
}

std::shared_ptr<DVDLibraryResource> ShellModelServices::dvdLibSource() const
{
    AppDelegate* delegate = AppDelegate::current();
    if (delegate) {
        if (auto library = delegate->dvdLibSource()) {
            return library;
        }
    }
    return ModelServices::dvdLibSource();
}
