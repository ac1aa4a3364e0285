#include "Translations.h"
#include "VentrixApplication.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

// --help and --version are answered before the window system is reached, so
// they work without a display. Qt's own options (-platform ...) pass through.
std::optional<int> answerInformationOptions(int argc, char *argv[])
{
    QCoreApplication info(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Records, decodes and shows the training sessions of F6, RS200 and CS200 heart-rate watches."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Prints the version."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("RECORDING"),
                                 QStringLiteral("Recordings to decode, as if dropped on the session list."),
                                 QStringLiteral("[RECORDING...]"));
    parser.parse(info.arguments());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::puts("ventrix " VENTRIX_VERSION);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = answerInformationOptions(argc, argv))
        return *status;
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ventrix"));
    QApplication::setApplicationName(QStringLiteral("Ventrix"));
    QApplication::setApplicationVersion(QStringLiteral(VENTRIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(VENTRIX_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VENTRIX_APP_ID)));
    // Before any window exists: the forms read their texts when they are built.
    const Translations translations{QLocale()};

    VentrixApplication ventrix;
    ventrix.show();
    // Recordings named on the command line are decoded as if dropped on the list.
    ventrix.openFiles(app.arguments().mid(1));
    return app.exec();
}
