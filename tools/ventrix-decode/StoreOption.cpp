#include "StoreOption.h"

#include "ObjectContext.h"
#include "StoreFile.h"
#include "StoreLock.h"

#include <QTextStream>

StoreOption::StoreOption(QString path, QTextStream *err)
    : m_path(path), m_err(err), m_lock(std::make_shared<StoreLock>(path)),
      m_file(std::make_unique<StoreFile>(std::move(path)))
{
}

StoreOption::~StoreOption() = default;

SaveResult StoreOption::open(ObjectContext &context)
{
    const SaveResult locked = m_lock->acquire(StoreLock::kDefaultWaitMilliseconds, [this](const QString &holder) {
        if (m_err) {
            *m_err << "ventrix-decode: waiting up to " << StoreLock::kDefaultWaitMilliseconds / 1000
                   << " seconds for " << m_path << ", which " << holder << " is using\n";
            m_err->flush();
        }
    });
    if (!locked.ok)
        return locked;
    m_file->holdLock(m_lock);
    return m_file->openInto(context);
}

SaveResult StoreOption::saveAtEnd(ObjectContext &context) const
{
    // The layouts save after every transfer; a save that failed there left
    // the changes pending, and this save reports it.
    if (!context.hasChanges())
        return SaveResult::success();
    return context.save();
}
