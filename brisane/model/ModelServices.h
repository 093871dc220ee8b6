#pragma once
// What the project model asks of the application around it: the open
// project's two roots (disc settings and media side), the template library,
// the menu editor's canvas redisplay, the user folders, and the movie that
// plays a photo slideshow. The shell installs its own services at start-up;
// until then (and in tools and tests that install none) the default answers
// no project roots, Corvane's shared template store, ignores redisplay
// requests (as the model does before the main window has loaded its views),
// gives the user folders of FileManagerExtention and has no slideshow movie.
//
// Every operation may be called from any thread: pages render on the
// conversion thread and read the disc aspect through current(), and a project
// load decodes elements on its own thread, where decoding a picture choice
// asks for a redisplay. The shell's displayCanvasView therefore hands the
// request to the main thread.

#include <QString>
#include <memory>

#include "lumenta/IMovie.h"

class DataResource;
class DVDResource;
class DVDLibraryResource;
class RenderItem;

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

    // The open project's media side; null when there is none.
    virtual std::shared_ptr<DataResource> dateResource() const;
    // The folder of the user's settings
    // (FileManagerExtention::applicationSupportPath). Not created here.
    virtual QString applicationSupportPath() const;
    // The default folder of produced videos
    // (FileManagerExtention::defaultOutputVideoPath), created when it can be.
    virtual QString defaultOutputVideoPath() const;
    // A new movie that plays the slideshow (the media engine's slideshow
    // source); null for no slideshow.
    virtual IMovie::Ptr slideshowMovie(const std::shared_ptr<RenderItem>& slideshow) const;

    // FileManagerExtention::createDirectoryAtPathIfCan: creates the folder
    // with its parents when nothing exists at `path`. Answers whether a
    // folder is there afterwards.
    static bool createDirectoryAtPathIfCan(const QString& path);
    // The program's identifier in folder names ("org.brisane.Brisane").
    static QString bundleIdentifier();

    // The installed services, or the default ones.
    static std::shared_ptr<ModelServices> current();
    // Installs services for the whole process; null restores the default.
    static void install(std::shared_ptr<ModelServices> services);
};
