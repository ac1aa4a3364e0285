#include "VentrixApplication.h"

#include <QApplication>
#include <QIcon>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ventrix"));
    QApplication::setApplicationName(QStringLiteral("Ventrix"));
    QApplication::setApplicationVersion(QStringLiteral(VENTRIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VENTRIX_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VENTRIX_APP_ID)));

    VentrixApplication ventrix;
    ventrix.show();
    // Recordings named on the command line are decoded as if dropped on the list.
    ventrix.openFiles(app.arguments().mid(1));
    return app.exec();
}
