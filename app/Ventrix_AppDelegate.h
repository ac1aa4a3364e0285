#pragma once

#include "ManagedObjectModel.h"
#include "ObjectContext.h"
#include "PersistentStoreCoordinator.h"
#include "StoreMaintenance.h"
#include "UserPrompts.h"

#include <QString>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <optional>

// Owns the session database for the whole run: finds the application folder,
// opens "Ventrix.xml" there on first use, hands out the one object context,
// runs the start-up conversion and weekly backup, and saves on request and on
// quitting. Decisions only: every alert goes through UserPrompts. Lives in the
// GUI thread.
class Ventrix_AppDelegate
{
public:
    enum class TerminateReply { TerminateNow, TerminateCancel };
    using Clock = StoreMaintenance::Clock;

    explicit Ventrix_AppDelegate(UserPrompts &prompts, Clock now = &QDateTime::currentDateTime,
                                 std::shared_ptr<const AtomicFile> files = {});
    // Releases the context, then the coordinator, then the model.
    ~Ventrix_AppDelegate();

    Ventrix_AppDelegate(const Ventrix_AppDelegate &) = delete;
    Ventrix_AppDelegate &operator=(const Ventrix_AppDelegate &) = delete;

    // DataFolder::path(); not created here.
    QString applicationSupportFolder() const;
    const ManagedObjectModel &managedObjectModel();
    // Opens the store on the first call; a database that cannot be read is
    // shown as an error and the coordinator comes back without a store.
    PersistentStoreCoordinator *persistentStoreCoordinator();
    ObjectContext *managedObjectContext();
    // The context's undo stack, for the Edit menu.
    QUndoStack *undoStack();

    // Saves; a failure is shown as an error alert.
    void saveAction();
    // Whether the application may quit: saves pending changes, or asks the
    // user when that fails. The main window asks it before it closes.
    TerminateReply applicationShouldTerminate();
    // Colour bindings, then the version conversion and the weekly backup.
    // The application calls it once, right after the main window is shown.
    void applicationDidFinishLaunching();

    // The views bind the colour settings here once they exist; called first
    // by applicationDidFinishLaunching().
    void setColorBinder(std::function<void()> bindColors) { m_bindColors = std::move(bindColors); }

    static QString quitAnywayMessage();
    static QString quitAnywayButton();
    static QString cancelButton();

private:
    UserPrompts &m_prompts;
    Clock m_now;
    std::shared_ptr<const AtomicFile> m_files;
    std::function<void()> m_bindColors;
    // Declared in creation order, so they are released context first.
    std::optional<ManagedObjectModel> m_managedObjectModel;
    std::unique_ptr<PersistentStoreCoordinator> m_persistentStoreCoordinator;
    std::unique_ptr<ObjectContext> m_managedObjectContext;
};
