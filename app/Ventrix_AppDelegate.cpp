#include "Ventrix_AppDelegate.h"

#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

Ventrix_AppDelegate::Ventrix_AppDelegate(UserPrompts &prompts, Clock now, std::shared_ptr<const AtomicFile> files)
    : m_prompts(prompts), m_now(std::move(now)), m_files(files ? std::move(files) : std::make_shared<AtomicFile>())
{
}

Ventrix_AppDelegate::~Ventrix_AppDelegate()
{
    m_managedObjectContext.reset();
    m_persistentStoreCoordinator.reset();
    m_managedObjectModel.reset();
}

QString Ventrix_AppDelegate::applicationSupportFolder() const
{
    return DataFolder::path();
}

const ManagedObjectModel &Ventrix_AppDelegate::managedObjectModel()
{
    if (!m_managedObjectModel)
        m_managedObjectModel = ManagedObjectModel::sessionModel();
    return *m_managedObjectModel;
}

PersistentStoreCoordinator *Ventrix_AppDelegate::persistentStoreCoordinator()
{
    if (m_persistentStoreCoordinator)
        return m_persistentStoreCoordinator.get();
    const QString folder = applicationSupportFolder();
    // A failure to create the folder shows up as the store's own error below.
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    m_persistentStoreCoordinator = std::make_unique<PersistentStoreCoordinator>(managedObjectModel(), m_files);
    const SaveResult added = m_persistentStoreCoordinator->addStore(folder + u'/' + StoreMaintenance::kDatabaseFileName);
    if (!added.ok)
        m_prompts.showError(added.errorMessage);
    return m_persistentStoreCoordinator.get();
}

ObjectContext *Ventrix_AppDelegate::managedObjectContext()
{
    if (m_managedObjectContext)
        return m_managedObjectContext.get();
    PersistentStoreCoordinator *coordinator = persistentStoreCoordinator();
    m_managedObjectContext = std::make_unique<ObjectContext>();
    coordinator->attachContext(*m_managedObjectContext);
    return m_managedObjectContext.get();
}

QUndoStack *Ventrix_AppDelegate::undoStack()
{
    return managedObjectContext()->undoStack();
}

void Ventrix_AppDelegate::saveAction()
{
    const SaveResult saved = managedObjectContext()->save();
    if (!saved.ok)
        m_prompts.showError(saved.errorMessage);
}

Ventrix_AppDelegate::TerminateReply Ventrix_AppDelegate::applicationShouldTerminate()
{
    if (!m_managedObjectContext)
        return TerminateReply::TerminateNow;
    if (!m_managedObjectContext->hasChanges())
        return TerminateReply::TerminateNow;
    const SaveResult saved = m_managedObjectContext->save();
    if (saved.ok)
        return TerminateReply::TerminateNow;
    if (m_prompts.presentError(saved.errorMessage))
        return TerminateReply::TerminateCancel;
    return m_prompts.askQuitAnyway(quitAnywayMessage(), quitAnywayButton(), cancelButton())
        ? TerminateReply::TerminateNow
        : TerminateReply::TerminateCancel;
}

void Ventrix_AppDelegate::applicationDidFinishLaunching()
{
    if (m_bindColors)
        m_bindColors();
    PersistentStoreCoordinator *coordinator = persistentStoreCoordinator();
    StoreMaintenance maintenance(applicationSupportFolder(), *managedObjectContext(), m_now, m_files);
    maintenance.runAtStart(coordinator->storeCount() == 1);
}

QString Ventrix_AppDelegate::quitAnywayMessage()
{
    return QCoreApplication::translate("Ventrix_AppDelegate", "Could not save changes while quitting. Quit anyway?");
}

QString Ventrix_AppDelegate::quitAnywayButton()
{
    return QCoreApplication::translate("Ventrix_AppDelegate", "Quit anyway");
}

QString Ventrix_AppDelegate::cancelButton()
{
    return QCoreApplication::translate("Ventrix_AppDelegate", "Cancel");
}
