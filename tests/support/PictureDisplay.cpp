#include "support/PictureDisplay.h"

#include <QHash>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Where Xvfb is on the search path, empty when it is not.
std::string findXvfb()
{
    const char *path = std::getenv("PATH");
    std::string rest = path ? path : "/usr/bin:/bin";
    std::size_t from = 0;
    while (from <= rest.size()) {
        const std::size_t to = rest.find(':', from);
        const std::string folder = rest.substr(from, to == std::string::npos ? std::string::npos : to - from);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/Xvfb";
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (to == std::string::npos)
            break;
        from = to + 1;
    }
    return std::string();
}

} // namespace

PictureDisplay::~PictureDisplay()
{
    if (m_xvfb > 0) {
        ::kill(m_xvfb, SIGTERM);
        int status = 0;
        ::waitpid(m_xvfb, &status, 0);
    }
}

bool PictureDisplay::start()
{
    const std::string xvfb = findXvfb();
    if (xvfb.empty()) {
        m_error = QStringLiteral("Xvfb is not installed (scripts/install-deps.sh installs it): the pictures need a display");
        return false;
    }
    int ends[2];
    if (::pipe(ends) != 0) {
        m_error = QStringLiteral("no pipe for Xvfb's display number");
        return false;
    }
    ::fcntl(ends[0], F_SETFD, FD_CLOEXEC);
    const std::string fd = std::to_string(ends[1]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(xvfb.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                "-ac", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(ends[1]);
    if (pid < 0) {
        ::close(ends[0]);
        m_error = QStringLiteral("Xvfb could not be started");
        return false;
    }
    m_xvfb = pid;
    // The display number, then a new line, once the server takes connections.
    std::string number;
    pollfd wait = {ends[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && ::poll(&wait, 1, 20000) > 0) {
        char buffer[16];
        const ssize_t got = ::read(ends[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        number.append(buffer, std::size_t(got));
    }
    ::close(ends[0]);
    if (number.find('\n') == std::string::npos) {
        m_error = QStringLiteral("Xvfb did not come up within 20 s");
        return false;
    }
    const std::string display = ":" + number.substr(0, number.find('\n'));
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    return true;
}

QString PictureDisplay::frameProblems(const QImage &image, bool popupOpen)
{
    if (image.size() != QSize(1010, 504))
        return QStringLiteral("the picture is %1x%2, not 1010x504").arg(image.width()).arg(image.height());
    // The header bar's colour, and the same under the grey veil of a pop-up.
    const QString header = colourMismatch(image, QPoint(500, 20), popupOpen ? QColor(38, 49, 63) : QColor(35, 58, 84));
    if (!header.isEmpty())
        return QStringLiteral("header bar: ") + header;
    const QString bar = blankness(image, QRect(0, 0, 1010, 42));
    if (!bar.isEmpty())
        return QStringLiteral("header bar: ") + bar;
    const QString page = blankness(image, QRect(0, 50, 1010, 454));
    if (!page.isEmpty())
        return QStringLiteral("page: ") + page;
    return QString();
}

QString PictureDisplay::blankness(const QImage &image, const QRect &area, int distinctColours)
{
    if (!image.rect().contains(area))
        return QStringLiteral("the area is outside the %1x%2 picture").arg(image.width()).arg(image.height());
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    int most = 0;
    for (int count : counts)
        most = qMax(most, count);
    const int pixels = area.width() * area.height();
    if (counts.size() < distinctColours || most > pixels * 99 / 100)
        return QStringLiteral("the area (%1,%2 %3x%4) is blank: %5 colours, the most common on %6 of %7 pixels")
            .arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())
            .arg(counts.size()).arg(most).arg(pixels);
    return QString();
}

QString PictureDisplay::colourMismatch(const QImage &image, const QPoint &point, const QColor &colour)
{
    if (!image.rect().contains(point))
        return QStringLiteral("(%1,%2) is outside the picture").arg(point.x()).arg(point.y());
    const QColor seen = image.pixelColor(point);
    const int off = qAbs(seen.red() - colour.red()) + qAbs(seen.green() - colour.green())
                    + qAbs(seen.blue() - colour.blue());
    if (off <= 12)
        return QString();
    return QStringLiteral("(%1,%2) is %3, not %4").arg(point.x()).arg(point.y()).arg(seen.name(), colour.name());
}

double PictureDisplay::share(const QImage &image, const QRect &area, const QColor &colour)
{
    const QRect inside = area & image.rect();
    if (inside.isEmpty())
        return 0;
    const QRgb wanted = colour.rgb();
    int hits = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            hits += (image.pixel(x, y) | 0xff000000u) == wanted;
    }
    return double(hits) / (inside.width() * inside.height());
}
