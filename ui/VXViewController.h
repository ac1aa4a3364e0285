#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

// A minimal controller of a view kept in a layout of its own (a uic-compiled
// form). The view is loaded the first time it is asked for. GUI thread.
class VXViewController
{
public:
    // Builds the view of the named layout with this controller as owner.
    using Loader = std::function<QWidget *(VXViewController &owner)>;

    VXViewController(const QString &nibName, Loader loader);
    virtual ~VXViewController();

    VXViewController(const VXViewController &) = delete;
    VXViewController &operator=(const VXViewController &) = delete;

    // Loads the view on the first call; null when the loader made none.
    QWidget *view();
    bool isViewLoaded() const { return !m_view.isNull(); }

    QString nibName() const { return m_nibName; }
    void setNibName(const QString &nibName) { m_nibName = nibName; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

protected:
    virtual void loadView();

private:
    QString m_nibName;
    QString m_title;
    Loader m_loader;
    // A view that was given a parent is deleted by it; otherwise by us.
    QPointer<QWidget> m_view;
};
