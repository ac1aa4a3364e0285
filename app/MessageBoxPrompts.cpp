#include "MessageBoxPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

void MessageBoxPrompts::showError(const QString &message)
{
    QMessageBox::critical(m_window, QApplication::applicationDisplayName(), message);
}

bool MessageBoxPrompts::presentError(const QString &message)
{
    showError(message);
    return false;
}

bool MessageBoxPrompts::askQuitAnyway(const QString &message, const QString &quitButton, const QString &cancelButton)
{
    QMessageBox alert(m_window);
    alert.setIcon(QMessageBox::Warning);
    alert.setText(message);
    QPushButton *quit = alert.addButton(quitButton, QMessageBox::AcceptRole);
    alert.addButton(cancelButton, QMessageBox::RejectRole);
    alert.setDefaultButton(quit);
    alert.exec();
    return alert.clickedButton() == quit;
}
