// A program without widgets that uses the MIDI generator: builds a request's
// stream and reports a design-mode range error. Built and checked by the
// Layering test, which fails when it (or anything it loads) needs Qt
// Widgets. Exits 0 when all work.
#include "midigen/TMidiGen.h"
#include "platform/ErrorReport.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    auto expect = [&failures](bool ok, const char *what) {
        if (!ok) {
            std::fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };

    TMidiGen generator;
    expect(!generator.BufferForString(QStringLiteral("N60,150;N64,150;N60,150")).empty(), "stream built");

    QStringList errors;
    platform::setErrorReporter([&errors](const QString &message) { errors << message; });
    generator.setDesignMode(true);
    generator.setVolume(101);
    expect(errors == QStringList{QStringLiteral("Value must be between 0 and 100")},
           "range message reaches the error routine");
    expect(generator.Volume() == 100, "value clamped");
    platform::setErrorReporter({});
    return failures == 0 ? 0 : 1;
}
