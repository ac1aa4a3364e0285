#include "DecodeCommand.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Past a file-size limit (ulimit -f) a write then fails with EFBIG and
    // the usual message, instead of the signal killing us without one.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    // File names are bytes: decoded the way QFile encodes them back, so a
    // name that is not valid UTF-8 still opens.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return DecodeCommand(out, err).run(arguments);
}
