// vmbox: bulk administration of an application folder's voicemail boxes.
#include "Vmbox.h"

#include "platform/NativeName.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <new>

int main(int argc, char** argv)
{
    // A write past the process's file size limit then fails like a full disk
    // and is reported, instead of ending the program halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        QCoreApplication app(argc, argv);
        QFile out;
        QFile err;
        out.open(stdout, QIODevice::WriteOnly);
        err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
        // Taken as the bytes they are: a folder or file may be named in any encoding.
        QStringList arguments;
        for (int i = 1; i < argc; ++i)
            arguments << vm::platform::nameText(argv[i]);
        const int status = vm::vmbox::runVmbox(arguments, out, err);
        // Output that never arrived (a full disk behind a redirection) is no success.
        if (!out.flush() && status == 0) {
            err.write("vmbox: standard output cannot be written\n");
            return 1;
        }
        return status;
    } catch (const std::bad_alloc&) {
        // Outside a command (starting, or writing what it printed): nothing here allocates.
        std::fputs("vmbox: out of memory (error 7)\n", stderr);
        return 1;
    }
}
