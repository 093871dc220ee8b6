#pragma once
// The open project as the application's editors reach it: its two roots
// (disc settings and media side) and the template library. The shell
// installs its own services at start-up; until then (and in tools and tests
// that install none) the default answers no project roots and Corvane's
// shared template store.
//
// The project model itself never asks for these: a page, an element and the
// menu drawing are given their disc, library and style, and a data resource
// its slideshow movie factory. Every operation may be called from any thread.

#include <memory>

class DataResource;
class DVDResource;
class DVDLibraryResource;

class ModelServices {
public:
    virtual ~ModelServices();

    // The open project's disc settings; null when there is none.
    virtual std::shared_ptr<DVDResource> dvd() const;
    // The template library new pages and elements take their defaults from.
    virtual std::shared_ptr<DVDLibraryResource> dvdLibSource() const;
    // The open project's media side; null when there is none.
    virtual std::shared_ptr<DataResource> dateResource() const;

    // The installed services, or the default ones.
    static std::shared_ptr<ModelServices> current();
    // Installs services for the whole process; null restores the default.
    static void install(std::shared_ptr<ModelServices> services);
};
