#include "VXViewController.h"

VXViewController::VXViewController(const QString &nibName, Loader loader)
    : m_nibName(nibName), m_loader(std::move(loader))
{
}

VXViewController::~VXViewController()
{
    if (m_view && !m_view->parent())
        delete m_view;
}

QWidget *VXViewController::view()
{
    if (!m_view)
        loadView();
    return m_view;
}

void VXViewController::loadView()
{
    if (m_loader)
        m_view = m_loader(*this);
}
