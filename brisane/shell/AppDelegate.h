#pragma once
// The application delegate: one per run, the composition root of the shell.
// It starts the application, owns the open project (its two roots and the
// menu template library, shared with the main window controller, which hands
// it to the editors it makes) and the main window controller, and saves the
// user settings when the application ends. Only ControllerFunction reaches it
// through current().
//
// Launch runs in two steps on the main thread: applicationWillFinishLaunching
// before the event loop (log, roots, services, main window), then
// applicationDidFinishLaunching from the event loop's first turn (temporary
// root, photo folder, menus, the window shown). launch() does both, the
// second from a zero-time timer, then hands a project named on the command
// line to applicationOpenFile.
//
// The roots are replaced as a whole and may be read from any thread.

#include <QMutex>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <thread>

#include "model/ProjectSourceCheck.h"
#include "shell/HelpDocuments.h"
#include "shell/ProjectPanels.h"

class DataResource;
class DVDLibraryResource;
class DVDPageData;
class DVDResource;
class MainWindowController;
class OpenProject;
class SectionDataResource;

class AppDelegate : public QObject {
    Q_OBJECT
public:
    // The new delegate becomes current() until it is destroyed.
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The running delegate; null before one exists. Any thread.
    static AppDelegate* current();

    // --- Roots (any thread) ---
    // The main window controller; null before it is made.
    MainWindowController* mainController() const;
    // Takes ownership (null releases the current one).
    void setMainController(std::unique_ptr<MainWindowController> controller);
    std::shared_ptr<DataResource> dateResource() const;
    void setDateResource(const std::shared_ptr<DataResource>& resource);
    std::shared_ptr<DVDLibraryResource> dvdLibSource() const;
    void setDvdLibSource(const std::shared_ptr<DVDLibraryResource>& library);
    std::shared_ptr<DVDResource> dvd() const;
    // The disc redisplays the menu editor's canvas while it is the open one.
    void setDvd(const std::shared_ptr<DVDResource>& dvd);
    // The three roots as the main window controller shares them.
    const std::shared_ptr<OpenProject>& openProject() const { return m_project; }

    // --- Project flags ---
    bool isExistedProject() const { return m_isExistedProject; }
    void setIsExistedProject(bool existed) { m_isExistedProject = existed; }
    QString existedProjectPath() const;
    void setExistedProjectPath(const QString& path);
    bool closeWindowAfterSave() const { return m_closeWindowAfterSave; }
    void setCloseWindowAfterSave(bool value) { m_closeWindowAfterSave = value; }
    bool openNewAfterSave() const { return m_openNewAfterSave; }
    void setOpenNewAfterSave(bool value) { m_openNewAfterSave = value; }
    bool openExistAfterSave() const { return m_openExistAfterSave; }
    void setOpenExistAfterSave(bool value) { m_openExistAfterSave = value; }

    // --- Forwarders to the media-side root; nothing without one ---
    void addSectionDataResourceToArray(const std::shared_ptr<SectionDataResource>& source);
    void removeSectionDataResourceFromArray(const std::shared_ptr<SectionDataResource>& source);
    void addDvdPageToArray(const std::shared_ptr<DVDPageData>& page);
    void removeDvdPageFromArray(const std::shared_ptr<DVDPageData>& page);

    // --- Launch and quit (main thread) ---
    // Whether launch sends the process's output into the log file (on by
    // default; tests keep their own streams).
    void setLogsToFile(bool logs) { m_logsToFile = logs; }
    // Step 1, then step 2 from a zero-time timer, then the project path (when
    // not empty) to applicationOpenFile.
    void launch(const QString& projectPath = QString());
    // Step 1: the log, an empty media side, the template library, empty disc
    // settings, the project model's services, the main window (centred).
    void applicationWillFinishLaunching();
    // Step 2: the temporary root emptied (under its lock), a new photo folder
    // "temp-photo/XXXXXXXX.dir" handed to the photo store, the menus set up,
    // the main window shown.
    void applicationDidFinishLaunching();
    // Whether step 2 has run.
    bool hasFinishedLaunching() const { return m_finishedLaunching; }
    // Saves the user settings and lets go of the temporary root.
    void applicationWillTerminate();
    // Quits by closing the main window, which asks about unsaved changes
    // first; without a main window, quits at once.
    void terminate();
    // The main window has closed: applicationWillTerminate, then the event
    // loop ends (quitApplication).
    void mainWindowDidClose();

    // Opens a project folder handed over on the command line. Answers YES.
    virtual bool applicationOpenFile(const QString& path);
    void openMainWindowController();
    // Removes whatever is at the path, then makes a folder there.
    static void makeNewDirAtPath(const QString& path);

    // --- Menus ---
    void setupApp();
    // The standard about box.
    void orderFrontStandardAboutPanel();
    // support: opens the support page in the web browser.
    void support();
    void openSupportLink();
    bool isOptionKeyDown() const;
    bool isDeveloper() const { return isOptionKeyDown(); }
    static int getANewRandNumber();

    // --- Project documents ---
    // The save-changes question as a sheet on the main window: "Save" runs
    // `save`, "Don't Save" `dontSave`, anything else `cancel`.
    void alertSavePanelWithAction(std::function<void()> save, std::function<void()> dontSave,
                                  std::function<void()> cancel);
    // Marks the window to close once the save has finished, then saves.
    virtual void saveProjectAndCloseWindow();
    virtual void openNewProjectAction();
    virtual void openExistProjectAction();
    virtual void saveProjectAction();
    void saveProjectAndOpenNew();
    void saveProjectAndOpenExist();

    // The project panels (ProjectPanels). The open panel may answer a
    // project folder or the "project.data" inside one.
    using ProjectPanel = ProjectPanels::Panel;
    using ProjectChooser = ProjectPanels::Chooser;
    // Replaces the file dialogs (tests script them); null restores them.
    static void setProjectChooser(ProjectChooser chooser);
    // The project extension, shared by both panels.
    static QString documentExtension();

    // A new project: the window reset, empty roots, one empty page added
    // through the list editor, the edited mark cleared, "Untitled".
    void openNewProject();
    // The window back to list editing, the editors emptied, the roots gone.
    void resetWindowWhenOpenNewProject();
    // The open panel, then a load on a background thread; the window is
    // disabled behind a busy sheet until the loaded project is installed.
    void openExistProject();
    // The whole save of the open project into `path` on a background
    // thread, behind the save sheet; doSomethingAfterSave ends it.
    void saveAndLoadDocumentAtPath(const QString& path);
    // Loads the project folder `path` on the calling thread and installs
    // it. A folder that is not a complete project is refused with an alert
    // and the open project stays as it was. Answers whether it was loaded.
    // Both loads name the project's missing or unreadable files in one
    // sheet once the project is installed (ProjectSourceCheck).
    bool loadDocumentAtPath(const QString& path);
    // Points every saved object of the open project at its copy in `path`.
    void loadFileSourceWithProject(const QString& path);
    // Refreshes the main window after a load (main thread).
    void reloadProject();
    // Ends a save (main thread): the sheet closes; on success the edited
    // mark is cleared and a pending close, New or Open runs; on failure an
    // alert names the destination and the reason, and nothing pending runs.
    void doSomethingAfterSave();
    // The main window's title, queued to the main thread / set at once.
    void changeMainWindowName(const QString& name);
    void changeProjectName(const QString& name);
    // Whether a save or a panel load is running.
    bool isBusy() const { return m_busy; }

    // --- Help: the two manuals ("Brisane Help" and "Orvella Help" in the
    // Help menu), copied into the user's own help folder once ---
    void help();
    void help2();
    // The user's own folder of the copies (in the user's cache).
    static QString helpDocumentFolder();
    // Copies `fileName` from the program's resources into
    // helpDocumentFolder() unless a copy at least as new is there, then
    // opens the copy. Answers the copy's path; empty, with an alert, when
    // the document is missing or cannot be copied.
    QString openHelpDocument(const QString& fileName);
    // Opens a document with the default application (tests record it).
    using DocumentOpener = HelpDocuments::DocumentOpener;
    static void setDocumentOpener(DocumentOpener opener);

protected:
    // Ends the event loop.
    virtual void quitApplication();

private:
    void installModelServices();
    // The menu editor's displayCanvasView, run on the main thread (at once
    // when asked there); the disc asks from any thread.
    void displayMenuCanvas();
    void displayMenuCanvasOnMainThread();
    // Installs loaded roots; sources that are missing are marked on their
    // clips and named in one sheet.
    void installProject(const ProjectRoots& roots, const QString& path,
                        const QList<MissingSource>& missing);
    void alertMissingSources(const QString& path, const QList<MissingSource>& missing);
    void alertProjectFailure(const QString& message, const QString& reason);
    void clearAfterSaveFlags();
    // The save question; its answer runs `afterSave` ("Save") or
    // `withoutSaving` ("Don't Save") after the sheet has ended.
    void askToSaveThen(void (AppDelegate::*afterSave)(), void (AppDelegate::*withoutSaving)());
    void runInBackground(std::function<void()> work);
    void setMainWindowBusy(bool busy);

    mutable QMutex m_lock;
    std::unique_ptr<MainWindowController> mainController_;
    const std::shared_ptr<OpenProject> m_project;
    QString m_existedProjectPath;
    bool m_isExistedProject = false;
    bool m_closeWindowAfterSave = false;
    bool m_openNewAfterSave = false;
    bool m_openExistAfterSave = false;
    bool m_logsToFile = true;
    bool m_finishedLaunching = false;
    bool m_terminated = false;
    bool m_busy = false;
    bool m_saveSucceeded = false;
    QString m_saveError;
    QString m_saveDestination;
    std::thread m_worker;
};
