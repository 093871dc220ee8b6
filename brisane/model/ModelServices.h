#pragma once
// What the disc-side model asks of the application around it: the open
// project's disc settings, the template library, and the menu editor's
// canvas redisplay. The shell installs its own services at start-up; until
// then (and in tools and tests that install none) the default answers no
// disc settings, Corvane's shared template store, and ignores redisplay
// requests, as the model does before the main window has loaded its views.
//
// Every operation may be called from any thread: pages render on the
// conversion thread and read the disc aspect through current(), and a project
// load decodes elements on its own thread, where decoding a picture choice
// asks for a redisplay. The shell's displayCanvasView therefore hands the
// request to the main thread.

#include <memory>

class DVDResource;
class DVDLibraryResource;

class ModelServices {
public:
    virtual ~ModelServices();

    // The open project's disc settings; null when there is none, in which
    // case the disc defaults apply (16:9).
    virtual std::shared_ptr<DVDResource> dvd() const;
    // The template library new pages and elements take their defaults from.
    virtual std::shared_ptr<DVDLibraryResource> dvdLibSource() const;
    // Marks the menu editor's canvas for redisplay; nothing when there is no
    // menu editor.
    virtual void displayCanvasView();

    // The installed services, or the default ones.
    static std::shared_ptr<ModelServices> current();
    // Installs services for the whole process; null restores the default.
    static void install(std::shared_ptr<ModelServices> services);
};
