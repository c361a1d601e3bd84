#include "platform/AppendLossEpisodes.h"

#include <QMutexLocker>

AppendLossEpisodes::AppendLossEpisodes(Report report)
    : m_report(std::move(report))
{
}

QString AppendLossEpisodes::beginText(const QString &path, const QString &reason)
{
    return QStringLiteral("log append failed: %1 (%2)").arg(path, reason);
}

QString AppendLossEpisodes::endText(const QString &path, int lines)
{
    return QStringLiteral("log append resumed: %1 (%2 lines lost)").arg(path).arg(lines);
}

void AppendLossEpisodes::lost(const QString &path, const QString &reason, int lines)
{
    bool begins = false;
    {
        QMutexLocker locker(&m_mutex);
        auto it = m_lost.find(path);
        begins = it == m_lost.end();
        if (begins)
            m_lost.insert(path, lines);
        else
            *it += lines;
    }
    // Reported outside the lock: the report may itself append to a file watched here.
    if (begins && m_report)
        m_report(beginText(path, reason));
}

void AppendLossEpisodes::written(const QString &path)
{
    int lines = 0;
    {
        QMutexLocker locker(&m_mutex);
        if (m_lost.isEmpty())
            return;
        lines = m_lost.take(path);
    }
    if (lines > 0 && m_report)
        m_report(endText(path, lines));
}

int AppendLossEpisodes::losing(const QString &path) const
{
    QMutexLocker locker(&m_mutex);
    return m_lost.value(path);
}
