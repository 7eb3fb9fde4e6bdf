// tickerrate WINDOW_ID [SECONDS [FRAME.png]]: measures how fast a ticker
// moves in a window on the X display: grabs the window every 50 ms for
// SECONDS (default 10), takes the rows that change (the ticker's strip), the
// value each of their pixels has in most frames (the background), and in
// each frame the leftmost column that differs from it (the text's left
// edge), and prints the slope of that edge over time in pixels per second.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <vector>

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tickerrate WINDOW_ID [SECONDS]\n");
        return 2;
    }
    const WId window = QString(argv[1]).toULongLong(nullptr, 0);
    const double seconds = argc > 2 ? QString(argv[2]).toDouble() : 10.0;
    QScreen *screen = QGuiApplication::primaryScreen();

    struct Frame { double t; QImage image; };
    std::vector<Frame> frames;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        QImage image = screen->grabWindow(window).toImage().convertToFormat(QImage::Format_RGB32);
        frames.push_back({clock.nsecsElapsed() / 1e9, image});
        QThread::msleep(50);
    }
    if (frames.size() < 3)
        return 1;
    if (argc > 3) {
        // A third argument: a file name to keep the middle frame in.
        frames[frames.size() / 2].image.save(QString::fromLocal8Bit(argv[3]));
    }
    const int w = frames[0].image.width(), h = frames[0].image.height();
    std::vector<bool> moving(h, false);
    for (size_t i = 1; i < frames.size(); ++i)
        for (int y = 0; y < h; ++y)
            if (!moving[y] && std::memcmp(frames[i].image.constScanLine(y), frames[0].image.constScanLine(y), w * 4))
                moving[y] = true;

    // The background of each pixel of the strip: the value it has in most
    // frames (the text covers a pixel only for a short while).
    std::vector<QRgb> background(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        if (!moving[y])
            continue;
        for (int x = 0; x < w; ++x) {
            std::map<QRgb, int> seen;
            for (const Frame &f : frames)
                ++seen[f.image.pixel(x, y)];
            background[size_t(y) * w + x] =
                std::max_element(seen.begin(), seen.end(), [](auto &a, auto &b) { return a.second < b.second; })->first;
        }
    }
    // The text's left edge in each frame: the leftmost column where the
    // strip differs from its background (-1: no text in view).
    std::vector<double> ts, xs;
    for (const Frame &f : frames) {
        int left = -1;
        for (int x = 0; x < w && left < 0; ++x)
            for (int y = 0; y < h; ++y)
                if (moving[y] && f.image.pixel(x, y) != background[size_t(y) * w + x]) {
                    left = x;
                    break;
                }
        ts.push_back(f.t);
        xs.push_back(left);
    }
    if (std::getenv("TICKERRATE_TRACE"))
        for (size_t i = 0; i < ts.size(); ++i)
            std::printf("%.3f %.0f\n", ts[i], xs[i]);
    // Least squares over runs of frames whose left edge lies inside the
    // strip (not cut by the strip's left end); a jump to the right (the
    // text starting over) starts a new run.
    double st = 0, sx = 0, stt = 0, stx = 0;
    int m = 0;
    double slopeSum = 0, weight = 0;
    auto flush = [&] {
        if (m >= 5) {
            const double slope = (m * stx - st * sx) / (m * stt - st * st);
            slopeSum += slope * m;
            weight += m;
        }
        st = sx = stt = stx = 0;
        m = 0;
    };
    for (size_t i = 0; i < ts.size(); ++i) {
        if (xs[i] < 20) {
            flush();
            continue;
        }
        if (m > 0 && xs[i] > xs[i - 1] + 1)
            flush();
        st += ts[i]; sx += xs[i]; stt += ts[i] * ts[i]; stx += ts[i] * xs[i];
        ++m;
    }
    flush();
    if (weight == 0) {
        std::fprintf(stderr, "tickerrate: the text was never in view (%zu frames)\n", frames.size());
        return 1;
    }
    std::printf("%.2f px/s over %zu frames (%.0f with the text in view)\n", -slopeSum / weight, frames.size(), weight);
    return 0;
}
