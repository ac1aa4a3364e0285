#include "StoreOption.h"

#include "StoreFile.h"

StoreOption::StoreOption(QString path) : m_file(std::make_unique<StoreFile>(std::move(path))) {}

StoreOption::~StoreOption() = default;

SaveResult StoreOption::open(ObjectContext &context)
{
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
