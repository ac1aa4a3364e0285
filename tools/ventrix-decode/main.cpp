#include "DecodeCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Past a file-size limit (ulimit -f) a write then fails with EFBIG and
    // the usual message, instead of the signal killing us without one.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return DecodeCommand(out, err).run(QCoreApplication::arguments());
}
