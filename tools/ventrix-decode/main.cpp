#include "DecodeCommand.h"
#include "FileName.h"

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
    // The arguments as given: Qt would turn the bytes of a name that is not
    // UTF-8 into U+FFFD and so lose the file.
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments.append(FileName::decode(argv[index]));
    return DecodeCommand(out, err).run(arguments);
}
