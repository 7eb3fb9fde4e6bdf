// A program without widgets that uses the MIDI generator: builds a request's
// stream and reports a design-mode range error. Built and checked by the
// Layering test, which fails when it (or anything it loads) needs Qt
// Widgets. Exits 0 when all work.
#include "midigen/TMidiGen.h"
#include "platform/ErrorReport.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

static int fail(const char *what)
{
    std::fprintf(stderr, "failed: %s\n", what);
    return 1;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    TMidiGen generator;
    if (generator.BufferForString(QStringLiteral("N60,150;N64,150;N60,150")).empty())
        return fail("stream built");

    QStringList errors;
    platform::setErrorReporter([&errors](const QString &message) { errors << message; });
    generator.setDesignMode(true);
    generator.setVolume(101);
    if (errors != QStringList{QStringLiteral("Value must be between 0 and 100")})
        return fail("range message reaches the error routine");
    if (generator.Volume() != 100)
        return fail("value clamped");
    return 0;
}
